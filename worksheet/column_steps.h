// The carries of a written addition and the borrows of a written
// subtraction, place by place: what the patterns judge and what the answer
// sheets mark.
#pragma once

#include <array>
#include <cstdint>

// Digits ones first; places above a number's length hold 0.
using TPlaceDigits = std::array<int32_t, 4>;

// The digits of a number from 0 to 9999, ones first.
TPlaceDigits DigitsOf(int32_t number);

// Carry[i] is 1 when place i carries into place i + 1:
// a[i] + b[i] + Carry[i - 1] >= 10.
TPlaceDigits CarriesOf(const TPlaceDigits& a, const TPlaceDigits& b);

// Borrow[i] is 1 when place i borrows from place i + 1:
// a[i] - Borrow[i - 1] < b[i].
TPlaceDigits BorrowsOf(const TPlaceDigits& a, const TPlaceDigits& b);
