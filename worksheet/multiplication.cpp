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
bool MeetsCarrying(const TWorksheetSettings& settings, const TCandidateDigits& d, const TSheetProblem&)
{
    const int32_t c = Wrap(int64_t{d.A[0]} * d.B[0]);
    return !OnesTestRejects(settings.Kuriagari, c, d.B[0]) && !TensTestRejects(settings.Kuriagari, c, d.A[1], d.B[0]);
}

}  // namespace

const TOperationRules& MultiplicationRules()
{
    static const TOperationRules rules = {
        TOperation::Multiplication,
        "multiplication",
        "かけ算",
        "×",
        false,
        "３年生初期専用繰り上がり",
        {"指定なし", "一、十位なし", "一位あり十位なし", "一位なし十位あり", "十位の和であり(1桁+1桁)",
         "十位の和であり(1桁+2桁)"},
        Product,
        MeetsCarrying,
    };
    return rules;
}
