// Files written whole or not at all, and never over what they must not
// replace; files read whole. Paths are bytes, exactly as the user gave them
// (a name that is not UTF-8 is written under that name); messages show them
// with ShownBytes. Pure C++.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Keeps the file at `path` from ever being written over here (the history
// database, the settings file a command reads). For the run of the program.
void KeepFileSafe(const std::string& path);

// Raises EFileError, naming the file, when `path` is no place to write a
// file to: an empty name, a missing folder, a folder, something that is not
// a plain file (a device, a pipe), a write-protected file, or a file kept
// safe.
void CheckFileToWrite(const std::string& path);

// Raises EFileError, naming the file, when `first` and `second` are the same
// place: two files that go out together need two places.
void CheckFilesApart(const std::string& first, const std::string& second);

// `path` made absolute against the current folder (as given otherwise).
std::string AbsolutePath(const std::string& path);

// The temporary files of this program are named ".tavelin-PID-XXXXXX" (the
// process that writes them, six random characters) and locked while they
// are written. True for such a name whose writer is gone: that process is
// not running and nobody holds the file's lock. Nothing else is ever taken
// for a temporary of ours, whatever its name.
bool IsAbandonedTemporary(int folder, const std::string& name);

// A file written whole. Prepare checks the place (CheckFileToWrite), writes
// the bytes into a temporary file beside it and makes sure they are on the
// disk; Commit puts that file in the place of `path`, replacing the old one
// (a link is followed). A prepared file that is not committed is removed
// with the object, and the old file is untouched. Both raise EFileError
// saying why (a full disk, ...). Preparing also removes the temporary files
// that runs which ended without cleaning up left in that folder
// (IsAbandonedTemporary); a run still writing keeps its own.
class TWholeFile {
public:
    explicit TWholeFile(std::string path);
    ~TWholeFile();
    TWholeFile(const TWholeFile&) = delete;
    TWholeFile& operator=(const TWholeFile&) = delete;

    void Prepare(std::string_view bytes);
    void Commit();
    // Removes a prepared file that was not committed.
    void Discard();

private:
    friend void CommitTogether(const std::vector<TWholeFile*>& files);
    // A second name beside the file now at the target, to put it back; empty
    // when there is none.
    std::string KeepOld() const;

    std::string path_;
    std::string target_;     // where it goes, links followed
    std::string temporary_;  // written and not yet in place; empty otherwise
    int lock_ = -1;          // the temporary, held open and locked while it is ours
};

// Commits the prepared `files` in their order as one delivery: every one of
// them, or, when one cannot be put in place, none (those already in place
// get their old files back) and EFileError saying why.
void CommitTogether(const std::vector<TWholeFile*>& files);

// The whole plain file at `path`, up to `mostBytes`; EFileError, naming the
// file, saying why not (missing, no plain file, too large, a read error).
std::string ReadWholeFile(const std::string& path, long long mostBytes);

// Prepare and Commit at once.
void WriteWholeFile(const std::string& path, std::string_view bytes);
