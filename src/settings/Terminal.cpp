#include "settings/Terminal.h"

#include "lib/Environment.h"

#ifndef _WIN32
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace tabulon {

namespace {
constexpr int kDefaultColumns = 80;
}

#ifdef _WIN32

// A Windows console rewrites lines only once asked to take escape sequences; the run stays quiet there.
bool StandardErrorIsTerminal() {
    return false;
}

int TerminalColumns() {
    return kDefaultColumns;
}

#else

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1 && environmentVariable("TERM") != "dumb";
}

int TerminalColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return kDefaultColumns;
}

#endif

} // namespace tabulon
