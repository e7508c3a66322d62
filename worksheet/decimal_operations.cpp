#include "worksheet/decimal_operations.h"

#include <algorithm>
#include <limits>

#include "worksheet/decimal.h"
#include "worksheet/multiplication.h"

namespace {

constexpr int64_t kLargestAnswer = std::numeric_limits<int32_t>::max();

// A result that is no problem of ours (too large, or no quotient): its
// answer is below 0, which IsProblemOf refuses.
TSheetProblem NoProblem(const TOperands& o)
{
    TSheetProblem p{o.First, o.Second, -1, 0};
    p.FirstPlaces = o.FirstPlaces, p.SecondPlaces = o.SecondPlaces;
    return p;
}

TSheetProblem WithAnswer(const TOperands& o, int64_t answer, int32_t places)
{
    if (answer > kLargestAnswer || answer < -kLargestAnswer) return NoProblem(o);
    TSheetProblem p{o.First, o.Second, static_cast<int32_t>(answer), 0};
    p.FirstPlaces = o.FirstPlaces, p.SecondPlaces = o.SecondPlaces;
    p.AnswerPlaces = p.WorkedPlaces = places;
    return p;
}

// The two numbers with their points in one column: both at the places of
// the one with more.
struct TAligned {
    int64_t A, B;
    int32_t Places;
};
TAligned Aligned(const TSheetProblem& p)
{
    const int32_t places = std::max(p.FirstPlaces, p.SecondPlaces);
    return {AtPlaces(p.First, p.FirstPlaces, places), AtPlaces(p.Second, p.SecondPlaces, places), places};
}

TSheetProblem Sum(const TOperands& o)
{
    const int32_t places = std::max(o.FirstPlaces, o.SecondPlaces);
    return WithAnswer(o, AtPlaces(o.First, o.FirstPlaces, places) + AtPlaces(o.Second, o.SecondPlaces, places), places);
}

TSheetProblem Difference(const TOperands& o)
{
    const int32_t places = std::max(o.FirstPlaces, o.SecondPlaces);
    return WithAnswer(o, AtPlaces(o.First, o.FirstPlaces, places) - AtPlaces(o.Second, o.SecondPlaces, places), places);
}

TSheetProblem Product(const TOperands& o)
{
    return WithAnswer(o, int64_t{o.First} * o.Second, o.FirstPlaces + o.SecondPlaces);
}

// Column by column from the last place: how many columns carry (a sum) or
// borrow (a difference).
int32_t ColumnSteps(int64_t a, int64_t b, bool borrowing)
{
    int32_t steps = 0, carry = 0;
    for (; a > 0 || b > 0; a /= 10, b /= 10) {
        const int64_t x = a % 10, y = b % 10;
        carry = borrowing ? (x - carry < y ? 1 : 0) : (x + y + carry >= 10 ? 1 : 0);
        steps += carry;
    }
    return steps;
}

// The pattern items of the addition and the subtraction: 0 any, 1 none,
// 2 one, 3 two or more, 4 the numbers have different places, 5 the
// answer's last places are zeros to strike.
bool MeetsColumnPattern(int32_t pattern, const TSheetProblem& p, bool borrowing)
{
    if (p.Answer <= 0) return false;
    const TAligned aligned = Aligned(p);
    const int32_t steps = ColumnSteps(aligned.A, aligned.B, borrowing);
    switch (pattern) {
    case 1: return steps == 0;
    case 2: return steps == 1;
    case 3: return steps >= 2;
    case 4: return p.FirstPlaces != p.SecondPlaces;
    case 5: return StruckZeros(p.Answer, p.AnswerPlaces) > 0;
    default: return true;
    }
}

bool MeetsSum(const TWorksheetSettings& s, const TCandidateDigits&, const TSheetProblem& p)
{
    return MeetsColumnPattern(s.Kuriagari, p, false);
}

bool MeetsDifference(const TWorksheetSettings& s, const TCandidateDigits&, const TSheetProblem& p)
{
    return MeetsColumnPattern(s.Kuriagari, p, true);
}

// The carries of a multiplication's working: those of each partial product
// and those of adding them.
int32_t MultiplicationCarries(int64_t multiplicand, int64_t multiplier)
{
    int32_t carries = 0;
    for (int64_t rest = multiplier; rest > 0; rest /= 10) {
        int64_t carry = 0;
        for (int64_t a = multiplicand; a > 0; a /= 10) {
            carry = ((a % 10) * (rest % 10) + carry) / 10;
            if (carry > 0) ++carries;
        }
    }
    if (multiplier >= 10 && multiplicand <= std::numeric_limits<int32_t>::max() && multiplier <= 9999 &&
        PartialProductsCarry(static_cast<int32_t>(multiplicand), static_cast<int32_t>(multiplier)))
        ++carries;
    return carries;
}

// 0 any, 1 no carry, 2 a carry, 3 two carries or more, 4 zeros to strike at
// the product's end, 5 a product under 1 (0. written before it).
bool MeetsProduct(const TWorksheetSettings& s, const TCandidateDigits&, const TSheetProblem& p)
{
    if (p.Answer <= 0 || p.First == 0 || p.Second == 0) return false;
    const int32_t carries = MultiplicationCarries(p.First, p.Second);
    switch (s.Kuriagari) {
    case 1: return carries == 0;
    case 2: return carries >= 1;
    case 3: return carries >= 2;
    case 4: return StruckZeros(p.Answer, p.AnswerPlaces) > 0;
    case 5: return p.Answer < PowerOfTen(p.AnswerPlaces);
    default: return true;
    }
}

bool MeetsQuotient(const TWorksheetSettings& s, const TCandidateDigits&, const TSheetProblem& p)
{
    if (p.Second <= 0 || p.Answer <= 0) return false;
    switch (s.Kuriagari) {
    case qcToTheEnd: {
        // The remainder choice says whether the working divides at the
        // dividend's own last place (なし) or goes on with zeros (あり, わり進み).
        const bool goesOn = p.WorkedPlaces > std::max(p.FirstPlaces - p.SecondPlaces, 0);
        if (p.Remainder != 0) return false;
        return s.Amari == 1 ? !goesOn : s.Amari == 2 ? goesOn : true;
    }
    case qcOnesWithRemainder:
    case qcTenthsWithRemainder:
    case qcHundredthsWithRemainder:
        return s.Amari == 1 ? p.Remainder == 0 : s.Amari == 2 ? p.Remainder != 0 : true;
    default: return true;
    }
}

// The quotient worked to `places` of the moved dividend (a whole number of
// `dividendPlaces`) by the whole divisor: the digits, and what is left in
// units of the smaller of the two places.
struct TWorked {
    int64_t Quotient, Left;
    int32_t LeftPlaces;
};
TWorked WorkTo(int64_t dividend, int32_t dividendPlaces, int64_t divisor, int32_t places)
{
    if (places >= dividendPlaces) {
        const int64_t n = dividend * PowerOfTen(places - dividendPlaces);
        return {n / divisor, n % divisor, places};
    }
    const int64_t d = divisor * PowerOfTen(dividendPlaces - places);
    return {dividend / d, dividend % d, dividendPlaces};
}

// The furthest a quotient is worked: its digits stay within what the sheet's
// numbers hold.
constexpr int32_t kFurthestPlaces = 5;

}  // namespace

