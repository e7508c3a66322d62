// The reference page every length of a sheet is written in, and the faces a
// sheet and the window are drawn with (by the names the program gives them).
#pragma once

#include <cstdint>

// The preview box, 320 × 441 pixels: the page all lengths are written on.
constexpr int32_t kReferenceWidth = 320;
constexpr int32_t kReferenceHeight = 441;

inline constexpr const char* kGothicFace = "ＭＳ ゴシック";
inline constexpr const char* kMinchoFace = "ＭＳ 明朝";
inline constexpr const char* kPGothicFace = "ＭＳ Ｐゴシック";
