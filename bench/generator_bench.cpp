// GenerateProblems beside its floor: a bare loop making the same number of
// RandomInt draws as the run does.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "ratio_reporter.h"
#include "worksheet/generator.h"
#include "worksheet/problems.h"
#include "worksheet/random.h"

namespace {

constexpr uint32_t kSeed = 20261207u;

struct TCase {
    const char* name;
    TWorksheetSettings settings;
    int32_t n, low, high;
};

TWorksheetSettings Wide()
{
    TWorksheetSettings s;
    s.u1h = s.u2h = s.u3h = "9";
    s.d1l = "2";
    s.d1h = s.d2h = "9";
    return s;
}

TWorksheetSettings RareTensSum2()
{
    TWorksheetSettings s;
    s.u1h = s.u2h = "9";
    s.d1h = "9";
    s.Kuriagari = kmTensSum2;
    return s;
}

void RunCase(const TCase& c)
{
    RandomState = kSeed;
    QuestionCount = c.n;
    GenerateProblems(c.settings, c.n, c.low, c.high, [] {});
}

// How many draws one run makes: step the recurrence from the seed to where
// the run left the state.
int64_t DrawsOf(const TCase& c)
{
    RunCase(c);
    const uint32_t end = RandomState;
    uint32_t state = kSeed;
    int64_t draws = 0;
    while (state != end) {
        state = state * 134775813u + 1u;
        ++draws;
    }
    return draws;
}

void BM_Generate(benchmark::State& state, TCase c)
{
    for (auto _ : state) {
        RunCase(c);
        benchmark::DoNotOptimize(ProblemTable[1].Multiplicand);
    }
    state.counters["problems"] = QuestionCount;
}

void BM_Floor(benchmark::State& state, int64_t draws)
{
    for (auto _ : state) {
        RandomState = kSeed;
        int32_t sum = 0;
        for (int64_t i = 0; i < draws; ++i) sum += RandomInt(10);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["draws"] = static_cast<double>(draws);
}

void RegisterCases()
{
    const TCase cases[] = {
        {"defaults_1_then_1001_failed", TWorksheetSettings{}, 12, 0, 0},
        {"wide_16_found_quickly", Wide(), 16, 1, 99999999},
        {"tens_sum2_rare_candidates", RareTensSum2(), 16, 500, 700},
    };
    for (const TCase& c : cases) {
        const int64_t draws = DrawsOf(c);
        benchmark::RegisterBenchmark((std::string("GenerateProblems/") + c.name).c_str(), BM_Generate, c);
        benchmark::RegisterBenchmark((std::string("GenerateProblems/") + c.name + "/floor").c_str(), BM_Floor,
                                     draws);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    RegisterCases();
    return RunWithRatios(argc, argv);
}
