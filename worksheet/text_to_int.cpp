#include "worksheet/text_to_int.h"

#include <string>

EConvertError::EConvertError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' は整数ではありません")
{
}

namespace {

int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    return -1;
}

// The magnitude is gathered as an unsigned pattern; std::nullopt-like
// failure is signalled by returning false.
bool ParseHex(std::string_view digits, uint32_t& pattern)
{
    if (digits.empty()) return false;
    uint32_t value = 0;
    int significant = 0;
    for (char ch : digits) {
        int v = HexValue(ch);
        if (v < 0) return false;
        if (significant > 0 || v != 0) ++significant;
        if (significant > 8) return false;
        value = (value << 4) | static_cast<uint32_t>(v);
    }
    pattern = value;
    return true;
}

bool ParseDecimal(std::string_view digits, bool negative, uint32_t& pattern)
{
    if (digits.empty()) return false;
    const uint64_t limit = negative ? 2147483648u : 2147483647u;
    uint64_t value = 0;
    for (char ch : digits) {
        if (ch < '0' || ch > '9') return false;
        value = value * 10 + static_cast<uint64_t>(ch - '0');
        if (value > limit) return false;
    }
    pattern = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

int32_t TextToInt(std::string_view text)
{
    std::string_view rest = text;
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);

    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }

    bool hex = false;
    if (!rest.empty() && (rest.front() == '$' || rest.front() == 'x' || rest.front() == 'X')) {
        hex = true;
        rest.remove_prefix(1);
    } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        hex = true;
        rest.remove_prefix(2);
    }

    uint32_t pattern = 0;
    const bool ok = hex ? ParseHex(rest, pattern) : ParseDecimal(rest, negative, pattern);
    if (!ok) throw EConvertError(text);
    // Unsigned negation wraps; the conversion to int32_t is modular in C++20.
    if (negative) pattern = 0u - pattern;
    return static_cast<int32_t>(pattern);
}
