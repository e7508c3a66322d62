// Files written whole or not at all, and never over what they must not
// replace.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// Keeps the file at `path` from ever being written over here (the history
// database, the settings file a command reads). For the run of the program.
void KeepFileSafe(const std::string& path);

// Raises EFileError, naming the file, when `path` is no place to write a
// file to: an empty name, a missing folder, a folder, something that is not
// a plain file (a device, a pipe), or a file kept safe.
void CheckFileToWrite(const QString& path);

// A file written whole. Prepare checks the place (CheckFileToWrite), writes
// the bytes into a temporary file beside it and makes sure they are on the
// disk; Commit puts that file in the place of `path`, replacing the old one
// (a link is followed). A prepared file that is not committed is removed
// with the object, and the old file is untouched. Both raise EFileError
// saying why in Japanese (the folder is missing, no permission, the disk is
// full, ...).
class TWholeFile {
public:
    explicit TWholeFile(const QString& path);
    ~TWholeFile();
    TWholeFile(const TWholeFile&) = delete;
    TWholeFile& operator=(const TWholeFile&) = delete;

    void Prepare(const QByteArray& bytes);
    void Commit();
    // Removes a prepared file that was not committed.
    void Discard();

private:
    QString path_;
    std::string target_;     // where it goes, links followed
    std::string temporary_;  // written and not yet in place; empty otherwise
};

// Prepare and Commit at once.
void WriteWholeFile(const QString& path, const QByteArray& bytes);
