#pragma once

#include "lib/Progress.h"

#include <functional>
#include <string>
#include <vector>

// The status interface as a test sees it: every call recorded; `onEvents` runs where window events
// would (a test presses Cancel there).
class RecordingProgress : public tabulon::Progress {
public:
    void addStatusLine(const std::string& text) override {
        statusLines.push_back(text);
        processEvents();
    }
    void startProgress(const std::string& kind, int minimum, int maximum) override {
        starts.push_back(kind + " " + std::to_string(minimum) + " " + std::to_string(maximum));
    }
    void setProgress(const std::string& caption, int value) override {
        captions.push_back(caption);
        values.push_back(value);
    }
    void processEvents() override {
        if (onEvents)
            onEvents();
    }

    std::vector<std::string> statusLines;
    std::vector<std::string> starts;
    std::vector<std::string> captions;
    std::vector<int> values;
    std::function<void()> onEvents;
};
