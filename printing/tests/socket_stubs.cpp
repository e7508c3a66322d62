#include "socket_stubs.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <stdexcept>

namespace {

std::string FreshPath(const char* kind)
{
    static std::atomic<int> counter{0};
    return "/tmp/tavelin-" + std::string(kind) + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++) +
           ".sock";
}

int BoundSocket(const std::string& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    unlink(path.c_str());
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("cannot bind " + path);
    return fd;
}

}  // namespace

TSilentListener::TSilentListener() : path_(FreshPath("silent"))
{
    fd_ = BoundSocket(path_);
    listen(fd_, 64);
}

TSilentListener::~TSilentListener()
{
    close(fd_);
    unlink(path_.c_str());
}

TStaleSocket::TStaleSocket() : path_(FreshPath("stale"))
{
    close(BoundSocket(path_));
}

TStaleSocket::~TStaleSocket()
{
    unlink(path_.c_str());
}

namespace {

// Waits up to 50 ms for `fd` to be readable.
bool Readable(int fd)
{
    pollfd waiting{fd, POLLIN, 0};
    return poll(&waiting, 1, 50) > 0;
}

bool SendAll(int fd, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t sent = send(fd, data, length, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        data += sent;
        length -= static_cast<size_t>(sent);
    }
    return true;
}

}  // namespace

TSplittingRelay::TSplittingRelay(std::string scheduler, std::chrono::milliseconds delay)
    : scheduler_(std::move(scheduler)), path_(FreshPath("relay")), delay_(delay)
{
    fd_ = BoundSocket(path_);
    listen(fd_, 64);
    threads_.emplace_back([this] { Serve(); });
}

TSplittingRelay::~TSplittingRelay()
{
    stop_ = true;
    for (std::thread& thread : threads_) thread.join();
    close(fd_);
    unlink(path_.c_str());
}

void TSplittingRelay::Serve()
{
    std::vector<std::thread> connections;
    while (!stop_) {
        if (!Readable(fd_)) continue;
        const int client = accept(fd_, nullptr, nullptr);
        if (client >= 0) connections.emplace_back([this, client] { Relay(client); });
    }
    for (std::thread& connection : connections) connection.join();
}

void TSplittingRelay::Relay(int client)
{
    const int server = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, scheduler_.c_str(), sizeof address.sun_path - 1);
    if (connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(server);
        close(client);
        return;
    }
    bool headerSent = false;  // a header went on alone: the next part waits
    char buffer[65536];
    while (!stop_) {
        pollfd both[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        if (poll(both, 2, 50) <= 0) continue;
        if (both[0].revents) {
            const ssize_t got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0 || !SendAll(server, buffer, static_cast<size_t>(got))) break;
        }
        if (both[1].revents) {
            const ssize_t got = recv(server, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            std::string part(buffer, static_cast<size_t>(got));
            if (headerSent) {
                std::this_thread::sleep_for(delay_);
                headerSent = false;
            }
            if (const size_t end = part.find("\r\n\r\n"); end != std::string::npos) {
                if (!SendAll(client, part.data(), end + 4)) break;
                part.erase(0, end + 4);
                if (part.empty()) {
                    headerSent = true;
                    continue;
                }
                std::this_thread::sleep_for(delay_);
            }
            if (!SendAll(client, part.data(), part.size())) break;
        }
    }
    close(server);
    close(client);
}

TNotAPrintService::TNotAPrintService()
{
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd_, 16) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
        while (!stop_) {
            if (!Readable(fd_)) continue;
            const int client = accept(fd_, nullptr, nullptr);
            if (client < 0) continue;
            // Read the request's header, then say there is no such page.
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos && Readable(client)) {
                const ssize_t got = recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) break;
                request.append(buffer, static_cast<size_t>(got));
            }
            const std::string answer = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
            SendAll(client, answer.data(), answer.size());
            close(client);
        }
    });
}

TNotAPrintService::~TNotAPrintService()
{
    stop_ = true;
    thread_.join();
    close(fd_);
}
