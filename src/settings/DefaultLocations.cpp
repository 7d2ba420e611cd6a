#include "settings/DefaultLocations.h"

#include "lib/Environment.h"
#include "lib/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

#include <filesystem>

namespace tabulon {

namespace {

constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

std::string userConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
}

std::string computerName() {
    static const std::string name = QSysInfo::machineHostName().toStdString();
    return name;
}

bool sqlExpressRegistered() {
#ifdef _WIN32
    const QSettings instances(
        QStringLiteral(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Microsoft SQL Server\Instance Names\SQL)"),
        QSettings::Registry64Format);
    return !instances.value(QStringLiteral("SQLEXPRESS")).toString().isEmpty();
#else
    // SQL Server on Linux registers no named instances anywhere a client could look them up.
    return false;
#endif
}

std::string firstNonEmpty(std::initializer_list<std::string> candidates) {
    for (const std::string& candidate : candidates)
        if (!candidate.empty())
            return candidate;
    return {};
}

} // namespace

std::string ApplicationDataFolder() {
    // As on Windows, no separator is added to or removed from the folder named by APPDATA.
    std::string base = environmentVariable("APPDATA");
    if (base.empty())
        base = userConfigFolder();
    return base + kSeparator + "Corvane" + kSeparator + "Tabulon";
}

std::string DefaultSettingsPath() {
    return ApplicationDataFolder() + kSeparator + "wizard.ini";
}

std::string LogFilePath(const std::string& programPath) {
    std::string baseName = std::filesystem::path(programPath).stem().string();
    if (baseName.empty())
        baseName = "tabulon";
    return ApplicationDataFolder() + kSeparator + baseName + ".log";
}

std::string DefaultDestinationServer() {
    return sqlExpressRegistered() ? computerName() + "\\SQLEXPRESS" : computerName();
}

std::string DocumentsFolder() {
    // Qt names ~/Documents even where no such folder was ever made.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return QDir::toNativeSeparators(folder).toStdString();
}

std::string DefaultDumpFileName() {
    std::string folder = DocumentsFolder();
    if (!FolderExists(folder))
        folder = firstNonEmpty({environmentVariable("APPDATA"), environmentVariable("TEMP"), environmentVariable("TMP"),
                                temporaryFolder()});
    return CollapseDoubleSeparators(folder + kSeparator + "dump.sql");
}

std::string InstalledManualPath() {
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/tabulon/README.html");
    return QDir::toNativeSeparators(QDir::cleanPath(path)).toStdString();
}

std::string ManualPath() {
    for (const std::string& candidate :
         {InstalledManualPath(), std::string(TABULON_BUILD_MANUAL), std::string(TABULON_SOURCE_README)})
        if (FileExists(candidate))
            return candidate;
    return {};
}

std::string CollapseDoubleSeparators(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 1 && path[i] == kSeparator && out.back() == kSeparator)
            continue;
        out.push_back(path[i]);
    }
    return out;
}

} // namespace tabulon
