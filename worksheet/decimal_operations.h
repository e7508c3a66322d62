// Written calculation with decimals (小数の筆算): addition and subtraction
// with their points in one column, multiplication with its product's point
// counted from the factors' places, and division with its points moved,
// worked on (わり進み) or rounded (概数). Each is a row beside the whole-
// number operations on the same engine.
#pragma once

#include <cstdint>
#include <vector>

#include "worksheet/operation_rules.h"

const TOperationRules& DecimalAdditionRules();
const TOperationRules& DecimalSubtractionRules();
const TOperationRules& DecimalMultiplicationRules();
const TOperationRules& DecimalDivisionRules();

// How far a decimal division's quotient is worked: the items of its pattern
// group.
enum TQuotientChoice : int32_t {
    qcToTheEnd,             // わり切れるまで
    qcOnesWithRemainder,    // 商は一の位まで、あまりを出す
    qcTenthsWithRemainder,  // 商は1/10の位まで、あまりを出す
    qcHundredthsWithRemainder,
    qcRoundToTenths,        // 商を四捨五入して1/10の位まで（約）
    qcRoundToTwoFigures,    // 商を四捨五入して上から2けた（約）
};

// The quotient of a decimal division, worked the written way: the dividend
// and divisor with their points moved right by the divisor's places, the
// quotient's digits down to its WorkedPlaces, the remainder's point where
// the dividend's point stood before it moved.
TSheetProblem DecimalQuotient(const TOperands& operands);
