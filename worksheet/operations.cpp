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

const TOperationRules* OperationWithKey(const std::string& key)
{
    for (const TOperationRules& rules : Operations())
        if (key == rules.Key) return &rules;
    return nullptr;
}
