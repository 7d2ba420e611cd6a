#pragma once

namespace tabulon {

// Lets an interrupt (Ctrl+C) or a termination request stop an unattended transfer at its next check,
// as the Cancel button does in the window; a second one ends the process at once.
void InstallInterruptHandler();

// True once an interrupt arrived.
bool InterruptRequested();

} // namespace tabulon
