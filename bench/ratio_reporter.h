// A console reporter that also prints, after the run, each case's time
// beside its floor: benchmarks named "<case>" and "<case>/floor".
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::map<std::string, double> nanoseconds_;  // per iteration, by name
    std::vector<std::string> order_;
};

// Runs the registered benchmarks with TRatioReporter; for a bench main().
int RunWithRatios(int argc, char** argv);
