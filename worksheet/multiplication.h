// Column multiplication: the product and the six carrying patterns.
#pragma once

#include "worksheet/operations.h"

const TOperationRules& MultiplicationRules();
