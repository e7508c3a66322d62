// The one reading of UTF-8: characters of every length, and what is broken.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "worksheet/text_fold.h"
#include "worksheet/utf8.h"

TEST(Utf8, CharactersOfEveryLengthAndBrokenSequences)
{
    struct TCase {
        std::string Text;
        std::u32string Codes;  // what ForEachCharacter gives (U+FFFD for a broken byte)
        bool Valid;
        std::string Shown;
    } cases[] = {
        {"a", U"a", true, "a"},
        {"\xC3\xA9", U"\u00E9", true, "\xC3\xA9"},                     // é, 2 bytes
        {"計題", U"\u8A08\u984C", true, "計題"},                        // 3 bytes each
        {"\xF0\x9F\x98\x80", U"\U0001F600", true, "\xF0\x9F\x98\x80"},  // 4 bytes
        {"caf\xE9", U"caf\uFFFD", false, "caf\\xE9"},                  // Latin-1
        {"\xFF\xFE", U"\uFFFD\uFFFD", false, "\\xFF\\xFE"},
        {"\xE8\xA8", U"\uFFFD\uFFFD", false, "\\xE8\\xA8"},             // cut short
        {"\x80x", U"\uFFFDx", false, "\\x80x"},                        // a stray continuation byte
        {"\xC0\xAF", U"\uFFFD\uFFFD", false, "\\xC0\\xAF"},             // overlong
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD", false, "\\xED\\xA0\\x80"},  // a surrogate
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD", false, "\\xF4\\x90\\x80\\x80"},  // past U+10FFFF
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Shown);
        std::u32string codes;
        std::string again;
        ForEachCharacter(c.Text, [&](char32_t code, std::string_view bytes) {
            codes += code;
            again += bytes;
        });
        EXPECT_EQ(codes, c.Codes);
        EXPECT_EQ(again, c.Text);  // every byte once, in order
        EXPECT_EQ(IsUtf8(c.Text), c.Valid);
        EXPECT_EQ(ShownBytes(c.Text), c.Shown);
        EXPECT_EQ(CharacterCount(c.Text), c.Codes.size());
        if (c.Valid) {
            std::string encoded;
            for (const char32_t code : c.Codes) AppendUtf8(code, encoded);
            EXPECT_EQ(encoded, c.Text);
        }
    }
    // Folding reads through the same decoder: full-width digits, the minus an input method types.
    EXPECT_EQ(FoldForMatching("１２３ー４"), "123-4");
}
