// Files written whole or not at all, and never over what they must not
// replace.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

// Keeps the file at `path` from ever being written over here (the history
// database, the settings file a command reads). For the run of the program.
void KeepFileSafe(const std::string& path);

// Raises EFileError, naming the file, when `path` is no place to write a
// file to: an empty name, a missing folder, a folder, something that is not
// a plain file (a device, a pipe), a write-protected file, or a file kept
// safe.
void CheckFileToWrite(const QString& path);

// Raises EFileError, naming the file, when `first` and `second` are the same
// place: two files that go out together need two places.
void CheckFilesApart(const QString& first, const QString& second);

// A file written whole. Prepare checks the place (CheckFileToWrite), writes
// the bytes into a temporary file beside it and makes sure they are on the
// disk; Commit puts that file in the place of `path`, replacing the old one
// (a link is followed). A prepared file that is not committed is removed
// with the object, and the old file is untouched. Both raise EFileError
// full, ...). Preparing also removes what earlier runs that were killed left
// in that folder: their hidden temporary files (".NAME.XXXXXX" of a PDF, CSV
// or settings file) from before this run began.
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
    friend void CommitTogether(const std::vector<TWholeFile*>& files);
    // A second name beside the file now at the target, to put it back; empty
    // when there is none.
    std::string KeepOld() const;

    QString path_;
    std::string target_;     // where it goes, links followed
    std::string temporary_;  // written and not yet in place; empty otherwise
};

// Commits the prepared `files` in their order as one delivery: every one of
// them, or, when one cannot be put in place, none (those already in place
// get their old files back) and EFileError saying why.
void CommitTogether(const std::vector<TWholeFile*>& files);

// Prepare and Commit at once.
void WriteWholeFile(const QString& path, const QByteArray& bytes);
