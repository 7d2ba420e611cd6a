#pragma once

namespace tabulon {

class MainFormPort;
class ProcessLog;
struct ProcessState;

// The unattended run of start-up: scans the source named by the controls (as the loaded settings
// filled them) into `state.currentSchema`, runs the conversion with the loaded settings themselves,
// and logs the report. Returns the exit status: Completed, Failed (the run ended on an error, or
// tables it was to move are not in the source) or Aborted (the transfer was aborted). Errors of
// the scan pass to the caller.
int RunUnattendedConversion(ProcessState& state, MainFormPort& form, ProcessLog& log);

} // namespace tabulon
