// A file name from the window (a file dialog, a printer's output file) as
// the bytes the system calls take: converted once, where it enters.
#pragma once

#include <QFile>
#include <QString>

#include <string>

inline std::string PathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The folder a file dialog starts in: the last one used, else the user's
// documents, else home.
QString StartFolder(const QString& lastFolder);
