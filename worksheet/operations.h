// Every operation, one row each (TOperationRules): an operation is added as
// a row and a file of its own, not by copying another's code.
#pragma once

#include <string>
#include <vector>

#include "worksheet/operation_rules.h"

// Every operation, in menu order.
const std::vector<TOperationRules>& Operations();
const TOperationRules& RulesOf(TOperation operation);
// The operation with that key, or null.
const TOperationRules* OperationWithKey(const std::string& key);

// True when first and second make a problem this program can draw for the
// operation: numbers of at most four places (the second of at most the
// places the operation gives it), a divisor above 0, an answer not below 0.
bool IsProblemOf(const TOperationRules& rules, int32_t first, int32_t second);
// The same for numbers with places: an operation with decimals takes numbers
// of at most kMostDecimalPlaces places (and four whole places), one without
// takes none.
bool IsProblemOf(const TOperationRules& rules, const TOperands& operands);

// The problem of the operands, worked by the operation's rules.
TSheetProblem SolveProblem(const TOperationRules& rules, const TOperands& operands);

// The operands of a problem of a sheet with these settings.
TOperands OperandsOf(const TSheetProblem& problem, const TWorksheetSettings& settings);
