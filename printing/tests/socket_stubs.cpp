#include "socket_stubs.h"

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
