#include "worksheet/division.h"

#include <algorithm>
#include <string>

namespace {

enum TDivisionPattern : int32_t { dpAny, dpFirstPlace, dpNotFirstPlace, dpZeroInQuotient, dpNoCorrection, dpCorrection };
enum TRemainderChoice : int32_t { rcAny, rcNone, rcSome };

TSheetProblem Quotient(int32_t first, int32_t second)
{
    if (second <= 0) return {first, second, 0, 0};
    return {first, second, first / second, first % second};
}

// The divisor as its nearest ten, halves up: 25 → 30, 94 → 90, 96 → 100.
int64_t NearestTen(int32_t divisor)
{
    return (int64_t{divisor} + 5) / 10 * 10;
}

bool EstimateCorrected(const std::vector<TDivisionStep>& steps)
{
    return std::any_of(steps.begin(), steps.end(),
                       [](const TDivisionStep& s) { return s.Digit >= 1 && s.Estimate != s.Digit; });
}

bool MeetsPattern(int32_t pattern, const TSheetProblem& p)
{
    const std::string dividend = std::to_string(p.First), divisor = std::to_string(p.Second);
    switch (pattern) {
    case dpFirstPlace:
    case dpNotFirstPlace: {
        const bool first = std::stoi(dividend.substr(0, divisor.size())) >= p.Second;
        return pattern == dpFirstPlace ? first : !first;
    }
    case dpZeroInQuotient: return std::to_string(p.Answer).find('0') != std::string::npos;
    case dpNoCorrection: return !EstimateCorrected(DivisionSteps(p.First, p.Second));
    case dpCorrection: return p.Second >= 10 && EstimateCorrected(DivisionSteps(p.First, p.Second));
    default: return true;
    }
}

bool MeetsDivision(const TWorksheetSettings& settings, const TCandidateDigits&, const TSheetProblem& p)
{
    if (p.Second <= 0 || p.Answer == 0) return false;
    if (settings.Amari == rcNone && p.Remainder != 0) return false;
    if (settings.Amari == rcSome && p.Remainder == 0) return false;
    return MeetsPattern(settings.Kuriagari, p);
}

}  // namespace

std::vector<TDivisionStep> DivisionSteps(int32_t dividend, int32_t divisor)
{
    std::vector<TDivisionStep> steps;
    // A divisor beyond any problem of ours has none: its partial dividends
    // would not fit.
    if (divisor <= 0 || divisor > 99999 || dividend < divisor) return steps;
    const std::string digits = std::to_string(dividend);
    int32_t partial = 0;
    for (size_t column = 0; column < digits.size(); ++column) {
        partial = partial * 10 + (digits[column] - '0');
        if (steps.empty() && partial < divisor) continue;  // the quotient has not started yet
        const int32_t digit = partial / divisor;
        const int32_t estimate = divisor < 10 ? digit : static_cast<int32_t>(std::min<int64_t>(9, partial / NearestTen(divisor)));
        steps.push_back({column, partial, digit, estimate});
        partial -= digit * divisor;
    }
    return steps;
}

const std::vector<std::string>& RemainderLabels()
{
    static const std::vector<std::string> labels = {"指定なし", "なし", "あり"};
    return labels;
}

const TOperationRules& DivisionRules()
{
    static const TOperationRules rules = {
        TOperation::Division,
        "division",
        "わり算",
        "÷",
        "わられる数",
        "わる数",
        true,
        2,
        "わり算の型",
        {"指定なし", "はじめの位から商が立つ", "はじめの位に商が立たない", "商に0が立つ", "仮商の修正なし",
         "仮商の修正あり"},
        Quotient,
        MeetsDivision,
        "D",
        {"条件なし。どんな問題も出ます。", "わられる数のはじめの位（わる数が２けたなら上の２けた）から商が立ちます。",
          "はじめの位には商が立たず、次の位から商が立ちます。", "商のとちゅうか終わりに０が立ちます。",
          "見当をつけた商（仮商）を直さずに計算できます。",
          "見当をつけた商（仮商）が大きすぎたり小さすぎたりして、直す計算があります（わる数が２けた）。"},
        {"96÷4＝24", "84÷4＝21", "156÷3＝52（1÷3はできないので、百の位には商が立たない）", "624÷3＝208、62÷3＝20 あまり 2", "84÷21＝4",
          "413÷59＝7（59を60とみると 413÷60 の見当は6、ほんとうは7）"},
    };
    return rules;
}
