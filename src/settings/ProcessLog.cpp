#include "settings/ProcessLog.h"

#include "settings/ProcessState.h"

namespace tabulon {

ProcessLog::ProcessLog(ProcessState& state, std::string path)
    : m_state(state), m_file(std::move(path)), m_progress(m_file) {}

void ProcessLog::init() {
    m_file.InitLog();
}

void ProcessLog::write(const std::string& text) {
    // The process state owns the flags: start-up sets them, every write clears the first-write one.
    m_file.setClearLogMode(m_state.clearLogMode);
    m_file.setLogFirstWrite(m_state.logFirstWrite);
    m_file.WriteLog(text);
    m_state.logFirstWrite = m_file.logFirstWrite();
}

} // namespace tabulon
