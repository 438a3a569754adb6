#pragma once

#include <QString>

#include <vector>

// The "计算" handlers of the nine calculation screens, each with a worked case.
namespace calculations {

struct Case
{
    QString code;
    QString title;
    double limitMs;
};

const std::vector<Case> &cases();

// Registers two Google Benchmark families per screen: "calc/CODE" times
// Command1_Click alone, "calc+events/CODE" also the relayout and repaint it causes.
void registerBenchmarks(int repetitions);
// Closes the screens of the handler benchmarks; before QApplication ends.
void tearDown();

} // namespace calculations
