// A second, independently written integer conversion used to check
// TextToInt: a regular expression for the grammar, then wide arithmetic.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The value, or std::nullopt where the text is not an integer.
std::optional<int32_t> ReferenceTextToInt(const std::string& text);
