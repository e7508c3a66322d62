// A conversation with the CUPS scheduler on a connection of our own, so that
// every wait on it is bounded: a scheduler that does not answer ends in an
// error within the time-out instead of a wait without end. Plain libcups, no
// Qt; a session may run on any thread.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Where the scheduler is and who asks, as the calling thread's CUPS settings
// say (CUPS_SERVER, client.conf, cupsSetServer). libcups keeps these per
// thread, so they are read on the thread that starts an operation and handed
// to the session that runs it.
struct TCupsServer {
    std::string Host;  // a host name, or the path of a local socket
    int Port = 631;
    int Encryption = 0;  // http_encryption_t
    std::string User;
};
TCupsServer CurrentCupsServer();

// How long the scheduler may stay silent: TAVELIN_PRINT_TIMEOUT in seconds
// when it holds a number from 0.1 to 600, else 10 seconds.
std::chrono::milliseconds SpoolTimeout();

using TJobOptions = std::vector<std::pair<std::string, std::string>>;

class TCupsSession {
public:
    // Connects to the scheduler. Raises EOSError (errno and its text, and the
    // scheduler's address) when no connection can be made within `timeout`.
    TCupsSession(const TCupsServer& server, std::chrono::milliseconds timeout);
    ~TCupsSession();
    TCupsSession(const TCupsSession&) = delete;
    TCupsSession& operator=(const TCupsSession&) = delete;

    // The user's default destination (PRINTER/LPDEST, lpoptions, then the
    // scheduler's own); empty when there is none. Raises EOSError when the
    // scheduler does not answer, EPrinter when it refuses the question.
    std::string DefaultDestination();

    // Raises EPrinter, in words, when the scheduler knows no destination
    // `printer` (deleted meanwhile), EOSError when it does not answer.
    void CheckDestination(const std::string& printer);

    // Hands a PDF document to `printer` as one job named `title`, with the
    // job options given (media, sides, ...). Returns the job id once the
    // scheduler has accepted the whole document. Raises EPrinter, in words,
    // for a job the scheduler refused (no such printer, not accepting jobs,
    // ...) and EOSError when the connection failed or went silent; a job
    // begun and not finished is cancelled.
    int SubmitPdf(const std::string& printer, const std::string& title, const TJobOptions& options,
                  std::string_view pdf);

    // The connection's own state, for the time-out callback.
    struct TState;

private:
    // Raises the failure of the last request: EOSError for a connection
    // error (`code`, an errno), else EPrinter with the IPP `status` in words.
    [[noreturn]] void RaiseFailure(const std::string& printer, const std::string& what);
    [[noreturn]] void RaiseFailure(const std::string& printer, const std::string& what, int code, int status);

    std::unique_ptr<TState> state_;
};
