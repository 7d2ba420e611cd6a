#include "settings/Interrupt.h"

#include <csignal>

namespace tabulon {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int signalNumber) {
    interrupted = 1;
    std::signal(signalNumber, SIG_DFL);
}

} // namespace

void InstallInterruptHandler() {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

bool InterruptRequested() {
    return interrupted != 0;
}

} // namespace tabulon
