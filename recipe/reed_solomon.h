// Reed–Solomon codes over GF(256) (the field of x⁸+x⁴+x³+x²+1), as the
// sheet's code uses them: a block of data bytes followed by parity bytes.
// Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The `parity` bytes that follow `data` (data and parity together at most
// 255 bytes).
std::vector<uint8_t> ReedSolomonParity(const std::vector<uint8_t>& data, int parity);

// The block (data then `parity` parity bytes) with up to parity/2 wrong
// bytes put right; none when it has more errors than that can be found.
std::optional<std::vector<uint8_t>> ReedSolomonCorrect(std::vector<uint8_t> block, int parity);
