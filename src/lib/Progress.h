#pragma once

#include <string>

namespace tabulon {

// How long operations (scan, conversion run, record transfer) report what they do. The wizard
// implements it with its status list and progress bar; the unattended run with the log file alone.
class Progress {
public:
    virtual ~Progress() = default;

    // Adds a status line, writes it to the log and lets pending window events run.
    virtual void addStatusLine(const std::string& text) = 0;
    // Shows the bar for kind "PROGRESS" (any letter case) with the range, a maximum of 0 made 1; hides it otherwise.
    virtual void startProgress(const std::string& kind, int minimum, int maximum) = 0;
    // Sets the caption above the bar and its position.
    virtual void setProgress(const std::string& caption, int value) = 0;
    // Lets pending window events run (a Cancel click is handled here).
    virtual void processEvents() = 0;
};

// The process flags that the conversion shares with the window: the Cancel button sets
// `cancelRequested` while `conversionRunning` is set; the run and the record transfer poll it.
struct RunFlags {
    bool cancelRequested = false;
    bool conversionRunning = false;
    bool unitTestMode = false;
};

} // namespace tabulon
