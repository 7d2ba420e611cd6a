#include "LogFile.h"

#include "lib/DateTime.h"
#include "lib/Error.h"
#include "lib/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tabulon {

namespace {

void createFolderOf(const std::string& path) {
    const std::string folder = GetFolderOfPath(path);
    if (!folder.empty())
        MkDirRecurse(folder);
}

[[noreturn]] void raise(int error, const std::string& path) {
    throw fileSystemError(std::error_code(error, std::generic_category()), path, errc::PathNotFound);
}

} // namespace

std::string LogTimeStamp(const LocalTime& t) {
    return DateTime::Parts{t.year, t.month, t.day, t.hour, t.minute, t.second}.isoText(' ');
}

std::string FormatLogEntry(const LocalTime& time, std::string_view text) {
    static constexpr std::string_view kContinuation = "\r\n                   \t";
    std::string entry = LogTimeStamp(time);
    entry += '\t';
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string_view::npos; start = at + 2) {
        entry.append(text.substr(start, at - start));
        entry.append(kContinuation);
    }
    entry.append(text.substr(start));
    entry += "\r\n";
    return entry;
}

void LogFile::InitLog() {
    createFolderOf(m_path);
    std::error_code error;
    std::filesystem::remove(toFsPath(m_path), error);
    if (error)
        throw fileSystemError(error, m_path, errc::FileNotFound);
}

void LogFile::WriteLog(std::string_view text) {
    const std::string entry = FormatLogEntry(currentLocalTime(), text);
    const bool truncate = m_clearLogMode && m_logFirstWrite;
    if (truncate)
        createFolderOf(m_path);
    std::FILE* file = openFile(m_path, truncate ? "wb" : "ab");
    if (!file)
        raise(errno, m_path);
    const bool written = std::fwrite(entry.data(), 1, entry.size(), file) == entry.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written)
        raise(written ? errno : writeError, m_path);
    m_logFirstWrite = false;
}

} // namespace tabulon
