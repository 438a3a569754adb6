#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The worked case of the low-pressure section screen as steps: steel, 10 Nm3/h, viscosity 1.5E-5, 288 K,
// density 0.72. Its table as the screen shows it, row by row: diameter, Reynolds number, flow state, unit drop.
extern const QStringList kLowPressureCase;
extern const QList<QStringList> kLowPressureTable;
// The worked case of the medium/high-pressure section screen as steps: steel, P1 400 kPa, L 2 km, density 0.72,
// viscosity 1.5E-5, 288 K, 1000 Nm3/h. Its table row by row: diameter, difference of squares, end pressure.
extern const QStringList kHighPressureCase;
extern const QList<QStringList> kHighPressureTable;
