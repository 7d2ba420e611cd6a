#pragma once

#include "lib/Progress.h"

#include <functional>
#include <string>

namespace tabulon {

struct FormControls;

// The status list and progress bar of the progress page, with the log file behind them. The scan
// and the conversion run report through it; each status line lets pending window events run, which
// is how the Cancel button is heard during a run.
class StatusLog : public Progress {
public:
    using LogWriter = std::function<void(const std::string&)>;

    StatusLog(FormControls& ui, LogWriter writeLog);

    // The one "Status Log" column of the list.
    void setUpColumn();
    // Removes every line; the next one gets the key "K1" again.
    void clear();

    void addStatusLine(const std::string& text) override;
    void startProgress(const std::string& kind, int minimum, int maximum) override;
    void setProgress(const std::string& caption, int value) override;
    void processEvents() override;

private:
    FormControls& m_ui;
    LogWriter m_writeLog;
};

} // namespace tabulon
