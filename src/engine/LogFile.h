#pragma once

#include "Platform.h"
#include "lib/Progress.h"

#include <string>
#include <string_view>

namespace tabulon {

// "YYYY-MM-DD hh:mm:ss", 19 characters.
std::string LogTimeStamp(const LocalTime& time);

// One log entry: the time stamp, a tab and the text, every CR LF inside the text followed by 19
// blanks and a tab so continuation lines stand under the first, and a closing CR LF.
std::string FormatLogEntry(const LocalTime& time, std::string_view text);

// The log of one run. Each entry opens, writes and closes the file, so the log is complete up to
// its last entry whatever happens to the process.
class LogFile {
public:
    explicit LogFile(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }
    // With clearLogMode set, the first entry after logFirstWrite was set empties the file.
    void setClearLogMode(bool on) { m_clearLogMode = on; }
    bool clearLogMode() const { return m_clearLogMode; }
    void setLogFirstWrite(bool on) { m_logFirstWrite = on; }
    bool logFirstWrite() const { return m_logFirstWrite; }

    // Creates the log's folder with every missing level and deletes an existing log file.
    // Raises an Error naming the path when either fails.
    void InitLog();
    // Appends one entry stamped with the local time. Raises an Error naming the path when the
    // file cannot be opened or written.
    void WriteLog(std::string_view text);

private:
    std::string m_path;
    bool m_clearLogMode = false;
    bool m_logFirstWrite = false;
};

// Status reporting for the unattended run: status lines go to the log; there is no bar to move
// and no window whose events could run.
class LogProgress : public Progress {
public:
    explicit LogProgress(LogFile& log) : m_log(log) {}

    void addStatusLine(const std::string& text) override { m_log.WriteLog(text); }
    void startProgress(const std::string&, int, int) override {}
    void setProgress(const std::string&, int) override {}
    void processEvents() override {}

private:
    LogFile& m_log;
};

} // namespace tabulon
