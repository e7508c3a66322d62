// Files written whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` to `path` through a temporary file that replaces the old
// one only when everything is on disk: after a failure the old file, or
// none, is left. Raises EFileError saying why in Japanese (the folder is
// missing, no permission, the disk is full, ...).
void WriteWholeFile(const QString& path, const QByteArray& bytes);
