#include "worksheet/generator.h"

#include <string>

#include "worksheet/problems.h"
#include "worksheet/random.h"
#include "worksheet/sheet_generator.h"

void PickDigits(std::string_view multiplicandLow, std::string_view multiplicandHigh, std::string_view multiplierLow,
                std::string_view multiplierHigh, int32_t& multiplicandDigit, int32_t& multiplierDigit)
{
    TRandom random{RandomState};
    DrawPlace(MakePlaceRange(multiplicandLow, multiplicandHigh, multiplierLow, multiplierHigh), random,
              multiplicandDigit, multiplierDigit);
    RandomState = random.State;
}

void GenerateProblems(const TWorksheetSettings& settings, int32_t N, int32_t low, int32_t high,
                      const std::function<void()>& shortfallAlert)
{
    TRandom random{RandomState};
    const std::vector<TSheetProblem> found = DrawProblems(settings, N, low, high, random);
    RandomState = random.State;
    const int32_t count = static_cast<int32_t>(found.size());
    for (int32_t k = 1; k <= count; ++k) {
        ProblemTable[k].Multiplicand = found[static_cast<size_t>(k - 1)].First;
        ProblemTable[k].Multiplier = found[static_cast<size_t>(k - 1)].Second;
    }
    if (count < N) {
        QuestionCount = count;
        if (shortfallAlert) shortfallAlert();
    }
    for (int32_t k = 1; k <= count; ++k) {
        TProblem& p = ProblemTable[k];
        p.MultiplicandText = std::to_string(p.Multiplicand);
        p.MultiplierText = std::to_string(p.Multiplier);
    }
}
