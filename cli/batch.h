#pragma once

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
