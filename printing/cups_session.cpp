#include "printing/cups_session.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "printing/cups_library.h"
#include "errors/errors.h"

using Clock = std::chrono::steady_clock;

namespace {

constexpr size_t kChunk = 64 * 1024;

std::string PrinterWords(ipp_status_t status, const std::string& printer)
{
    const std::string named = "プリンタ「" + printer + "」";
    switch (status) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return named + "が見つかりません。削除されたか、名前が変わった可能性があります";
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS: return named + "は今、印刷を受け付けていません";
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED: return named + "で印刷する権限がありません";
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        return named + "はこのプログラムの印刷データ（PDF）を受け付けません";
    case IPP_STATUS_ERROR_TOO_MANY_JOBS:
    case IPP_STATUS_ERROR_BUSY: return named + "は混み合っていて、印刷を受け付けませんでした";
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE: return "印刷サービスが止まっているため、印刷を受け付けませんでした";
    case IPP_STATUS_ERROR_NOT_POSSIBLE: return named + "では、この印刷はできません";
    case IPP_STATUS_ERROR_GONE: return named + "はもう使えません";
    case IPP_STATUS_ERROR_REQUEST_ENTITY:
    case IPP_STATUS_ERROR_REQUEST_VALUE: return named + "は、このプリントの大きさを受け付けません";
    case IPP_STATUS_ERROR_ATTRIBUTES_OR_VALUES: return named + "は、この用紙や印刷の設定を受け付けません";
    case IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED: return named + "は使えないようにされています";
    case IPP_STATUS_ERROR_INTERNAL: return "印刷サービスの中でエラーが起きたため、印刷を受け付けませんでした";
    default: {
        char code[16];
        std::snprintf(code, sizeof code, "0x%04x", static_cast<unsigned>(status));
        return "印刷サービスが印刷を受け付けませんでした（状態 " + std::string(code) + "）";
    }
    }
}

std::string ServerName(const TCupsServer& server)
{
    return server.Host.empty() || server.Host.front() == '/' ? server.Host
                                                           : server.Host + ":" + std::to_string(server.Port);
}

// "10", "0.5": a time-out in seconds as the messages say it.
std::string Seconds(Clock::duration timeout)
{
    const long ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(timeout).count());
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000) text += "." + std::to_string(ms % 1000 / 100);
    return text;
}

// Why a local socket takes no connection: libcups reports every failed
// connection as EHOSTDOWN, so one plain connect() finds the real cause
// (ENOENT: no socket there; ECONNREFUSED: nobody listens on it).
int LocalConnectError(const std::string& path, int fallback)
{
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) return ENAMETOOLONG;
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return errno;
    const int result = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    const int code = result == 0 ? fallback : errno;
    close(fd);
    return code;
}

// The same for a scheduler over the network: the name is looked up, then
// each of its addresses is tried within the time-out. Returns the errno of
// the last address tried (ECONNREFUSED, ETIMEDOUT, EHOSTUNREACH, ...), or 0
// when the name is unknown.
int NetworkConnectError(std::string host, int port, std::chrono::milliseconds timeout, int fallback)
{
    // "[::1]": an IPv6 address as a server name writes it.
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) return 0;
    int code = fallback;
    for (addrinfo* at = found; at; at = at->ai_next) {
        const int fd = socket(at->ai_family, at->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, at->ai_protocol);
        if (fd < 0) {
            code = errno;
            continue;
        }
        if (connect(fd, at->ai_addr, at->ai_addrlen) == 0) {
            code = fallback;
        } else if (errno != EINPROGRESS) {
            code = errno;
        } else {
            pollfd waiting{fd, POLLOUT, 0};
            const int ready = poll(&waiting, 1, static_cast<int>(std::max<long>(1, timeout.count())));
            int error = 0;
            socklen_t length = sizeof error;
            if (ready == 0) code = ETIMEDOUT;
            else if (ready < 0) code = errno;
            else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0) code = error ? error : fallback;
        }
        close(fd);
        if (code == fallback) break;
    }
    freeaddrinfo(found);
    return code;
}

std::string UnknownHostMessage(const std::string& host)
{
    return "印刷サービスのコンピュータ「" + host + "」が見つかりません（名前を確かめてください）";
}

