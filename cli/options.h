// The options of the command line, declared once: the parser, the checks of
// which options go together and the text of --help all read one table.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// A bad option or value: exit status 1 with the message.
class EUsage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One option: its name with the dashes, the placeholder of its value (empty
// for an option that takes none), the help line, and the commands it goes
// with (empty for a command itself).
struct TOptionRow {
    std::string Name;
    std::string Argument;
    std::string Help;
    std::vector<std::string> With;
    // Positional arguments a command takes after it (--history-pdf ID FILE);
    // kAnyCount for as many as follow (the command counts them itself).
    int Positional = 0;
    static constexpr int kAnyCount = -1;
};

// Every option, commands first in the order the help lists them.
const std::vector<TOptionRow>& OptionRows();

// The options as given.
struct TOptions {
    std::map<std::string, std::string> Values;  // name → value ("" for a flag)
    std::vector<std::string> Positional;       // after a command that takes them
    std::string Command;                        // the one command given

    bool Has(const std::string& name) const { return Values.count(name) != 0; }
    const std::string& Get(const std::string& name) const { return Values.at(name); }
};

// Reads `arguments` (without the program name) against the table: each
// option at most once, a value where one is needed ("--name VALUE" or
// "--name=VALUE"), exactly one command, and only the options that go with
// it. Raises EUsage, in Japanese, for anything else.
TOptions ParseOptions(const std::vector<std::string>& arguments);

// A whole number written in decimal digits (an optional "-" before them),
// from `low` to `high`; EUsage naming the option otherwise.
int64_t DecimalOption(const std::string& name, const std::string& text, int64_t low, int64_t high);

// The text of --help, made from the table.
std::string CommandLineHelp();