TSheetProblem DecimalQuotient(const TOperands& o)
{
    if (o.Second <= 0 || o.First < 0) return NoProblem(o);
    // Both points moved right by the divisor's places: the divisor becomes
    // whole, the dividend keeps what places it has left (zeros appended where
    // it had fewer).
    const int32_t moved = std::max(o.FirstPlaces - o.SecondPlaces, 0);
    const int64_t dividend = AtPlaces(o.First, o.FirstPlaces, o.SecondPlaces);
    const int64_t divisor = o.Second;
    auto finish = [&](const TWorked& w, int32_t places, int64_t answer, int32_t answerPlaces, bool rounded) {
        TSheetProblem p = WithAnswer(o, answer, answerPlaces);
        if (p.Answer < 0) return p;
        p.WorkedPlaces = places;
        p.Rounded = rounded;
        if (!rounded) {
            // What is left, its point where the dividend's point stood.
            if (w.Left > kLargestAnswer) return NoProblem(o);
            p.Remainder = static_cast<int32_t>(w.Left);
            p.RemainderPlaces = w.LeftPlaces + o.SecondPlaces;
        }
        return p;
    };
    switch (o.Choice) {
    case qcOnesWithRemainder:
    case qcTenthsWithRemainder:
    case qcHundredthsWithRemainder: {
        const int32_t places = o.Choice - qcOnesWithRemainder;
        const TWorked w = WorkTo(dividend, moved, divisor, places);
        return finish(w, places, w.Quotient, places, false);
    }
    case qcRoundToTenths: {
        const TWorked w = WorkTo(dividend, moved, divisor, 2);
        return finish(w, 2, (w.Quotient + 5) / 10, 1, true);
    }
    case qcRoundToTwoFigures: {
        // Worked until the quotient has three figures (or to its ones, where
        // it has them already), then rounded at the second.
        int32_t places = 0;
        TWorked w = WorkTo(dividend, moved, divisor, 0);
        while (w.Quotient < 100 && places < kFurthestPlaces) w = WorkTo(dividend, moved, divisor, ++places);
        if (w.Quotient == 0) return NoProblem(o);
        if (places == 0) {
            int64_t unit = 1;
            while (w.Quotient / unit >= 100) unit *= 10;
            const int64_t rounded = (w.Quotient + unit / 2) / unit * unit;
            return finish(w, 0, rounded, 0, true);
        }
        int64_t rounded = (w.Quotient + 5) / 10;
        int32_t answerPlaces = places - 1;
        // 0.0996 becomes 0.10: two figures still.
        if (rounded >= 100 && answerPlaces > 0) rounded /= 10, --answerPlaces;
        return finish(w, places, rounded, answerPlaces, true);
    }
    default: {
        // On until nothing is left (わり進み), from the dividend's own places.
        for (int32_t places = moved; places <= std::max(moved, kMostDecimalPlaces); ++places) {
            const TWorked w = WorkTo(dividend, moved, divisor, places);
            if (w.Left == 0 || places == std::max(moved, kMostDecimalPlaces)) return finish(w, places, w.Quotient, places, false);
        }
        return NoProblem(o);
    }
    }
}

