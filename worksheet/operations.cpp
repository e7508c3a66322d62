#include "worksheet/operations.h"

#include <stdexcept>

#include "worksheet/addition_subtraction.h"
#include "worksheet/decimal.h"
#include "worksheet/decimal_operations.h"
#include "worksheet/division.h"
#include "worksheet/multiplication.h"

const std::vector<TOperationRules>& Operations()
{
    static const std::vector<TOperationRules> rules = {
        MultiplicationRules(),
        AdditionRules(),
        SubtractionRules(),
        DivisionRules(),
        DecimalAdditionRules(),
        DecimalSubtractionRules(),
        DecimalMultiplicationRules(),
        DecimalDivisionRules(),
    };
    return rules;
}

const TOperationRules& RulesOf(TOperation operation)
{
    for (const TOperationRules& rules : Operations())
        if (rules.Operation == operation) return rules;
    throw std::out_of_range("unknown operation");
}

bool IsProblemOf(const TOperationRules& rules, int32_t first, int32_t second)
{
    if (rules.Decimal()) return IsProblemOf(rules, TOperands{first, second});
    int32_t largestSecond = 1;
    for (int32_t place = 0; place < rules.SecondPlaces; ++place) largestSecond *= 10;
    if (first < 0 || first > 9999 || second < 0 || second >= largestSecond) return false;
    if (rules.HasRemainder && second == 0) return false;
    return rules.Solve(first, second).Answer >= 0;
}

const TOperationRules* OperationWithKey(const std::string& key)
{
    for (const TOperationRules& rules : Operations())
        if (key == rules.Key) return &rules;
    return nullptr;
}

bool IsProblemOf(const TOperationRules& rules, const TOperands& o)
{
    if (!rules.Decimal()) return o.FirstPlaces == 0 && o.SecondPlaces == 0 && IsProblemOf(rules, o.First, o.Second);
    const int32_t most = kMostDecimalPlaces;
    if (o.FirstPlaces < 0 || o.FirstPlaces > most || o.SecondPlaces < 0 || o.SecondPlaces > most) return false;
    const int64_t largestSecond = PowerOfTen(rules.SecondPlaces + o.SecondPlaces);
    if (o.First < 0 || o.First >= PowerOfTen(4 + o.FirstPlaces) || o.Second < 0 || o.Second >= largestSecond) return false;
    if (rules.HasRemainder && o.Second == 0) return false;
    return rules.SolveWithPlaces(o).Answer >= 0;
}

TSheetProblem SolveProblem(const TOperationRules& rules, const TOperands& o)
{
    return rules.Decimal() ? rules.SolveWithPlaces(o) : rules.Solve(o.First, o.Second);
}

TOperands OperandsOf(const TSheetProblem& p, const TWorksheetSettings& settings)
{
    return {p.First, p.Second, p.FirstPlaces, p.SecondPlaces, settings.Kuriagari};
}
