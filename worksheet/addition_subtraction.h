// Written addition and subtraction: the sum and the difference, and the
// carrying and borrowing patterns.
#pragma once

#include "worksheet/operation_rules.h"

const TOperationRules& AdditionRules();
const TOperationRules& SubtractionRules();
