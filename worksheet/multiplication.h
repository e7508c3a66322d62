// Column multiplication: the product and the six carrying patterns.
#pragma once

#include "worksheet/operation_rules.h"

const TOperationRules& MultiplicationRules();

// True when adding the partial products of multiplicand × multiplier (a
// multiplier of two places or more), written as the working writes them,
// carries in some column.
bool PartialProductsCarry(int32_t multiplicand, int32_t multiplier);
