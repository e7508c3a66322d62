// Names compared as a person reads them, whatever the input method typed.
#pragma once

#include <string>

// `text` (UTF-8) with the compatibility forms an input method types folded
// as NFKC folds them: full-width letters, digits and signs to ASCII, the
// ideographic space to a space, half-width katakana to full-width (with
// their voiced marks joined); and every dash and minus sign (‐ – — − －),
// and the long-vowel mark ー an input method types for a minus, to "-".
// Other characters stay as they are.
std::string FoldForMatching(const std::string& text);
