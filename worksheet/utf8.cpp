#include "worksheet/utf8.h"

#include <cstdio>

TUtf8Char Utf8CharAt(std::string_view text, size_t at)
{
    if (at >= text.size()) return {};
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1};
    size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1Fu;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0Fu;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07u;
    else return {};
    if (at + length > text.size()) return {};
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return {};
        code = (code << 6) | (next & 0x3Fu);
    }
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || (code >= 0xD800 && code <= 0xDFFF) ||
        code > 0x10FFFF)
        return {};
    return {code, length};
}

bool IsUtf8(std::string_view text)
{
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8CharAt(text, at).Length;
        if (length == 0) return false;
        at += length;
    }
    return true;
}

void AppendUtf8(char32_t code, std::string& out)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        if (code >= 0xD800 && code <= 0xDFFF) return;
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code <= 0x10FFFF) {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::u32string DecodeUtf8(std::string_view text)
{
    std::u32string out;
    for (size_t at = 0; at < text.size();) {
        const TUtf8Char ch = Utf8CharAt(text, at);
        out += ch.Length ? ch.Code : static_cast<char32_t>(static_cast<unsigned char>(text[at]));
        at += ch.Length ? ch.Length : 1;
    }
    return out;
}

size_t CharacterCount(std::string_view text)
{
    size_t count = 0;
    ForEachCharacter(text, [&](char32_t, std::string_view) { ++count; });
    return count;
}

std::string ShownBytes(std::string_view text)
{
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8CharAt(text, at).Length;
        if (length) {
            out.append(text.substr(at, length));
            at += length;
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[at]));
        out += escaped;
        ++at;
    }
    return out;
}
