#include "worksheet/operations.h"

#include <stdexcept>

#include "worksheet/addition_subtraction.h"
#include "worksheet/division.h"
#include "worksheet/multiplication.h"

const std::vector<TOperationRules>& Operations()
{
    static const std::vector<TOperationRules> rules = {
        MultiplicationRules(),
        AdditionRules(),
        SubtractionRules(),
        DivisionRules(),
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
