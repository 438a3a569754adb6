#pragma once

#include "calculation.h"
#include "number_text.h"

#include <QStringList>

// The description of each calculation, one per screen; calc::all() lists them.
namespace calc {

Calculation lowPressureSection(); // xd
Calculation highPressureSection(); // gyxd
Calculation laminarCheck(); // fxgj
Calculation nonUniformityFlow(); // ll
Calculation simultaneityFlow(); // lll
Calculation allowableDrop(); // yl
Calculation additionalHead(); // yt
Calculation indoorLocalLoss(); // jb
Calculation wallThickness(); // bh

// An outcome that stops at a message; what it already holds (a table) stays.
Outcome refused(const QString &message, Outcome outcome = {});
// An outcome of one result.
Outcome shown(const QString &key, const QString &text);
// The number that the field with that key reads.
double number(const Calculation &c, const Input &in, const char *key);

// The pipe materials of both section screens, Option1 to Option3 in the frame.
Choice pipeMaterials(const QString &frame);

// Constants as the formula reference and the report show them, read from the
// values the formulas compute with: "π = 3.14159", "T0 = 273 K".
QString piText();
QString t0Text();
// "钢管：K = 0.1，b = 192.2，C = 6.9×10^6", for the low- or the medium/high-pressure law.
QStringList materialTexts(bool highPressure);
// "管径系列(mm)：15 20 …": a caption and the diameters of a series.
template<typename Series>
QString seriesText(const QString &caption, const Series &series)
{
    QStringList sizes;
    for (const auto d : series)
        sizes << formatNumber(double(d));
    return caption + sizes.join(u' ');
}

// "Label21..Label39": the labels of a table column, the first and the last.
QString labelRange(int first, int count);

} // namespace calc
