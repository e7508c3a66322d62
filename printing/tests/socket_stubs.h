// Stand-ins for a scheduler that is not there: local sockets that never
// answer, or that nobody listens on.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

// A socket that takes connections (the kernel queues them) and never
// answers a request: a scheduler that hangs. Removed with the object.
class TSilentListener {
public:
    TSilentListener();
    ~TSilentListener();
    TSilentListener(const TSilentListener&) = delete;
    TSilentListener& operator=(const TSilentListener&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
};

// The socket file of a scheduler that has stopped: it is there, and a
// connection is refused. Removed with the object.
class TStaleSocket {
public:
    TStaleSocket();
    ~TStaleSocket();
    TStaleSocket(const TStaleSocket&) = delete;
    TStaleSocket& operator=(const TStaleSocket&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// A relay in front of the scheduler at `scheduler` (a local socket), on a
// socket of its own: what the program sends goes straight through, and each
// answer of the scheduler arrives in two parts, its HTTP header at once and
// the rest `delay` later, as from a busy or remote print server.
class TSplittingRelay {
public:
    TSplittingRelay(std::string scheduler, std::chrono::milliseconds delay);
    ~TSplittingRelay();
    TSplittingRelay(const TSplittingRelay&) = delete;
    TSplittingRelay& operator=(const TSplittingRelay&) = delete;
    const std::string& Path() const { return path_; }

private:
    void Serve();
    void Relay(int client);

    std::string scheduler_, path_;
    std::chrono::milliseconds delay_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

// A web server on 127.0.0.1 that answers every request "404 Not Found": an
// address that is not a print service.
class TNotAPrintService {
public:
    TNotAPrintService();
    ~TNotAPrintService();
    TNotAPrintService(const TNotAPrintService&) = delete;
    TNotAPrintService& operator=(const TNotAPrintService&) = delete;
    int Port() const { return port_; }

private:
    int fd_ = -1, port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
