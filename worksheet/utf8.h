// The one reading of UTF-8 in the program: texts typed, read from files and
// drawn all pass through it. Pure C++.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One character read from a text: its code point and how many bytes it
// took. Length is 0 where the bytes at that place are not UTF-8 (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate,
// anything past U+10FFFF, or the end of the text).
struct TUtf8Char {
    char32_t Code = 0;
    size_t Length = 0;
};

// The character that starts at byte `at` of `text`.
TUtf8Char Utf8CharAt(std::string_view text, size_t at);

// True when the whole of `text` is UTF-8.
bool IsUtf8(std::string_view text);

// `code` written as UTF-8 (nothing for a code point that has no form).
void AppendUtf8(char32_t code, std::string& out);

// Every character of `text`; a byte that is not UTF-8 stands for itself
// (Latin-1), so nothing is lost and nothing is read past.
std::u32string DecodeUtf8(std::string_view text);

// Calls f(code, bytes) for each character of `text`, with its code point and
// its bytes; a byte that is not UTF-8 is a character of its own, U+FFFD.
template <typename F>
void ForEachCharacter(std::string_view text, F&& f)
{
    for (size_t at = 0; at < text.size();) {
        const TUtf8Char ch = Utf8CharAt(text, at);
        const size_t length = ch.Length ? ch.Length : 1;
        f(ch.Length ? ch.Code : char32_t{0xFFFD}, text.substr(at, length));
        at += length;
    }
}

// How many characters `text` holds (a byte that is not UTF-8 counts as one).
size_t CharacterCount(std::string_view text);

// `text` for a message: UTF-8 as it stands, every byte that is not UTF-8
// written as \xFF, so that a file name in another encoding is shown
// exactly and never as "�".
std::string ShownBytes(std::string_view text);
