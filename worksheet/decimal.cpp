#include "worksheet/decimal.h"

#include <algorithm>

#include "worksheet/sheet.h"
#include "worksheet/text_fold.h"

int64_t PowerOfTen(int32_t places)
{
    int64_t power = 1;
    for (int32_t k = 0; k < places && k < 18; ++k) power *= 10;
    return power;
}

std::string DecimalText(int64_t units, int32_t places)
{
    const bool negative = units < 0;
    // The magnitude as unsigned, so that the smallest value has one too.
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
    const std::string digits = std::to_string(magnitude);
    const size_t decimals = static_cast<size_t>(std::max(places, 0));
    std::string text = negative ? "-" : "";
    if (decimals == 0) return text + digits;
    const std::string padded = std::string(digits.size() <= decimals ? decimals + 1 - digits.size() : 0, '0') + digits;
    text += padded.substr(0, padded.size() - decimals);
    text += '.';
    text += padded.substr(padded.size() - decimals);
    return text;
}

std::string DecimalDigits(int64_t units, int32_t places)
{
    std::string text = DecimalText(units, places);
    if (const size_t point = text.find('.'); point != std::string::npos) text.erase(point, 1);
    return text;
}

TDecimalValue Shortened(int64_t units, int32_t places)
{
    while (places > 0 && units % 10 == 0) units /= 10, --places;
    return {units, places};
}

std::string ShortDecimalText(int64_t units, int32_t places)
{
    const TDecimalValue shortened = Shortened(units, places);
    return DecimalText(shortened.Units, shortened.Places);
}

int64_t AtPlaces(int64_t units, int32_t from, int32_t places)
{
    return places > from ? units * PowerOfTen(places - from) : units;
}

int32_t StruckZeros(int64_t units, int32_t places)
{
    return places - Shortened(units, places).Places;
}

TDecimalValue WithDecimalDigits(int64_t whole, const std::array<int32_t, 3>& decimals)
{
    int32_t places = 0;
    for (int32_t k = 0; k < 3; ++k)
        if (decimals[static_cast<size_t>(k)] != 0) places = k + 1;
    int64_t units = whole;
    for (int32_t k = 0; k < places; ++k) units = units * 10 + decimals[static_cast<size_t>(k)];
    return {units, places};
}

bool ReadDecimal(const std::string& text, TDecimalValue& value)
{
    const std::string folded = FoldForMatching(text);
    int64_t units = 0;
    int32_t places = 0, digits = 0;
    bool point = false;
    for (const char ch : folded) {
        if (ch == '.' && !point && digits > 0) {
            point = true;
        } else if (ch >= '0' && ch <= '9' && digits < 9) {
            units = units * 10 + (ch - '0');
            ++digits;
            if (point) ++places;
        } else {
            return false;
        }
    }
    if (digits == 0 || places > kMostDecimalPlaces || (point && places == 0)) return false;
    value = {units, places};
    return true;
}

std::string FirstText(const TSheetProblem& p)
{
    return DecimalText(p.First, p.FirstPlaces);
}

std::string SecondText(const TSheetProblem& p)
{
    return DecimalText(p.Second, p.SecondPlaces);
}

std::string AnswerText(const TSheetProblem& p)
{
    return p.Rounded ? DecimalText(p.Answer, p.AnswerPlaces) : ShortDecimalText(p.Answer, p.AnswerPlaces);
}

std::string RemainderText(const TSheetProblem& p)
{
    return ShortDecimalText(p.Remainder, p.RemainderPlaces);
}
