#include "settings/TerminalProgress.h"

#include "settings/Terminal.h"

#include <algorithm>

namespace tabulon {

namespace {
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
// Carriage return, then erase to the end of the line: the terminal's way to rewrite a line.
constexpr const char* kReturn = "\r";
constexpr const char* kEraseRest = "\x1b[K";

// The texts of the status lines that the scan and the run write for each table.
constexpr std::string_view kTableLine = "Table: ";
constexpr std::string_view kScanLine = "  - Reading ";

bool startsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}
} // namespace

TerminalProgress::TerminalProgress(Progress& inner, std::FILE* out, int columns, std::function<Clock::time_point()> now)
    : m_inner(inner), m_out(out), m_columns(columns), m_now(std::move(now)) {}

TerminalProgress::~TerminalProgress() {
    clear();
}

std::unique_ptr<TerminalProgress> TerminalProgress::onStandardError(Progress& inner) {
    if (!StandardErrorIsTerminal())
        return nullptr;
    return std::make_unique<TerminalProgress>(inner, stderr, TerminalColumns());
}

void TerminalProgress::clear() {
    if (!m_shown)
        return;
    std::fputs(kReturn, m_out);
    std::fputs(kEraseRest, m_out);
    std::fflush(m_out);
    m_shown = false;
}

void TerminalProgress::addStatusLine(const std::string& text) {
    m_inner.addStatusLine(text);
    if (startsWith(text, kTableLine)) {
        beginTable(text.substr(kTableLine.size()));
    } else if (startsWith(text, kScanLine)) {
        m_scanning = text.substr(kScanLine.size());
        draw(false);
    }
}

void TerminalProgress::beginTable(const std::string& name) {
    m_table = name;
    const auto found = std::find(m_tables.begin(), m_tables.end(), name);
    m_tableNumber = found == m_tables.end() ? 0 : static_cast<std::size_t>(found - m_tables.begin()) + 1;
    m_done = 0;
    m_total = -1;
    m_tableStart = m_now();
    draw(true);
}

void TerminalProgress::startProgress(const std::string& kind, int minimum, int maximum) {
    m_inner.startProgress(kind, minimum, maximum);
    m_total = maximum;
    draw(true);
}

void TerminalProgress::setProgress(const std::string& caption, int value) {
    m_inner.setProgress(caption, value);
    m_done = value;
    draw(false);
}

void TerminalProgress::draw(bool now) {
    const Clock::time_point time = m_now();
    if (!now && m_shown && time - m_lastDrawn < kRedrawInterval)
        return;
    m_lastDrawn = time;
    const std::string text = kReturn + FitToColumns(line(), m_columns - 1) + kEraseRest;
    std::fputs(text.c_str(), m_out);
    std::fflush(m_out);
    m_shown = true;
}

std::string TerminalProgress::line() const {
    if (m_table.empty())
        return "Reading the structure of " + m_scanning;
    std::string text = m_tableNumber > 0 ? "Table " + std::to_string(m_tableNumber) + " of " +
                                               std::to_string(m_tables.size()) + ": " + m_table
                                         : "Table: " + m_table;
    text += "  " + GroupDigits(m_done);
    if (m_total >= 0)
        text += " of " + GroupDigits(m_total);
    text += " records";
    const double seconds = std::chrono::duration<double>(m_lastDrawn - m_tableStart).count();
    // Under half a second the rate says more about the start than about the table.
    if (seconds >= 0.5)
        text += "  " + GroupDigits(static_cast<std::int64_t>(static_cast<double>(m_done) / seconds)) + " records/s";
    return text;
}

std::string FitToColumns(const std::string& text, int columns) {
    std::string fitted;
    int used = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool continuation = (byte & 0xC0) == 0x80;
        if (!continuation && ++used > columns)
            break;
        // A control character would move the cursor: the line could no longer be rewritten.
        fitted += byte < 0x20 || byte == 0x7F ? '?' : text[i];
    }
    return fitted;
}

std::string GroupDigits(std::int64_t number) {
    const auto magnitude = number < 0 ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
    const std::string digits = std::to_string(magnitude);
    std::string grouped = number < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

} // namespace tabulon
