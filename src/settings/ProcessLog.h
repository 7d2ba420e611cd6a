#pragma once

#include "engine/LogFile.h"

#include <string>

namespace tabulon {

class Progress;
struct ProcessState;

// The log file of this process, written with the process's "clearlog" and first-write flags, and a
// progress that sends status lines to it alone (the unattended run shows no window).
class ProcessLog {
public:
    ProcessLog(ProcessState& state, std::string path);

    const std::string& path() const { return m_file.path(); }
    // Creates the log's folder and deletes the log of the previous start.
    void init();
    // Appends one entry; raises an Error naming the file when it cannot be written.
    void write(const std::string& text);
    Progress& progress() { return m_progress; }

private:
    ProcessState& m_state;
    LogFile m_file;
    LogProgress m_progress;
};

} // namespace tabulon
