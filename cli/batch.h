#pragma once

#include "gas_settings.h"

#include <QByteArray>
#include <QStringList>

#include <functional>

// velmora-batch: runs calculations from CSV tables, without a window.
struct BatchRun
{
    int status = 0; // 0 success, 2 bad usage or input
    QByteArray output; // standard output; empty when status is not 0
    QByteArray error; // one line on standard error when status is not 0
};

// Runs the command with its arguments (without the program name); standard
// input is read through readInput, only when the command reads from it.
BatchRun runBatch(const QStringList &arguments, const std::function<QByteArray()> &readInput);

// An option of a route's or a network's settings (--pressure, --material or one of the
// list's): false when the option is none of these; a refused value sets error.
bool settingOption(gas::Settings &settings, const QList<gas::Setting> &list, const QString &option,
                   const QString &value, QString *error);

// Reads the next argument of a command from position i on: a path (option empty), an
// option with its value ("--x v" or "--x=v"), or one of the switches, which take none.
// False at the end, or with error set when an option has no value.
bool nextArgument(const QStringList &arguments, qsizetype &i, QString &option, QString &value, QString *error,
                  const QStringList &switches = {});
