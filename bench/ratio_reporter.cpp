#include "ratio_reporter.h"

#include <cstdio>

void TRatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
        const std::string name = run.benchmark_name();
        if (!nanoseconds_.count(name)) order_.push_back(name);
        nanoseconds_[name] = run.GetAdjustedRealTime() *
                             (run.time_unit == benchmark::kMicrosecond   ? 1e3
                              : run.time_unit == benchmark::kMillisecond ? 1e6
                              : run.time_unit == benchmark::kSecond      ? 1e9
                                                                         : 1.0);
    }
}

void TRatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    std::printf("\n%-44s %14s %14s %8s\n", "case", "time (us)", "floor (us)", "ratio");
    for (const std::string& name : order_) {
        const std::string floor = name + "/floor";
        if (name.size() >= 6 && name.compare(name.size() - 6, 6, "/floor") == 0) continue;
        const auto f = nanoseconds_.find(floor);
        if (f == nanoseconds_.end()) continue;
        const double t = nanoseconds_[name];
        std::printf("%-44s %14.3f %14.3f %8.2f\n", name.c_str(), t / 1e3, f->second / 1e3, t / f->second);
    }
}

int RunWithRatios(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
