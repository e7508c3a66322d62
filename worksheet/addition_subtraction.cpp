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
        4,
        "くり上がり",
        {"指定なし", "くり上がりなし", "一の位だけくり上がる", "十の位だけくり上がる", "くり上がりが2回以上",
         "くり上がった1でまたくり上がる"},
        Sum,
        MeetsCarrying,
        "A",
        {"条件なし。どんな問題も出ます。", "どの位でもくり上がりません。", "一の位からだけくり上がります。",
          "十の位からだけくり上がります（答えが百をこえます）。", "２つ以上の位でくり上がります。",
          "くり上がった１をたすと、その位がまたくり上がります（その位の２つの数字の和が９）。"},
        {"38＋45＝83", "23＋45＝68", "38＋45＝83（8＋5＝13）", "72＋53＝125（7＋5＝12）", "67＋58＝125",
          "45＋58＝103（5＋8＝13、4＋5＋1＝10）"},
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
        4,
        "くり下がり",
        {"指定なし", "くり下がりなし", "一の位だけくり下がる", "十の位だけくり下がる", "くり下がりが2回以上",
         "0のある位からくり下がる"},
        Difference,
        MeetsBorrowing,
        "S",
        {"条件なし。どんな問題も出ます。", "どの位でもくり下がりません。", "一の位だけが十の位からくり下げます。",
          "十の位だけが百の位からくり下げます。", "２つ以上の位でくり下げます。",
          "くり下げる位が０なので、その上の位からくり下げます。"},
        {"84−27＝57", "87−25＝62", "82−47＝35", "436−172＝264", "432−158＝274",
          "302−158＝144（十の位の０をこえて百の位からくり下げる）"},
    };
    return rules;
}