namespace {

const std::vector<std::string> kMeaningsOfChoices = {
    "わり切れるまで計算します。あまり「あり」では、わられる数に0をつけたしてわり進む問題、「なし」では、わられる数の終わりの位でわり切れる問題です。",
    "商は一の位まで求めて、あまりを出します。あまりの小数点は、わられる数のもとの小数点にそろえます。",
    "商は1/10の位まで求めて、あまりを出します。",
    "商は1/100の位まで求めて、あまりを出します。",
    "1/100の位まで計算して四捨五入し、商を1/10の位までの概数で表します（約）。",
    "上から3けためまで計算して四捨五入し、商を上から2けたの概数で表します（約）。",
};

}  // namespace

const TOperationRules& DecimalAdditionRules()
{
    static const TOperationRules rules = [] {
        TOperationRules r{TOperation::DecimalAddition, "decimal-addition", "小数のたし算", "＋", "たされる数", "たす数",
                          false, 4, "くり上がり",
                          {"指定なし", "くり上がりなし", "くり上がり1回", "くり上がりが2回以上", "小数点以下のけた数がちがう",
                           "答えの終わりの0を消す"},
                          nullptr, MeetsSum, "T"};
        r.PatternMeanings = {"条件なし。どんな問題も出ます。", "どの位でもくり上がりません。", "１つの位だけでくり上がります。",
                             "２つ以上の位でくり上がります。", "２つの数の小数点以下のけた数がちがいます（あいている位があります）。",
                             "答えの小数の終わりが0になり、0を消します。"};
        r.PatternExamples = {"2.3＋1.45＝3.75", "2.3＋1.4＝3.7", "2.8＋1.4＝4.2", "4.76＋2.58＝7.34", "3.2＋1.45＝4.65",
                             "2.35＋1.65＝4.00（4）"};
        r.SolveWithPlaces = Sum;
        return r;
    }();
    return rules;
}

