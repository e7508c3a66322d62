// Settings files: UTF-8 JSON, one object whose keys are the names of the
// controls, with "format": "tavelin-settings" and "version": 2, "operation"
// ("multiplication", "addition", ...) and "CarryMarks" (true or false). The
// same reading serves the built-in presets.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <set>
#include <string>

#include "worksheet/settings.h"

// The keys of the operation and of the answer sheets' marks.
inline constexpr const char* kOperationKey = "operation";
inline constexpr const char* kCarryMarksKey = "CarryMarks";

// The settings a file names; the keys it does not name keep their defaults
// in Values and are missing from Named.
struct TSettingsFile {
    TWorksheetSettings Values;
    std::set<std::string> Named;
};

// Reads the text of a settings file. Texts are taken exactly as they stand;
// a number where a text is expected is taken as its decimal text. A file
// always names its operation (a multiplication when it does not say); a
// first-version file also says that there are no marks. Raises
// EFileError, in Japanese and naming the key or the line, for broken JSON,
// another format, a newer version, a text longer than its box takes, or a
// choice out of range. Keys it does not know are passed over.
TSettingsFile ParseSettingsFile(const QByteArray& text);

// The settings one JSON object names (keys as in a settings file), as
// ParseSettingsFile reads them; for the presets too. Raises EFileError
// naming the key.
TSettingsFile SettingsFromJson(const QJsonObject& object);

// The one JSON object of `text`; `what` names the text in the messages
// ("設定ファイル"). Raises EFileError naming the line.
QJsonObject ParseJsonObject(const QByteArray& text, const QString& what);

// Reads the settings file at `path`, as ParseSettingsFile does; EFileError
// also for a file that cannot be read.
TSettingsFile ReadSettingsFile(const QString& path);

// Every setting as the text of a settings file, keys in the order of the
// window.
QByteArray SettingsFileText(const TWorksheetSettings& settings);

// Sets in `target` every value that `file` names.
void ApplyNamed(const TSettingsFile& file, TWorksheetSettings& target);
