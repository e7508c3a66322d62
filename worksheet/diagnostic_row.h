// What an operation brings to diagnostic sheets, as one row of data: its
// catalogue of wrong procedures, the places its sheets are drawn with when
// the window's digits are of another operation, and which drawn problems a
// sheet may take. Each operation's wrong_*.cpp fills its row; the search,
// the key and the reading read the rows, never the operation. Pure C++.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "worksheet/wrong_procedures.h"

// The digits a diagnostic sheet's problems are drawn from: a range for each
// place of the two numbers (ones first, then the decimal places, the 1/10
// place first), as the digit boxes give them, and how far a division of
// decimals is worked (the pattern group's choice).
struct TDigitRanges {
    int32_t FirstLow[4]{}, FirstHigh[4]{}, SecondLow[4]{}, SecondHigh[4]{};
    int32_t FirstDecimalLow[3]{}, FirstDecimalHigh[3]{}, SecondDecimalLow[3]{}, SecondDecimalHigh[3]{};
    int32_t Choice = 0;
};

struct TDiagnosticRow {
    TOperation Operation;
    std::vector<TWrongProcedure> Catalogue;
    // The places of the first and of the second number of each default range
    // ({3, 2}: 3けた × 2けた), leading digits not 0.
    std::vector<std::pair<int32_t, int32_t>> DefaultPlaces;
    // True for a problem a pupil can be asked (a subtraction that does not go
    // below 0, a division by more than 0 into at least the divisor).
    bool (*Takes)(int32_t first, int32_t second);
    // For the `turn`-th candidate drawn: true when it has what the catalogue
    // needs to be told apart (a subtraction's 0 − N, N − 0, a borrow across
    // equal digits); those that do not are mostly drawn again. Null: every
    // candidate serves.
    bool (*Serves)(int32_t first, int32_t second, int32_t turn) = nullptr;
    // The default ranges where places alone cannot say them (decimals);
    // empty: those of DefaultPlaces.
    std::vector<TDigitRanges> DefaultRanges = {};
};

// Every operation's row, in menu order; DiagnosticRowOf one of them
// (std::out_of_range for an operation without one).
const std::vector<TDiagnosticRow>& DiagnosticRows();
const TDiagnosticRow& DiagnosticRowOf(TOperation operation);

// Each operation's row (wrong_subtraction.cpp, wrong_column_arithmetic.cpp,
// wrong_division.cpp).
TDiagnosticRow SubtractionDiagnosticRow();
TDiagnosticRow AdditionDiagnosticRow();
TDiagnosticRow MultiplicationDiagnosticRow();
TDiagnosticRow DivisionDiagnosticRow();
// The rows of decimals (wrong_decimals.cpp).
TDiagnosticRow DecimalAdditionDiagnosticRow();
TDiagnosticRow DecimalSubtractionDiagnosticRow();
TDiagnosticRow DecimalMultiplicationDiagnosticRow();
TDiagnosticRow DecimalDivisionDiagnosticRow();
