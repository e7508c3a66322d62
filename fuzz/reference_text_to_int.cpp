#include "reference_text_to_int.h"

#include <regex>

namespace {

std::string StripLeadingZeros(const std::string& digits)
{
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

}  // namespace

std::optional<int32_t> ReferenceTextToInt(const std::string& text)
{
    // Groups: 1 sign, 2 decimal digits, 3 hexadecimal digits.
    static const std::regex grammar("^ *([+-]?)(?:([0-9]+)|(?:\\$|0?[xX])([0-9A-Fa-f]+))$",
                                    std::regex::ECMAScript);
    std::smatch m;
    if (!std::regex_match(text, m, grammar)) return std::nullopt;
    const bool negative = m[1].str() == "-";

    if (m[2].matched) {
        const std::string digits = StripLeadingZeros(m[2].str());
        if (digits.size() > 10) return std::nullopt;
        const long long magnitude = std::stoll(digits);
        const long long value = negative ? -magnitude : magnitude;
        if (value < -2147483648LL || value > 2147483647LL) return std::nullopt;
        return static_cast<int32_t>(value);
    }

    const std::string digits = StripLeadingZeros(m[3].str());
    if (digits.size() > 8) return std::nullopt;
    const unsigned long long pattern = std::stoull(digits, nullptr, 16);
    // Negation of the 32-bit pattern, in 64-bit arithmetic folded back to 32 bits.
    const unsigned long long folded = (negative ? (1ULL << 32) - pattern : pattern) & 0xFFFFFFFFULL;
    const long long value = folded >= (1ULL << 31) ? static_cast<long long>(folded) - (1LL << 32)
                                                   : static_cast<long long>(folded);
    return static_cast<int32_t>(value);
}
