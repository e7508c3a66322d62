// The wrong procedures of long division, each working the dividend's digits
// from the left as a pupil does: a quotient digit over each, the rest carried
// down with the next digit.
#include <cstdlib>
#include <string>
#include <vector>

#include "worksheet/diagnostic_row.h"
#include "worksheet/wrong_procedures.h"

namespace {

// The divisor as a pupil rounds it to guess a quotient digit: its nearest
// ten, halves up (59 → 60); a one-digit divisor as it is.
int64_t GuessDivisor(int32_t divisor)
{
    return divisor < 10 ? divisor : (int64_t{divisor} + 5) / 10 * 10;
}

// dividend ÷ divisor with `digit` choosing each quotient digit from the
// partial dividend and the rest it leaves; `zeros` whether a 0 of the
// quotient is written.
template <typename Digit>
std::optional<TWrittenAnswer> Divide(int32_t dividend, int32_t divisor, Digit digit, bool zeros = true)
{
    if (divisor <= 0 || dividend < 0) return std::nullopt;
    const std::string digits = std::to_string(dividend);
    std::string quotient;
    int64_t partial = 0;
    for (const char c : digits) {
        partial = partial * 10 + (c - '0');
        if (quotient.empty() && partial < divisor) continue;
        int64_t rest = 0;
        const int d = digit(partial, divisor, rest);
        if (d != 0 || zeros) quotient += static_cast<char>('0' + d);
        partial = rest;
    }
    if (quotient.empty()) quotient = "0";
    return TWrittenAnswer{std::stoll(quotient), partial};
}

int RightDigit(int64_t partial, int32_t divisor, int64_t& rest)
{
    const int d = static_cast<int>(partial / divisor);
    rest = partial - d * static_cast<int64_t>(divisor);
    return d;
}

int Guess(int64_t partial, int32_t divisor)
{
    return static_cast<int>(std::min<int64_t>(9, partial / GuessDivisor(divisor)));
}

std::optional<TWrittenAnswer> QuotientZeroDropped(int32_t dividend, int32_t divisor)
{
    return Divide(dividend, divisor, RightDigit, false);
}

std::optional<TWrittenAnswer> RemainderNotLessThanDivisor(int32_t dividend, int32_t divisor)
{
    // A guess too large is lowered until it can be taken away; one too
    // small is left, and so is the rest it leaves.
    return Divide(dividend, divisor, [](int64_t partial, int32_t d, int64_t& rest) {
        int digit = Guess(partial, d);
        while (digit > 0 && digit * static_cast<int64_t>(d) > partial) --digit;
        rest = partial - digit * static_cast<int64_t>(d);
        return digit;
    });
}

std::optional<TWrittenAnswer> EstimateNotCorrected(int32_t dividend, int32_t divisor)
{
    // The guess is written as it is; where it is too large, the smaller
    // number is taken from the larger.
    return Divide(dividend, divisor, [](int64_t partial, int32_t d, int64_t& rest) {
        const int digit = Guess(partial, d);
        rest = std::llabs(partial - digit * static_cast<int64_t>(d));
        return digit;
    });
}

}  // namespace

TDiagnosticRow DivisionDiagnosticRow()
{
    constexpr TOperation D = TOperation::Division;
    return {D,
            {
                {D, "quotient-zero-dropped", "商に立つ0を書いていない", QuotientZeroDropped},
                {D, "remainder-not-less-than-divisor", "あまりがわる数より大きいのに、商を大きくしていない", RemainderNotLessThanDivisor},
                {D, "estimate-not-corrected", "見当をつけた商（仮商）を直さずに書いている", EstimateNotCorrected},
            },
            {{3, 1}, {3, 2}},  // 621÷3 and 413÷59
            [](int32_t first, int32_t second) { return second > 0 && first >= second; }};
}
