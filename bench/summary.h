#pragma once

#include <benchmark/benchmark.h>

#include <QString>

#include <map>
#include <optional>

// Collects the medians of every benchmark instead of printing Google
// Benchmark's own report, so that the bench ends with one table.
class Summary : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context &context) override;
    void ReportRuns(const std::vector<Run> &runs) override;

    // The median of a family in milliseconds, or of its counter.
    std::optional<double> milliseconds(const QString &family) const;
    std::optional<double> counter(const QString &family, const char *name) const;
    // Why a family has no median.
    QString error(const QString &family) const;

private:
    std::map<QString, double> m_milliseconds;
    std::map<QString, benchmark::UserCounters> m_counters;
    std::map<QString, QString> m_errors;
};

// Prints the table of all figures against their limits; false when one is missed.
bool printTable(const Summary &summary);
