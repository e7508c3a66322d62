// The places of a written subtraction that the wrong procedures of
// subtraction go astray on and the ordinary patterns cannot ask for.
#pragma once

#include <cstdint>

enum class TSubtractionSituation {
    ZeroMinusDigit,          // 0からひく: a place 0 − N
    DigitMinusZero,          // ひく数に0: a place N − 0
    BorrowAcrossEqualDigits  // 同じ数字の位をこえる: a borrow into a place whose two digits are equal
};

// True when first − second (first ≤ 9999) has a place of `situation`
// within the places of the second number, the top digits as they stand
// when each place is worked.
bool HasSituation(int32_t first, int32_t second, TSubtractionSituation situation);
