#pragma once

#include <benchmark/benchmark.h>

#include <QString>

#include <map>
#include <optional>
#include <set>

// Collects the medians of every benchmark instead of printing Google
// Benchmark's own report, so that the bench ends with one table.
class Summary : public benchmark::BenchmarkReporter
{
public:
    bool ReportContext(const Context &context) override;
    void ReportRuns(const std::vector<Run> &runs) override;

    // The median of a family in milliseconds, or of its counter.
    std::optional<double> milliseconds(const QString &family) const;
    std::optional<double> counter(const QString &family, const char *name) const;
    // Why a family has no median.
    QString error(const QString &family) const;
    // False for a family left out by --benchmark_filter.
    bool ran(const QString &family) const { return m_ran.contains(family); }

private:
    std::map<QString, double> m_milliseconds;
    std::map<QString, benchmark::UserCounters> m_counters;
    std::map<QString, QString> m_errors;
    std::set<QString> m_ran;
};

// Prints the table of all figures against their limits; false when one is missed.
// With scaled, only the rows of the run at two device pixels to a point (QT_SCALE_FACTOR=2).
bool printTable(const Summary &summary, bool scaled = false);
