// The one conversion used wherever a typed text becomes a number.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>

// Raised for a text that is not an integer. what() is
// "'<text>' は整数ではありません" with the whole text between the quotes.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(std::string_view text);
};

// Accepts: any number of leading spaces (character 32 only), at most one
// sign, then decimal digits, or one of the prefixes "$", "x", "X", "0x",
// "0X" followed by hexadecimal digits; nothing after the number. A decimal
// value must lie in the signed 32-bit range; a hexadecimal number has at most
// 8 significant digits and is a 32-bit pattern ("$FFFFFFFF" is -1), which a
// minus sign negates. Anything else raises EConvertError.
int32_t TextToInt(std::string_view text);
