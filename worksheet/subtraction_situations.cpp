#include "worksheet/subtraction_situations.h"

#include <string>

#include "worksheet/column_steps.h"

bool HasSituation(int32_t first, int32_t second, TSubtractionSituation situation)
{
    const TPlaceDigits a = DigitsOf(first), b = DigitsOf(second), borrow = BorrowsOf(a, b);
    const size_t places = std::to_string(second).size();
    for (size_t i = 0; i < places && i < a.size(); ++i) {
        switch (situation) {
        case TSubtractionSituation::ZeroMinusDigit:
            if (a[i] == 0 && b[i] != 0) return true;
            break;
        case TSubtractionSituation::DigitMinusZero:
            // the top digit as it stands when the place is worked: a 0 lent from is 9
            if (b[i] == 0 && (a[i] != 0 || (i > 0 && borrow[i - 1]))) return true;
            break;
        case TSubtractionSituation::BorrowAcrossEqualDigits:
            if (i + 1 < places && borrow[i] && a[i + 1] == b[i + 1]) return true;
            break;
        }
    }
    return false;
}
