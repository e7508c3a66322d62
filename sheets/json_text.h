// JSON texts as the settings files and the presets are written: one object,
// UTF-8, read with what is wrong said in Japanese. Pure C++.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

// The one JSON object of `text`; `what` names the text in the messages
// ("設定ファイル"). Raises EFileError: for a text that is not UTF-8, one
// that is not JSON (naming the line and what is wrong there), or nested too
// deep, or whose value is not one object.
nlohmann::json ParseJsonObject(const std::string& text, const std::string& what);

// `text` as a JSON string token, quotes included: ", \ and control
// characters escaped, everything else as it stands (UTF-8).
std::string QuotedJson(const std::string& text);

// A number as the messages write it: at most `digits` significant digits
// ("3000000000", "1e+300"); with 0, the shortest form that reads back as the
// same number (as a box takes a number from a file: "3.5").
std::string NumberText(double number, int digits = 12);

// How many characters a text box counts in `text`: UTF-16 code units.
size_t BoxLength(const std::string& text);

// The first `count` characters of `text` (UTF-8, whole characters).
std::string FirstCharacters(const std::string& text, size_t count);
