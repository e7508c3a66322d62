// Numbers with decimal places, held as whole numbers of their smallest place
// with a count of places: the texts they are written as and the arithmetic
// that moves their points. No floating point takes part.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The most decimal places a number of a sheet has.
inline constexpr int32_t kMostDecimalPlaces = 3;

// 10 to the power `places` (0 to 18).
int64_t PowerOfTen(int32_t places);

// The number written with all its places: (235, 2) → "2.35", (8, 2) →
// "0.08", (400, 2) → "4.00", (7, 0) → "7". A negative number gets a "-".
std::string DecimalText(int64_t units, int32_t places);

// The digits the number is written with, its point left out: (8, 2) →
// "008", (74, 1) → "74".
std::string DecimalDigits(int64_t units, int32_t places);

// The number as it is finally written, the zeros at the end of its decimal
// places dropped with the point they leave alone: (400, 2) → "4",
// (350, 2) → "3.5".
std::string ShortDecimalText(int64_t units, int32_t places);

// The number with its zeros at the end dropped: (350, 2) → {35, 1}.
struct TDecimalValue {
    int64_t Units = 0;
    int32_t Places = 0;
    bool operator==(const TDecimalValue&) const = default;
};
TDecimalValue Shortened(int64_t units, int32_t places);

// The same number with `places` places (as many or more): (35, 1) at 3 →
// 3500.
int64_t AtPlaces(int64_t units, int32_t from, int32_t places);

// How many of the number's written places are zeros at its end that the
// answer sheet strikes: (400, 2) → 2, (350, 2) → 1, (35, 1) → 0.
int32_t StruckZeros(int64_t units, int32_t places);

// A number of whole part `whole` and decimal digits (the 1/10 place first),
// with as many places as it is written with: zeros at its end are not
// written ({3, {4, 0, 0}} → 3.4).
TDecimalValue WithDecimalDigits(int64_t whole, const std::array<int32_t, 3>& decimals);

// Reads "2.35", "0.2", "７．４", "12": the number and its places; false for
// anything else (a sign, two points, more than kMostDecimalPlaces places,
// more than nine digits).
bool ReadDecimal(const std::string& text, TDecimalValue& value);

struct TSheetProblem;
// A problem's numbers as they are written in files and on the answer key:
// the first and second with their places ("7.4", "0.3"), the answer as it
// is finally written (zeros at its end dropped, "4"; a rounded answer keeps
// its places, "3.0"), the remainder ("0.2").
std::string FirstText(const TSheetProblem& problem);
std::string SecondText(const TSheetProblem& problem);
std::string AnswerText(const TSheetProblem& problem);
std::string RemainderText(const TSheetProblem& problem);
