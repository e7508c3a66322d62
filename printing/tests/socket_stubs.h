// Stand-ins for a scheduler that is not there: local sockets that never
// answer, or that nobody listens on.
#pragma once

#include <string>

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