const TOperationRules& DecimalSubtractionRules()
{
    static const TOperationRules rules = [] {
        TOperationRules r{TOperation::DecimalSubtraction, "decimal-subtraction", "小数のひき算", "−", "ひかれる数", "ひく数",
                          false, 4, "くり下がり",
                          {"指定なし", "くり下がりなし", "くり下がり1回", "くり下がりが2回以上", "小数点以下のけた数がちがう",
                           "答えの終わりの0を消す"},
                          nullptr, MeetsDifference, "H"};
        r.PatternMeanings = {"条件なし。どんな問題も出ます。", "どの位でもくり下がりません。", "１つの位だけでくり下がります。",
                             "２つ以上の位でくり下がります。",
                             "２つの数の小数点以下のけた数がちがいます（あいている位に0を書いて計算します）。",
                             "答えの小数の終わりが0になり、0を消します。"};
        r.PatternExamples = {"5.2−1.83＝3.37", "4.8−1.5＝3.3", "5.2−1.8＝3.4", "5.23−1.87＝3.36", "3−1.25＝1.75",
                             "4.35−1.25＝3.10（3.1）"};
        r.SolveWithPlaces = Difference;
        return r;
    }();
    return rules;
}

const TOperationRules& DecimalMultiplicationRules()
{
    static const TOperationRules rules = [] {
        TOperationRules r{TOperation::DecimalMultiplication, "decimal-multiplication", "小数のかけ算", "×", "かけられる数",
                          "かける数", false, 2, "くり上がり",
                          {"指定なし", "くり上がりなし", "くり上がりあり", "くり上がりが2回以上", "積の終わりの0を消す",
                           "積の小数点の前に0をつける"},
                          nullptr, MeetsProduct, "K"};
        r.PatternMeanings = {"条件なし。どんな問題も出ます。", "かけ算でもたし算でもくり上がりません。", "くり上がりがあります。",
                             "２回以上くり上がります。", "積の小数の終わりが0になり、0を消します。",
                             "積が1より小さく、小数点の前に0を書きます。"};
        r.PatternExamples = {"2.4×3.6＝8.64", "1.2×3＝3.6", "2.6×3＝7.8", "4.7×2.8＝13.16", "1.5×2.4＝3.60（3.6）",
                             "0.2×0.4＝0.08"};
        r.SolveWithPlaces = Product;
        return r;
    }();
    return rules;
}

const TOperationRules& DecimalDivisionRules()
{
    static const TOperationRules rules = [] {
        TOperationRules r{TOperation::DecimalDivision, "decimal-division", "小数のわり算", "÷", "わられる数", "わる数",
                          true, 2, "商の求め方",
                          {"わり切れるまで", "商は一の位まで・あまり", "商は1/10の位まで・あまり", "商は1/100の位まで・あまり",
                           "1/10の位までの概数", "上から2けたの概数"},
                          nullptr, MeetsQuotient, "W"};
        r.PatternMeanings = kMeaningsOfChoices;
        r.PatternExamples = {"3÷4＝0.75", "7.4÷0.3＝24あまり0.2", "7.4÷3＝2.4あまり0.2", "5÷3＝1.66あまり0.02",
                             "5÷3＝約1.7", "2.5÷0.7＝約3.6"};
        r.SolveWithPlaces = DecimalQuotient;
        return r;
    }();
    return rules;
}
