#include "StartupFixture.h"

#include "settings/DependencyCheck.h"

#include <QtGlobal>

#include <fstream>
#include <regex>
#include <sstream>

namespace tabulon::test {

namespace {

std::string readAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

StartupFixture::StartupFixture()
    : m_store(m_folder.filePath(QStringLiteral("store.ini")).toStdString()),
      m_log(m_state, m_folder.filePath(QStringLiteral("appdata/Corvane/Tabulon/tabulon.log")).toStdString()),
      m_reporter(m_state, m_ui, m_log, [](int exitStatus) { throw ProgramEnded{exitStatus}; }),
      m_form(m_log.progress(), m_state.run) {
    // The application data folder (wizard.ini) follows APPDATA, as on Windows.
    qputenv("APPDATA", m_folder.filePath(QStringLiteral("appdata")).toUtf8());
    m_components = {{"Always there", "", [] {}}};
}

std::string StartupFixture::path(const std::string& name) const {
    return m_folder.filePath(QString::fromStdString(name)).toStdString();
}

int StartupFixture::start(const std::string& commandLine) {
    m_state.commandLine = commandLine;
    Startup startup(m_state, m_ui, m_store, m_log, m_reporter, m_form, m_components);
    try {
        startup.FormLoad();
    } catch (const ProgramEnded& ended) {
        return ended.exitStatus;
    }
    return -1;
}

std::vector<std::string> StartupFixture::logEntries() const {
    static const std::regex stamped(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\t)");
    const std::string continuation(19, ' ');
    std::vector<std::string> entries;
    std::istringstream lines(readAll(m_log.path()));
    for (std::string line; std::getline(lines, line, '\n');) {
        if (line.empty() || line.back() != '\r') {
            ADD_FAILURE() << "log line not ended by CR LF: " << line;
            continue;
        }
        line.pop_back();
        if (line.compare(0, 20, continuation + "\t") == 0 && !entries.empty())
            entries.back() += "\r\n" + line.substr(20);
        else if (std::regex_search(line, stamped))
            entries.push_back(line.substr(20));
        else
            ADD_FAILURE() << "log line without time stamp: " << line;
    }
    return entries;
}

void StartupFixture::writeFile(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
}

} // namespace tabulon::test
