#include "worksheet/text_fold.h"

#include <cstdint>
#include <vector>

#include "worksheet/utf8.h"

namespace {

// Half-width katakana U+FF61 … U+FF9F as their full-width forms.
const char32_t kHalfWidthKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x3099, 0x309A,
};

// Every dash and minus, and the long-vowel mark 「ー」 that an input method
// gives for a minus typed in Japanese mode.
bool IsDash(char32_t c)
{
    return c == U'-' || (c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == 0xFE63 || c == 0xFF0D || c == 0x30FC;
}

// A kana that takes the voiced mark (゛, +1) or the half-voiced one (゜, +2).
bool TakesMark(char32_t kana, char32_t mark)
{
    const bool voiced = mark == 0x3099;
    if (kana >= 0x30CF && kana <= 0x30DB) return (kana - 0x30CF) % 3 == 0;  // ハ行: both marks
    if (!voiced) return false;
    if (kana == 0x30A6) return true;                                        // ウ → ヴ
    return (kana >= 0x30AB && kana <= 0x30C1 && (kana - 0x30AB) % 2 == 0) ||  // カ … チ
           (kana >= 0x30C4 && kana <= 0x30C8 && (kana - 0x30C4) % 2 == 0);    // ツ テ ト
}

}  // namespace

std::string FoldForMatching(const std::string& text)
{
    std::vector<char32_t> folded;
    for (char32_t c : DecodeUtf8(text)) {
        if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFF01 - 0x21;
        else if (c == 0x3000) c = U' ';
        else if (c >= 0xFF61 && c <= 0xFF9F) c = kHalfWidthKana[c - 0xFF61];
        if (IsDash(c)) c = U'-';
        // A voiced mark joins the kana before it.
        if ((c == 0x3099 || c == 0x309A) && !folded.empty() && TakesMark(folded.back(), c)) {
            folded.back() += c == 0x3099 ? (folded.back() == 0x30A6 ? 0x30F4 - 0x30A6 : 1) : 2;
            continue;
        }
        folded.push_back(c);
    }
    std::string out;
    for (char32_t c : folded) AppendUtf8(c, out);
    return out;
}
