// Long division the Japanese way: the steps of the working, the quotient
// patterns teachers drill and the remainder choice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "worksheet/operation_rules.h"

// One step of the working: the quotient digit written over dividend digit
// `Column` (0 = the leftmost), found by dividing the partial dividend that
// ends in that digit. Estimate is the first guess (仮商) of the digit with
// the divisor taken as its nearest ten (halves up), at most 9; it is the
// digit itself for a one-digit divisor.
struct TDivisionStep {
    size_t Column = 0;
    int32_t Partial = 0;
    int32_t Digit = 0;
    int32_t Estimate = 0;
};

// The steps from the first dividend digit the quotient stands over to the
// last; none for a divisor of 0 or a quotient of 0. After a step the next
// partial dividend is (Partial − Digit × divisor) × 10 + the next digit.
std::vector<TDivisionStep> DivisionSteps(int32_t dividend, int32_t divisor);

const TOperationRules& DivisionRules();

// The items of the remainder choice (あまり), by index: 指定なし, なし, あり.
const std::vector<std::string>& RemainderLabels();