struct TOptions {
    explicit TOptions(const TJobOptions& options)
    {
        for (const auto& [name, value] : options) count = Cups().cupsAddOption(name.c_str(), value.c_str(), count, &list);
    }
    ~TOptions() { Cups().cupsFreeOptions(count, list); }
    TOptions(const TOptions&) = delete;
    TOptions& operator=(const TOptions&) = delete;
    int count = 0;
    cups_option_t* list = nullptr;
};

}  // namespace

struct TCupsSession::TState {
    TCupsServer Server;
    Clock::duration Timeout;
    Clock::time_point Deadline;
    http_t* Http = nullptr;

    // A step that makes progress starts the clock again.
    void Restart() { Deadline = Clock::now() + Timeout; }
};

namespace {

// libcups asks this after a wait of the whole time-out without a byte; 0
// ends the wait with ETIMEDOUT.
int GoOnWaiting(http_t*, void* data)
{
    return Clock::now() < static_cast<TCupsSession::TState*>(data)->Deadline ? 1 : 0;
}

}  // namespace

TCupsServer CurrentCupsServer()
{
    return {Cups().cupsServer(), Cups().ippPort(), static_cast<int>(Cups().cupsEncryption()), Cups().cupsUser()};
}

std::chrono::milliseconds SpoolTimeout()
{
    if (const char* text = std::getenv("TAVELIN_PRINT_TIMEOUT")) {
        char* end = nullptr;
        const double seconds = std::strtod(text, &end);
        if (end != text && *end == '\0' && seconds >= 0.1 && seconds <= 600)
            return std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    }
    return std::chrono::seconds(10);
}

TCupsSession::TCupsSession(const TCupsServer& server, std::chrono::milliseconds timeout)
    : state_(std::make_unique<TState>())
{
    state_->Server = server;
    state_->Timeout = timeout;
    const std::string where = "印刷サービス（" + ServerName(server) + "）に接続できません";
    // Created unconnected, so that the reason of a failed connection stays
    // readable on the object.
    state_->Http = Cups().httpConnect2(server.Host.c_str(), server.Port, nullptr, AF_UNSPEC,
                                static_cast<http_encryption_t>(server.Encryption), 1, 0, nullptr);
    if (!state_->Http) {
        // The name was not found, most of the time.
        int code = errno ? errno : EHOSTUNREACH;
        if (!server.Host.empty() && server.Host.front() != '/') code = NetworkConnectError(server.Host, server.Port, timeout, code);
        if (code == 0) throw EPrinter(UnknownHostMessage(server.Host));
        throw EOSError(SystemErrorMessage(code, where));
    }
    // libcups waits this long for each part of an answer (an answer may come
    // in parts, its header at once and its body later), then asks GoOnWaiting.
    Cups().httpSetTimeout(state_->Http, std::chrono::duration<double>(timeout).count(), GoOnWaiting, state_.get());
    const int msec = static_cast<int>(std::max<long>(1, timeout.count()));
    if (Cups().httpReconnect2(state_->Http, msec, nullptr) != 0) {
        int code = Cups().httpError(state_->Http);
        if (code == 0) code = ETIMEDOUT;
        if (!server.Host.empty() && server.Host.front() == '/') {
            code = LocalConnectError(server.Host, code);
        } else if (!server.Host.empty()) {
            code = NetworkConnectError(server.Host, server.Port, timeout, code);
            if (code == 0) {
                Cups().httpClose(state_->Http);
                state_->Http = nullptr;
                throw EPrinter(UnknownHostMessage(server.Host));
            }
        }
        Cups().httpClose(state_->Http);
        state_->Http = nullptr;
        throw EOSError(SystemErrorMessage(code, where));
    }
}

TCupsSession::~TCupsSession()
{
    if (state_->Http) Cups().httpClose(state_->Http);
}

void TCupsSession::RaiseFailure(const std::string& printer, const std::string& what)
{
    RaiseFailure(printer, what, Cups().httpError(state_->Http), Cups().cupsLastError());
}

void TCupsSession::RaiseFailure(const std::string& printer, const std::string& what, int code, int status)
{
    // A connection that failed or went silent is a system error; a refusal
    // by the scheduler is said in words. libcups says EINVAL for an answer
    // whose rest did not come within the time-out.
    if (code == EINVAL && Clock::now() >= state_->Deadline) code = ETIMEDOUT;
    if (code != 0) {
        const std::string service = "印刷サービス（" + ServerName(state_->Server) + "）";
        const std::string reason = code == ETIMEDOUT ? service + "が" + Seconds(state_->Timeout) + "秒以内に応答しませんでした"
                                                     : service + "との接続が切れました";
        throw EOSError(SystemErrorMessage(code, reason), what);
    }
    throw EPrinter(PrinterWords(static_cast<ipp_status_t>(status), printer), what);
}

