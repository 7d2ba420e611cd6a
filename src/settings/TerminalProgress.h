#pragma once

#include "lib/Progress.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tabulon {

// The unattended run's one line on the terminal: which table of how many, its name, the records
// done of its total and the records per second, rewritten in place as the run goes on and cleared
// at the end, so the terminal is left as it was. Everything is passed on to the progress it wraps
// (the log). At most ten pictures a second, so the record path does not wait for the terminal.
class TerminalProgress : public Progress {
public:
    using Clock = std::chrono::steady_clock;

    // `columns`: the terminal's width; the line is cut to fit, since a wrapped line cannot be rewritten.
    TerminalProgress(Progress& inner, std::FILE* out, int columns, std::function<Clock::time_point()> now = Clock::now);
    // Clears the line.
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // A line on standard error when it is a terminal; nothing otherwise (a pipe, a file, cron).
    static std::unique_ptr<TerminalProgress> onStandardError(Progress& inner);

    // The tables the run will move, in its order: they give "n of N".
    void setTables(std::vector<std::string> tables) { m_tables = std::move(tables); }
    // Takes the line off the terminal, if one is shown.
    void clear();

    void addStatusLine(const std::string& text) override;
    void startProgress(const std::string& kind, int minimum, int maximum) override;
    void setProgress(const std::string& caption, int value) override;
    void processEvents() override { m_inner.processEvents(); }

private:
    void beginTable(const std::string& name);
    void draw(bool now);
    std::string line() const;

    Progress& m_inner;
    std::FILE* m_out;
    int m_columns;
    std::function<Clock::time_point()> m_now;
    std::vector<std::string> m_tables;
    std::string m_scanning; // the table whose structure is being read, before the run
    std::string m_table;
    std::size_t m_tableNumber = 0;
    std::int64_t m_done = 0;
    std::int64_t m_total = -1; // not known yet
    Clock::time_point m_tableStart;
    Clock::time_point m_lastDrawn;
    bool m_shown = false;
};

// The picture of a line cut to `columns` characters (UTF-8 code points), so it never wraps.
std::string FitToColumns(const std::string& text, int columns);

// 1234567 as "1,234,567".
std::string GroupDigits(std::int64_t number);

} // namespace tabulon
