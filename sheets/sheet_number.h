// How sheet numbers go on: every sheet that went out uses its number up,
// and the next one is one more.
#pragma once

#include <cstdint>

// The number after `number`, wrapping from 2147483647 to -2147483648.
int32_t NextNumber(int32_t number);