std::string TCupsSession::DefaultDestination()
{
    state_->Restart();
    cups_dest_t* dest = Cups().cupsGetNamedDest(state_->Http, nullptr, nullptr);
    if (dest) {
        const std::string name = dest->name;
        Cups().cupsFreeDests(1, dest);
        return name;
    }
    const ipp_status_t status = Cups().cupsLastError();
    if (Cups().httpError(state_->Http) != 0 || (status > IPP_STATUS_OK_EVENTS_COMPLETE && status != IPP_STATUS_ERROR_NOT_FOUND))
        RaiseFailure("", "プリンタを探せませんでした");
    // Something answered, but not as a print service does (a web server's
    // "404 Not Found"): that is not "no default printer".
    if (const http_status_t http = Cups().httpGetStatus(state_->Http); http >= HTTP_STATUS_MULTIPLE_CHOICES)
        throw EPrinter("「" + ServerName(state_->Server) + "」は印刷サービスではありません（HTTP " +
                           std::to_string(static_cast<int>(http)) + "）。印刷サービスの名前やポートを確かめてください",
                       "プリンタを探せませんでした");
    return {};
}

void TCupsSession::CheckDestination(const std::string& printer)
{
    state_->Restart();
    cups_dest_t* dest = Cups().cupsGetNamedDest(state_->Http, printer.c_str(), nullptr);
    if (dest) {
        Cups().cupsFreeDests(1, dest);
        return;
    }
    if (Cups().httpError(state_->Http) != 0) RaiseFailure(printer, "プリンタを確かめられませんでした");
    throw EPrinter(PrinterWords(IPP_STATUS_ERROR_NOT_FOUND, printer), "このプリンタでは印刷できません");
}

int TCupsSession::SubmitPdf(const std::string& printer, const std::string& title, const TJobOptions& options,
                            std::string_view pdf)
{
    http_t* http = state_->Http;
    const std::string notPrinted = "プリントは印刷されていません";
    const std::string resource = "/printers/" + printer;
    char uri[HTTP_MAX_URI];
    Cups().httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", state_->Server.Port,
                     "/printers/%s", printer.c_str());

    ipp_t* request = Cups().ippNewRequest(IPP_OP_CREATE_JOB);
    Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 state_->Server.User.c_str());
    Cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
    const TOptions jobOptions(options);
    Cups().cupsEncodeOptions2(request, jobOptions.count, jobOptions.list, IPP_TAG_OPERATION);
    Cups().cupsEncodeOptions2(request, jobOptions.count, jobOptions.list, IPP_TAG_JOB);
    state_->Restart();
    ipp_t* response = Cups().cupsDoRequest(http, request, resource.c_str());
    int jobId = 0;
    if (response && Cups().cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        if (ipp_attribute_t* id = Cups().ippFindAttribute(response, "job-id", IPP_TAG_INTEGER)) jobId = Cups().ippGetInteger(id, 0);
    }
    Cups().ippDelete(response);
    if (jobId <= 0) RaiseFailure(printer, notPrinted);

    // From here on a job exists: one that does not receive its whole
    // document is cancelled, so that no half sheet comes out.
    auto fail = [&] {
        const int code = Cups().httpError(http);
        const ipp_status_t status = Cups().cupsLastError();
        if (code == 0) {
            state_->Restart();
            Cups().cupsCancelJob2(http, printer.c_str(), jobId, 0);
        }
        RaiseFailure(printer, notPrinted, code, status);
    };
    state_->Restart();
    if (Cups().cupsStartDocument(http, printer.c_str(), jobId, title.c_str(), CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE)
        fail();
    for (size_t at = 0; at < pdf.size(); at += kChunk) {
        state_->Restart();
        const size_t length = std::min(kChunk, pdf.size() - at);
        if (Cups().cupsWriteRequestData(http, pdf.data() + at, length) != HTTP_STATUS_CONTINUE) fail();
    }
    state_->Restart();
    if (Cups().cupsFinishDocument(http, printer.c_str()) > IPP_STATUS_OK_EVENTS_COMPLETE) fail();
    return jobId;
}
