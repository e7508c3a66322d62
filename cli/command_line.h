// The program without its window: sheets as PDF, presets and the history,
// from the command line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// True when the program was started with anything at all: the command line
// runs instead of the window, and refuses what it does not know.
bool HasCommandLineOptions(int argc, char** argv);

// Runs the command line on its own application object, on the offscreen
// platform (no display needed). Messages, in Japanese and as the window
// words them, go to `err`; listings and results to `out`. Returns the exit
// status: 0 on success, 1 for a bad option, a refused file or output that
// could not be written, 2 for a shortfall that stopped a set.
int RunCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err, bool outputClosed = false);

// Gives each of the standard streams that the caller closed /dev/null, so
// that no file the program opens takes its number (and is written as
// standard output). True when standard output was closed.
bool KeepStandardStreamsOpen();

// The same on arguments already split (without the program name), inside a
// running Qt application; for tests.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
