#include "test_support.h"

#include "worksheet/problems.h"
#include "worksheet/random.h"

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
