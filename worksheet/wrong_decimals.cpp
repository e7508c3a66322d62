#include "worksheet/wrong_decimals.h"

#include <algorithm>
#include <limits>

#include "worksheet/decimal.h"
#include "worksheet/decimal_operations.h"
#include "worksheet/operations.h"

namespace {

std::optional<TSheetProblem> Written(const TOperands& o, int64_t answer, int32_t places)
{
    if (answer < 0 || answer > std::numeric_limits<int32_t>::max()) return std::nullopt;
    TSheetProblem p{o.First, o.Second, static_cast<int32_t>(answer), 0};
    p.FirstPlaces = o.FirstPlaces, p.SecondPlaces = o.SecondPlaces, p.AnswerPlaces = places;
    return p;
}

// The product's point under the factors' points, lined up as in an addition.
std::optional<TSheetProblem> PointAsInAddition(const TOperands& o)
{
    return Written(o, int64_t{o.First} * o.Second, std::max(o.FirstPlaces, o.SecondPlaces));
}

// The product's point counted from the longer factor alone.
std::optional<TSheetProblem> PointOfLongerFactor(const TOperands& o)
{
    const bool firstLonger = DecimalDigits(o.First, o.FirstPlaces).size() >= DecimalDigits(o.Second, o.SecondPlaces).size();
    return Written(o, int64_t{o.First} * o.Second, firstLonger ? o.FirstPlaces : o.SecondPlaces);
}

// The remainder's point where the moved point stands: 7.4 ÷ 0.3 → 24あまり0.02.
std::optional<TSheetProblem> RemainderPointMoved(const TOperands& o)
{
    TSheetProblem p = DecimalQuotient(o);
    if (p.Answer < 0) return std::nullopt;
    if (!p.Rounded) p.RemainderPlaces += o.SecondPlaces;
    return p;
}

// A quotient under 1 written without its 0 in the ones place and its point.
std::optional<TSheetProblem> QuotientZeroLeftOut(const TOperands& o)
{
    TSheetProblem p = DecimalQuotient(o);
    if (p.Answer < 0) return std::nullopt;
    if (p.Answer < PowerOfTen(p.AnswerPlaces)) p.AnswerPlaces = 0;
    return p;
}

// The digits lined up at the right, the point put after the longer's places.
std::optional<TSheetProblem> DigitsAtTheRight(const TOperands& o, bool subtracting)
{
    return Written(o, subtracting ? int64_t{o.First} - o.Second : int64_t{o.First} + o.Second,
                   std::max(o.FirstPlaces, o.SecondPlaces));
}

std::optional<TSheetProblem> SumAtTheRight(const TOperands& o)
{
    return DigitsAtTheRight(o, false);
}

std::optional<TSheetProblem> DifferenceAtTheRight(const TOperands& o)
{
    return DigitsAtTheRight(o, true);
}

}  // namespace

std::vector<TDecimalWrongProcedure> DecimalWrongProcedures(TOperation operation)
{
    static const std::vector<TDecimalWrongProcedure> all = {
        {TOperation::DecimalAddition, "points-not-aligned", "小数点をそろえずに、右にそろえて計算する", SumAtTheRight},
        {TOperation::DecimalSubtraction, "points-not-aligned", "小数点をそろえずに、右にそろえて計算する", DifferenceAtTheRight},
        {TOperation::DecimalMultiplication, "product-point-as-in-addition", "積の小数点を、たし算のように上の小数点にそろえる",
         PointAsInAddition},
        {TOperation::DecimalMultiplication, "product-point-of-longer-factor", "積の小数点を、長いほうの数の小数点以下のけた数だけで決める",
         PointOfLongerFactor},
        {TOperation::DecimalDivision, "remainder-point-moved", "あまりの小数点を、移した小数点にそろえる", RemainderPointMoved},
        {TOperation::DecimalDivision, "quotient-ones-zero-left-out", "商の一の位の0と小数点を書かない", QuotientZeroLeftOut},
    };
    std::vector<TDecimalWrongProcedure> catalogue;
    std::copy_if(all.begin(), all.end(), std::back_inserter(catalogue),
                 [&](const TDecimalWrongProcedure& p) { return p.Operation == operation; });
    return catalogue;
}

std::string WrittenDecimalText(const TSheetProblem& p)
{
    return AnswerText(p) + (p.Remainder != 0 ? "あまり" + RemainderText(p) : "");
}
