// The wrong procedures pupils follow with decimals, each as what a pupil
// following it writes: the points lined up in a multiplication as in an
// addition, the product's point taken from one factor, the remainder's point
// taken from the moved point, the quotient's 0. left out, and the digits of
// an addition or subtraction lined up at the right instead of at the point.
// Pure C++.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "worksheet/operation_rules.h"

struct TDecimalWrongProcedure {
    TOperation Operation;
    const char* Id;    // stable: "product-point-as-in-addition"
    const char* Name;  // as a teacher says it
    // The answer written (Answer and AnswerPlaces, Remainder and its places)
    // for the operands; none where the procedure leaves no answer.
    std::optional<TSheetProblem> (*Answer)(const TOperands& operands);
};

// The catalogue of an operation with decimals (empty for the others).
std::vector<TDecimalWrongProcedure> DecimalWrongProcedures(TOperation operation);

// The answer as written: "24あまり0.02", "31.2".
std::string WrittenDecimalText(const TSheetProblem& written);
