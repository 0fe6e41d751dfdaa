#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// Prints the usual console report and keeps the fastest real time of each benchmark (in the
// benchmark's own time unit), so that a summary can set figures of one run against each other.
// With `cpuTime` it keeps the CPU time instead, which other processes on a busy machine disturb
// less.
class FastestTimeReporter : public benchmark::ConsoleReporter {
public:
    explicit FastestTimeReporter(bool cpuTime = false) : m_cpuTime(cpuTime) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) {
                continue;
            }
            const double time = m_cpuTime ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
            auto [it, added] = m_times.emplace(run.run_name.function_name, time);
            if (!added) {
                it->second = std::min(it->second, time);
            }
        }
    }
    // The fastest time of the benchmark named `name`; 0 when it did not run.
    double Time(const std::string& name) const {
        const auto it = m_times.find(name);
        return it == m_times.end() ? 0.0 : it->second;
    }

private:
    bool m_cpuTime;
    std::map<std::string, double> m_times;
};
