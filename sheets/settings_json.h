// The reading shared by settings files and the built-in presets.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include "sheets/settings_file.h"

// The settings one JSON object names (keys as in a settings file). Raises
// EFileError naming the key.
TSettingsFile SettingsFromJson(const QJsonObject& object);

// The one JSON object of `text`; `what` names the text in the messages
// ("設定ファイル"). Raises EFileError naming the line.
QJsonObject ParseJsonObject(const QByteArray& text, const QString& what);
