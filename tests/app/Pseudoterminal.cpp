#include "Pseudoterminal.h"

#include <cerrno>
#include <chrono>
#include <csignal>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tabulon::test {

namespace {
std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

[[noreturn]] void startChild(int terminal, const std::string& program, std::vector<std::string> arguments,
                             std::vector<std::string> environment, const std::string& workingFolder) {
    ::setsid();
    for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        ::dup2(terminal, stream);
    ::close(terminal);
    if (::chdir(workingFolder.c_str()) != 0)
        ::_exit(126);
    arguments.insert(arguments.begin(), program);
    ::execve(program.c_str(), pointersTo(arguments).data(), pointersTo(environment).data());
    ::_exit(127);
}
} // namespace

TerminalRun RunOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                          const std::vector<std::string>& environment, const std::string& workingFolder,
                          int timeoutSeconds) {
    TerminalRun result;
    int master = -1, slave = -1;
    winsize size{};
    size.ws_row = 24;
    size.ws_col = 80;
    if (::openpty(&master, &slave, nullptr, nullptr, &size) != 0)
        return result;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(master);
        startChild(slave, program, arguments, environment, workingFolder);
    }
    ::close(slave);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{master, POLLIN, 0};
        if (::poll(&ready, 1, 200) <= 0)
            continue;
        const ssize_t count = ::read(master, buffer, sizeof buffer);
        if (count <= 0)
            break; // EIO: every copy of the terminal's other end is closed, the program has ended
        result.screen.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(master);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return result;
        }
        ::usleep(10000);
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace tabulon::test
