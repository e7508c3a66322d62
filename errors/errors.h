// The failures the program raises besides EConvertError, and how their
// messages are worded. The top-level error display shows any of them with
// its message; EAbort is shown by nobody.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A failure that may say why apart from what it means for the user: the
// message is the reason followed by its consequence ("プリンタ「X」が見つかり
// ません。プリントは印刷されていません"); Reason() is the first part alone.
class EReasoned : public std::runtime_error {
public:
    explicit EReasoned(const std::string& message) : std::runtime_error(message), reason_(message) {}
    EReasoned(const std::string& reason, const std::string& consequence)
        : std::runtime_error(reason + "。" + consequence), reason_(reason)
    {
    }
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// A printer failure: no default printer, a printer that is not valid, a job
// already open, a job the print service did not accept.
class EPrinter : public EReasoned {
public:
    using EReasoned::EReasoned;
};

// A file that could not be read or written; the message says why in words.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failed system call. The message is "システムエラー。コード：<errno>.\r\n"
// followed by the system's text for that code (SystemErrorMessage).
class EOSError : public EReasoned {
public:
    using EReasoned::EReasoned;
};

// A value the teacher typed that the program cannot take: a seed, a count
// of sheets, a pupil's answer. The message says which and why, in Japanese,
// ending with 「。」; Which() is the problem (from 1) of a refused answer, 0
// for the others.
class ERefused : public std::runtime_error {
public:
    explicit ERefused(const std::string& message, int32_t which = 0) : std::runtime_error(message), which_(which) {}
    int32_t Which() const { return which_; }

private:
    int32_t which_;
};

// A command the user called off (a file not replaced, a dialog cancelled):
// it ends the command quietly, with nothing changed.
class EAbort : public std::runtime_error {
public:
    EAbort() : std::runtime_error("") {}
};

// A message as the error box shows it. The original window's messages (a
// text that is not an integer, the printer's, a bare system error) and
// messages that end in ASCII get a "." appended, unless they are empty or
// their last byte's code is not above that of "."; the program's own
// Japanese messages end with "。" (added where it is missing).
std::string WithFinalPeriod(const std::string& message);

// The message of a failure for the user: its own, or for a failure of the
// language's library (out of memory, ...) its cause in Japanese.
std::string MessageOf(const std::exception& error);

// The reason of a failure: Reason() of an EReasoned, else its message.
std::string ReasonOf(const std::exception& error);

// The system's text for an error code, in Japanese for the common causes
// (no such file, no permission, disk full, file too large, not a folder, a
// folder, read-only, connection refused, time-out, ...) whatever the locale;
// the system's own text for the others.
std::string SystemErrorText(int code);

// "システムエラー。コード：<code>.\r\n<SystemErrorText(code)>", then `detail`
// on a line of its own when it is not empty; "OS 機能呼び出しの失敗" for code 0.
std::string SystemErrorMessage(int code, const std::string& detail = {});
