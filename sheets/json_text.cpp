#include "sheets/json_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "errors/errors.h"
#include "worksheet/utf8.h"

namespace {

constexpr int kDeepest = 1024;

[[noreturn]] void Refuse(const std::string& why)
{
    throw EFileError(why);
}

// How deep the arrays and objects of `text` go, strings skipped.
int Depth(const std::string& text)
{
    int depth = 0, deepest = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (inString) {
            if (ch == '\\') ++i;
            else if (ch == '"') inString = false;
        } else if (ch == '"') {
            inString = true;
        } else if (ch == '{' || ch == '[') {
            deepest = std::max(deepest, ++depth);
        } else if (ch == '}' || ch == ']') {
            --depth;
        }
    }
    return deepest;
}

// What is wrong with a JSON text, in words, from the parser's own message.
std::string JsonErrorText(const std::string& message)
{
    auto says = [&](const char* part) { return message.find(part) != std::string::npos; };
    if (says("expected ':'")) return "名前のあとに「:」がありません";
    if (says("invalid string")) {
        if (says("missing closing quote")) return "文字列が「\"」で閉じていません";
        if (says("UTF-8")) return "UTF-8 の文字ではありません";
        if (says("backslash") || says("\\u")) return "「\\」のあとが正しくありません";
        return "文字列が正しくありません";
    }
    if (says("invalid number")) return "数が正しくありません";
    if (says("unexpected end of input")) return "ファイルが途中で切れています";
    if (says("expected end of input")) return "終わりのあとに余分なものがあります";
    if (says("expected '}'") || says("expected ']'")) return "値のあいだに「,」がありません";
    if (says("invalid literal")) return "値が正しくありません";
    return "書き方が正しくありません";
}

}  // namespace

nlohmann::json ParseJsonObject(const std::string& text, const std::string& what)
{
    if (!IsUtf8(text)) Refuse(what + "が UTF-8 の文字ではありません");
    if (Depth(text) > kDeepest) Refuse(what + "の 1 行目が読めません（入れ子が深すぎます）");
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) Refuse(what + "が空です");
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        const size_t at = std::min<size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
        const long line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
        // Whatever the parser expected next: a text that stops before its
        // end is one cut short.
        const bool cutShort = e.byte >= text.size() && text.find_last_not_of(" \t\r\n") != std::string::npos;
        Refuse(what + "の " + std::to_string(line) + " 行目が読めません（" +
               (cutShort ? std::string("ファイルが途中で切れています") : JsonErrorText(e.what())) + "）");
    } catch (const nlohmann::json::exception& e) {
        // A number beyond what can be held (1e400).
        Refuse(what + "が読めません（" + (std::string(e.what()).find("number overflow") != std::string::npos
                                              ? std::string("大きすぎる数があります")
                                              : JsonErrorText(e.what())) + "）");
    }
    if (!document.is_object()) Refuse(what + "の中身が { } で囲まれたひとつのまとまりではありません");
    return document;
}

std::string QuotedJson(const std::string& text)
{
    std::string out = "\"";
    for (const char ch : text) {
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(ch) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(ch)));
                out += escaped;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::string NumberText(double number, int digits)
{
    char text[40];
    if (digits > 0) {
        std::snprintf(text, sizeof text, "%.*g", digits, number);
        return text;
    }
    for (int shortest = 1; shortest <= 17; ++shortest) {
        std::snprintf(text, sizeof text, "%.*g", shortest, number);
        if (std::strtod(text, nullptr) == number) break;
    }
    return text;
}

size_t BoxLength(const std::string& text)
{
    size_t units = 0;
    ForEachCharacter(text, [&](char32_t code, std::string_view) { units += code >= 0x10000 ? 2 : 1; });
    return units;
}

std::string FirstCharacters(const std::string& text, size_t count)
{
    size_t at = 0, taken = 0;
    ForEachCharacter(text, [&](char32_t, std::string_view bytes) {
        if (taken++ < count) at += bytes.size();
    });
    return text.substr(0, at);
}
