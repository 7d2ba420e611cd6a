#pragma once

#include "engine/RunResult.h"

namespace tabulon {

// The exit status of the process, for scripts that run Tabulon unattended.
namespace exitstatus {
constexpr int Completed = 0;  // the run reached its end (or the window was closed normally)
constexpr int Failed = 1;     // an error ended the run or the start-up, or listed tables are not in the source
constexpr int NoSettings = 2; // "autorun" without "settings", or no settings section could be loaded
constexpr int Aborted = 3;    // the transfer was aborted: interrupted, or a table's records failed
} // namespace exitstatus

// The exit status that says how a run ended.
constexpr int ExitStatusOf(RunResult result) {
    switch (result) {
    case RunResult::Completed:
        return exitstatus::Completed;
    case RunResult::Cancelled:
    case RunResult::TableFailed:
        return exitstatus::Aborted;
    case RunResult::TablesNotFound:
    case RunResult::DestinationFailed:
    case RunResult::DumpFailed:
    case RunResult::Error:
        break;
    }
    return exitstatus::Failed;
}

} // namespace tabulon
