#include "worksheet/multiplication.h"

#include "worksheet/wrap.h"

namespace {

// The ones test, with c = a1 × b1: the multiplier's ones digit alone.
bool OnesTestRejects(int32_t mode, int32_t c, int32_t b1)
{
    switch (mode) {
    case kmNoCarry:
    case kmTensCarry:
        return c >= 10 || b1 == 1;
    case kmOnesCarry:
    case kmTensSum1:
    case kmTensSum2:
        return c < 10;
    default:
        return false;
    }
}

// The tens test: k is the carry of the ones place, t = a2 × b1.
bool TensTestRejects(int32_t mode, int32_t c, int32_t a2, int32_t b1)
{
    const int32_t k = c / 10;
    const int32_t t = Wrap(int64_t{a2} * b1);
    const int32_t s = Wrap(int64_t{t % 10} + k);
    switch (mode) {
    case kmNoCarry:
    case kmOnesCarry:
        return t >= 10 || s >= 10;
    case kmTensCarry:
        return t < 10 && s < 10;
    case kmTensSum1:
        return t >= 10 || s < 10;
    case kmTensSum2:
        return t < 10 || s < 10;
    default:
        return false;
    }
}

TSheetProblem Product(int32_t first, int32_t second)
{
    return {first, second, Wrap(int64_t{first} * second), 0};
}

// Only a1, a2 and b1 take part: the multiplier's other digits and the
// multiplicand's hundreds and thousands are never tested.
bool MeetsCarrying(const TWorksheetSettings& settings, const TCandidateDigits& d, const TSheetProblem& problem)
{
    const int32_t c = Wrap(int64_t{d.A[0]} * d.B[0]);
    if (OnesTestRejects(settings.Kuriagari, c, d.B[0]) || TensTestRejects(settings.Kuriagari, c, d.A[1], d.B[0])) return false;
    return !settings.PartialSumCarry || PartialProductsCarry(problem.First, problem.Second);
}

}  // namespace

bool PartialProductsCarry(int32_t multiplicand, int32_t multiplier)
{
    if (multiplicand < 0 || multiplier < 10) return false;
    // The partial products' digits column by column, ones first.
    int64_t columns[12] = {};
    int place = 0;
    for (int32_t rest = multiplier; rest > 0 && place < 4; rest /= 10, ++place) {
        int64_t partial = int64_t{multiplicand} * (rest % 10);
        for (int column = place; partial > 0 && column < 12; partial /= 10, ++column) columns[column] += partial % 10;
    }
    int64_t carry = 0;
    for (const int64_t sum : columns) {
        carry = (sum + carry) / 10;
        if (carry > 0) return true;
    }
    return false;
}

const TOperationRules& MultiplicationRules()
{
    static const TOperationRules rules = {
        TOperation::Multiplication,
        "multiplication",
        "かけ算",
        "×",
        "かけられる数",
        "かける数",
        false,
        4,
        "３年生初期専用繰り上がり",
        {"指定なし", "一、十位なし", "一位あり十位なし", "一位なし十位あり", "十位の和であり(1桁+1桁)",
         "十位の和であり(1桁+2桁)"},
        Product,
        MeetsCarrying,
        "M",
        {"条件なし。どんな問題も出ます。", "一の位でも十の位でもくり上がりません。",
          "一の位でくり上がり、十の位ではくり上がりません。", "一の位ではくり上がらず、十の位のかけ算でくり上がります。",
          "十の位の積（１けた）に、一の位からのくり上がりをたすと、くり上がります。",
          "十の位の積（２けた）の一の位に、くり上がりをたすと、またくり上がります。"},
        {"47×6＝282", "23×3＝69", "16×3＝48（6×3＝18、1×3＋1＝4）", "42×3＝126（2×3＝6、4×3＝12）",
          "38×3＝114（8×3＝24、3×3＝9、9＋2＝11）", "78×9＝702（8×9＝72、7×9＝63、3＋7＝10）"},
        true,
    };
    return rules;
}
