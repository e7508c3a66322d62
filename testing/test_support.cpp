#include "test_support.h"

#include "worksheet/problems.h"
#include "worksheet/random.h"
#include "worksheet/settings.h"

uint32_t AdvanceState(uint32_t state, uint64_t draws)
{
    for (uint64_t i = 0; i < draws; ++i) state = state * 134775813u + 1u;
    return state;
}

void ResetWorksheetGlobals()
{
    ProblemTable.Clear();
    QuestionCount = 0;
    PrintNumber = 0;
    ShowAnswers = 0;
    PreviewReady = 0;
    RandomState = 0;
}

bool MeetsMode(int32_t mode, int32_t m, int32_t r)
{
    const int32_t a1 = m % 10, a2 = m / 10 % 10, b1 = r % 10;
    const int32_t c = a1 * b1, k = c / 10, t = a2 * b1;
    switch (mode) {
    case kmNoCarry: return c <= 9 && b1 != 1 && t <= 9;
    case kmOnesCarry: return c >= 10 && t + k <= 9;
    case kmTensCarry: return c <= 9 && b1 != 1 && t >= 10;
    case kmTensSum1: return c >= 10 && t <= 9 && t + k >= 10;
    case kmTensSum2: return c >= 10 && t >= 10 && t % 10 + k >= 10;
    default: return true;
    }
}
