#include "worksheet/wrong_decimals.h"

#include <algorithm>
#include <limits>

#include "worksheet/decimal.h"
#include "worksheet/decimal_operations.h"

namespace {

std::optional<TWrittenAnswer> Written(int64_t answer, int32_t places)
{
    if (answer < 0 || answer > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return TWrittenAnswer{answer, 0, places};
}

// The product's point under the factors' points, lined up as in an addition.
std::optional<TWrittenAnswer> PointAsInAddition(const TSheetProblem& p)
{
    return Written(int64_t{p.First} * p.Second, std::max(p.FirstPlaces, p.SecondPlaces));
}

// The product's point counted from the longer factor alone.
std::optional<TWrittenAnswer> PointOfLongerFactor(const TSheetProblem& p)
{
    const bool firstLonger = DecimalDigits(p.First, p.FirstPlaces).size() >= DecimalDigits(p.Second, p.SecondPlaces).size();
    return Written(int64_t{p.First} * p.Second, firstLonger ? p.FirstPlaces : p.SecondPlaces);
}

// The remainder's point taken from the moved point: 7.4 ÷ 0.3 → 24あまり0.02.
std::optional<TWrittenAnswer> RemainderPointMoved(const TSheetProblem& p)
{
    return TWrittenAnswer{p.Answer, p.Remainder, p.AnswerPlaces, p.RemainderPlaces + (p.Rounded ? 0 : p.SecondPlaces)};
}

// A quotient under 1 written without its 0 in the ones place and its point.
std::optional<TWrittenAnswer> QuotientZeroLeftOut(const TSheetProblem& p)
{
    const bool underOne = p.Answer < PowerOfTen(p.AnswerPlaces);
    return TWrittenAnswer{p.Answer, p.Remainder, underOne ? 0 : p.AnswerPlaces, p.RemainderPlaces};
}

// The digits lined up at the right, the point put after the longer's places.
std::optional<TWrittenAnswer> SumAtTheRight(const TSheetProblem& p)
{
    return Written(int64_t{p.First} + p.Second, std::max(p.FirstPlaces, p.SecondPlaces));
}

std::optional<TWrittenAnswer> DifferenceAtTheRight(const TSheetProblem& p)
{
    return Written(int64_t{p.First} - p.Second, std::max(p.FirstPlaces, p.SecondPlaces));
}

// Ranges of decimals: whole digits (ones first) and decimal digits (the 1/10
// place first), each {low, high}, of the first and second numbers.
TDigitRanges Ranges(std::initializer_list<std::pair<int32_t, int32_t>> firstWhole,
                    std::initializer_list<std::pair<int32_t, int32_t>> firstDecimals,
                    std::initializer_list<std::pair<int32_t, int32_t>> secondWhole,
                    std::initializer_list<std::pair<int32_t, int32_t>> secondDecimals, int32_t choice = 0)
{
    TDigitRanges r;
    auto fill = [](auto list, int32_t* low, int32_t* high) {
        int k = 0;
        for (const auto& [lo, hi] : list) low[k] = lo, high[k] = hi, ++k;
    };
    fill(firstWhole, r.FirstLow, r.FirstHigh);
    fill(firstDecimals, r.FirstDecimalLow, r.FirstDecimalHigh);
    fill(secondWhole, r.SecondLow, r.SecondHigh);
    fill(secondDecimals, r.SecondDecimalLow, r.SecondDecimalHigh);
    r.Choice = choice;
    return r;
}

TDiagnosticRow DecimalRow(TOperation operation, std::vector<TWrongProcedure> catalogue, std::vector<TDigitRanges> ranges)
{
    TDiagnosticRow row{operation, std::move(catalogue), {}, nullptr};
    row.DefaultRanges = std::move(ranges);
    return row;
}

}  // namespace

TDiagnosticRow DecimalAdditionDiagnosticRow()
{
    // 3.47 + 2.5 and 4.6 + 1.38: places that differ, so that lining the
    // digits up at the right shows.
    return DecimalRow(TOperation::DecimalAddition,
                      {{TOperation::DecimalAddition, "points-not-aligned", "小数点をそろえずに、右にそろえて計算する", nullptr,
                        SumAtTheRight}},
                      {Ranges({{1, 9}}, {{0, 9}, {1, 9}}, {{1, 9}}, {{1, 9}}),
                       Ranges({{1, 9}}, {{1, 9}}, {{1, 9}}, {{0, 9}, {1, 9}})});
}

TDiagnosticRow DecimalSubtractionDiagnosticRow()
{
    return DecimalRow(TOperation::DecimalSubtraction,
                      {{TOperation::DecimalSubtraction, "points-not-aligned", "小数点をそろえずに、右にそろえて計算する", nullptr,
                        DifferenceAtTheRight}},
                      {Ranges({{5, 9}}, {{0, 9}, {1, 9}}, {{1, 4}}, {{1, 9}}),
                       Ranges({{5, 9}, {1, 9}}, {{1, 9}}, {{1, 4}}, {{0, 9}, {1, 9}})});
}

TDiagnosticRow DecimalMultiplicationDiagnosticRow()
{
    // 12.5 × 0.25 tells the longer factor's places from the larger count.
    return DecimalRow(TOperation::DecimalMultiplication,
                      {{TOperation::DecimalMultiplication, "product-point-as-in-addition",
                        "積の小数点を、たし算のように上の小数点にそろえる", nullptr, PointAsInAddition},
                       {TOperation::DecimalMultiplication, "product-point-of-longer-factor",
                        "積の小数点を、長いほうの数の小数点以下のけた数だけで決める", nullptr, PointOfLongerFactor}},
                      {Ranges({{0, 9}, {1, 9}}, {{1, 9}}, {}, {{1, 9}, {1, 9}}),
                       Ranges({{1, 9}}, {{1, 9}}, {{1, 9}}, {{1, 9}})});
}

TDiagnosticRow DecimalDivisionDiagnosticRow()
{
    // Quotients to the 1/10 place with a remainder: 7.4 ÷ 0.3 (a moved
    // point) and 2.4 ÷ 3 (a quotient under 1).
    return DecimalRow(TOperation::DecimalDivision,
                      {{TOperation::DecimalDivision, "remainder-point-moved", "あまりの小数点を、移した小数点にそろえる", nullptr,
                        RemainderPointMoved},
                       {TOperation::DecimalDivision, "quotient-ones-zero-left-out", "商の一の位の0と小数点を書かない", nullptr,
                        QuotientZeroLeftOut}},
                      {Ranges({{1, 9}}, {{1, 9}}, {}, {{2, 9}}, qcTenthsWithRemainder),
                       Ranges({{1, 9}}, {{1, 9}}, {{2, 9}}, {}, qcTenthsWithRemainder)});
}
