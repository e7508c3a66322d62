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
