// 32-bit arithmetic as the program's integers give it.
#pragma once

#include <cstdint>

// Two's-complement wrap of a wider result, as 32-bit signed arithmetic gives.
inline int32_t Wrap(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}
