#include "worksheet/addition_subtraction.h"

#include <numeric>

#include "worksheet/column_steps.h"
#include "worksheet/wrap.h"

namespace {

// The patterns of both operations, by index: 0 any, 1 none, 2 the ones
// place alone, 3 the tens place alone, 4 two places or more; 5 is the
// operation's own.
bool MeetsCommonPattern(int32_t pattern, const TPlaceDigits& steps)
{
    const int32_t count = std::accumulate(steps.begin(), steps.end(), 0);
    switch (pattern) {
    case 1: return count == 0;
    case 2: return count == 1 && steps[0] == 1;
    case 3: return count == 1 && steps[1] == 1;
    case 4: return count >= 2;
    default: return true;
    }
}

TSheetProblem Sum(int32_t first, int32_t second)
{
    return {first, second, Wrap(int64_t{first} + second), 0};
}

TSheetProblem Difference(int32_t first, int32_t second)
{
    return {first, second, Wrap(int64_t{first} - second), 0};
}

bool MeetsCarrying(const TWorksheetSettings& settings, const TCandidateDigits& d, const TSheetProblem&)
{
    const TPlaceDigits carry = CarriesOf(d.A, d.B);
    if (settings.Kuriagari != 5) return MeetsCommonPattern(settings.Kuriagari, carry);
    // A carry made by a carry: the place's own digits make 9.
    for (size_t i = 1; i < carry.size(); ++i)
        if (carry[i - 1] == 1 && d.A[i] + d.B[i] == 9) return true;
    return false;
}

bool MeetsBorrowing(const TWorksheetSettings& settings, const TCandidateDigits& d, const TSheetProblem& problem)
{
    if (problem.First < problem.Second) return false;
    const TPlaceDigits borrow = BorrowsOf(d.A, d.B);
    if (settings.Kuriagari != 5) return MeetsCommonPattern(settings.Kuriagari, borrow);
    // A borrow across a 0: the place that must lend holds 0.
    for (size_t i = 1; i < borrow.size(); ++i)
        if (borrow[i - 1] == 1 && d.A[i] == 0) return true;
    return false;
}

}  // namespace

const TOperationRules& AdditionRules()
{
    static const TOperationRules rules = {
        TOperation::Addition,
        "addition",
        "たし算",
        "＋",
        "たされる数",
        "たす数",
        false,
        "くり上がり",
        {"指定なし", "くり上がりなし", "一の位だけくり上がる", "十の位だけくり上がる", "くり上がりが2回以上",
         "くり上がった1でまたくり上がる"},
        Sum,
        MeetsCarrying,
    };
    return rules;
}

const TOperationRules& SubtractionRules()
{
    static const TOperationRules rules = {
        TOperation::Subtraction,
        "subtraction",
        "ひき算",
        "−",
        "ひかれる数",
        "ひく数",
        false,
        "くり下がり",
        {"指定なし", "くり下がりなし", "一の位だけくり下がる", "十の位だけくり下がる", "くり下がりが2回以上",
         "0のある位からくり下がる"},
        Difference,
        MeetsBorrowing,
    };
    return rules;
}
