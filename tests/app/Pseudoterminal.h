#pragma once

#include <string>
#include <vector>

namespace tabulon::test {

struct TerminalRun {
    int exitCode = -1;
    std::string screen; // every byte the program wrote to its terminal
};

// Runs a program with its standard input, output and error on a new pseudo-terminal of 80 columns,
// as when a person starts it in a terminal window, and collects what it writes there. `environment`
// holds "NAME=value" texts. Gives up after `timeoutSeconds`.
TerminalRun RunOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment, const std::string& workingFolder,
                          int timeoutSeconds = 120);

} // namespace tabulon::test
