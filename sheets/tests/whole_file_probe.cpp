// Writes a file whole, as the program does, for the tests that run it under
// a limit (a small RLIMIT_FSIZE, a full disk):
//   whole_file_probe PATH BYTES
// Exit status 0 when written, 1 with the message on standard error when not.
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "sheets/whole_file.h"

int main(int argc, char** argv)
{
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc != 3) return 2;
    try {
        WriteWholeFile(argv[1], std::string(static_cast<size_t>(std::atoi(argv[2])), 'x'));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
