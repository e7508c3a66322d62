#include "worksheet/column_steps.h"

#include <cstddef>

TPlaceDigits DigitsOf(int32_t number)
{
    TPlaceDigits digits{};
    for (std::size_t place = 0; place < digits.size(); ++place, number /= 10) digits[place] = number % 10;
    return digits;
}

TPlaceDigits CarriesOf(const TPlaceDigits& a, const TPlaceDigits& b)
{
    TPlaceDigits carry{};
    int32_t in = 0;
    for (std::size_t i = 0; i < carry.size(); ++i) in = carry[i] = a[i] + b[i] + in >= 10 ? 1 : 0;
    return carry;
}

TPlaceDigits BorrowsOf(const TPlaceDigits& a, const TPlaceDigits& b)
{
    TPlaceDigits borrow{};
    int32_t in = 0;
    for (std::size_t i = 0; i < borrow.size(); ++i) in = borrow[i] = a[i] - in < b[i] ? 1 : 0;
    return borrow;
}
