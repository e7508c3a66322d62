// Settings files: UTF-8 JSON, one object whose keys are the names of the
// controls, with "format": "tavelin-settings" and "version": 4, "operation"
// ("multiplication", "addition", ...), the yes-or-no settings ("CarryMarks",
// ...: true or false) and the layout ("CellMM": 0 for 標準 or 7 to 20,
// "Problems": 6, 8, 9, 12 or 16, "DigitFont"). The same reading serves the built-in
// presets. Pure C++.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <set>
#include <string>

#include "worksheet/settings.h"

// The key of the operation, and those of the layout.
inline constexpr const char* kOperationKey = "operation";
inline constexpr const char* kCellKey = "CellMM";
inline constexpr const char* kProblemsKey = "Problems";
inline constexpr const char* kDigitFontKey = "DigitFont";

// The settings a file names; the keys it does not name keep their defaults
// in Values and are missing from Named.
struct TSettingsFile {
    TWorksheetSettings Values;
    std::set<std::string> Named;
};

// Reads the text of a settings file. Texts are taken exactly as they stand;
// a whole number where a text is expected is taken as its decimal text. A
// file always names its operation (a multiplication when it does not say); a
// first-version file also says that there are no marks, and a file before
// version 3 that its layout is 標準. Raises EFileError,
// in Japanese and naming the key or the line, for broken JSON, another
// format, a newer version, a text longer than its box takes, a choice out of
// range, or a divisor of more places than a division has. Keys it does not
// know are passed over.
TSettingsFile ParseSettingsFile(const std::string& text);

// The settings one JSON object names (keys as in a settings file), as
// ParseSettingsFile reads them; for the presets too. Raises EFileError
// naming the key.
TSettingsFile SettingsFromJson(const nlohmann::json& object);

// Reads the settings file at `path`, as ParseSettingsFile does; EFileError,
// naming the file, also for a file that cannot be read. Only a plain file of
// at most 1 MB is read.
TSettingsFile ReadSettingsFile(const std::string& path);

// The text of the settings file `name` (a path, or a file's name where
// there is no path), as ReadSettingsFile reads it: EFileError naming the
// file, also for a text larger than 1 MB.
TSettingsFile ParseSettingsFileNamed(const std::string& name, const std::string& text);

// The settings a link of the page holds (one JSON object, keys as in a
// settings file), read with the checks of this version's files. Raises
// EFileError naming the key.
TSettingsFile ParseLinkSettings(const std::string& text);

// Every setting as the text of a settings file, keys in the order of the
// window.
std::string SettingsFileText(const TWorksheetSettings& settings);

// Sets in `target` every value that `file` names.
void ApplyNamed(const TSettingsFile& file, TWorksheetSettings& target);
