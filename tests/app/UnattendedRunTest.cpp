// Runs the built program as a user or a scheduler would, with APPDATA, TEMP, XDG_CONFIG_HOME and
// HOME in a scratch folder and no display, and checks what it leaves behind.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>

#include "Pseudoterminal.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

struct Finished {
    int exitCode = -1;
    std::string output;
    std::string errors;
};

class UnattendedRunTest : public ::testing::Test {
protected:
    UnattendedRunTest() {
        for (const char* folder : {"appdata", "temp", "config", "home", "out"})
            QDir(m_root.path()).mkpath(QString::fromLatin1(folder));
    }

    std::string path(const std::string& name) const {
        return m_root.filePath(QString::fromStdString(name)).toStdString();
    }

    // No display and no session, as under cron: no XDG_RUNTIME_DIR either.
    QProcessEnvironment environment(const QString& temporaryFolder = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("APPDATA"), m_root.filePath(QStringLiteral("appdata")));
        environment.insert(QStringLiteral("TEMP"),
                           temporaryFolder.isEmpty() ? m_root.filePath(QStringLiteral("temp")) : temporaryFolder);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
        return environment;
    }

    Finished run(const QStringList& arguments, const QString& temporaryFolder = {}) const {
        QProcess process;
        process.setProcessEnvironment(environment(temporaryFolder));
        process.setWorkingDirectory(m_root.path());
        process.start(QStringLiteral(TABULON_EXECUTABLE), arguments);
        EXPECT_TRUE(process.waitForFinished(120000)) << "tabulon did not end";
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
    }

    // An unattended run of the settings file run.ini, with no message box.
    Finished autorun() const {
        return run({QStringLiteral("-autorun"), QStringLiteral("-hide"),
                    QStringLiteral("-settings=") + QString::fromStdString(path("run.ini"))});
    }

    std::string readFile(const std::string& name) const {
        QFile file(QString::fromStdString(path(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    void writeFile(const std::string& name, const std::string& text) const {
        QFile file(QString::fromStdString(path(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    // A settings file that converts Table1 and Table3 of a real Access 97 file into out/dump.sql.
    std::string writeSettings(const std::string& sourceFile, const std::string& extra = {}) const {
        writeFile("run.ini", "[Verdix Tessoral]\r\n"
                             "  sourcefilename=" +
                                 sourceFile +
                                 "\r\n"
                                 "  destinationmethod=DUMP\r\n"
                                 "  destinationdatabase=sample\r\n"
                                 "  destinationdumpfilename=" +
                                 path("out/dump.sql") +
                                 "\r\n"
                                 "  sourcetables[]=\"Table1\",\"Table3\"\r\n" +
                                 extra);
        return path("run.ini");
    }

    static std::string sample() { return std::string(TABULON_TEST_DATA) + "/access/a97_basic_types.mdb"; }

    // The log's entries without their time stamps, after checking every line's form: a 19-character
    // time stamp and a tab, or for a continuation line 19 spaces and a tab; every line ends in CR LF.
    std::vector<std::string> logEntries() const {
        static const std::regex stamped(
            R"(^\d{4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01]) ([01]\d|2[0-3]):[0-5]\d:[0-5]\d\t)");
        const std::string text = readFile("appdata/Corvane/Tabulon/tabulon.log");
        std::vector<std::string> entries;
        std::size_t begin = 0;
        while (begin < text.size()) {
            const std::size_t end = text.find("\r\n", begin);
            if (end == std::string::npos) {
                ADD_FAILURE() << "the log ends without CR LF: " << text.substr(begin);
                break;
            }
            const std::string line = text.substr(begin, end - begin);
            begin = end + 2;
            if (line.compare(0, 20, std::string(19, ' ') + "\t") == 0 && !entries.empty())
                entries.back() += "\r\n" + line.substr(20);
            else if (std::regex_search(line, stamped))
                entries.push_back(line.substr(20));
            else
                ADD_FAILURE() << "a log line without time stamp: " << line;
        }
        return entries;
    }

    QTemporaryDir m_root;
};

bool contains(const std::vector<std::string>& entries, const std::string& text) {
    return std::find(entries.begin(), entries.end(), text) != entries.end();
}

} // namespace

TEST_F(UnattendedRunTest, ConvertsARealDatabaseIntoADumpWithoutADisplay) {
    const std::string settings = writeSettings(sample());
    const Finished finished =
        run({QStringLiteral("-autorun"), QStringLiteral("-settings=") + QString::fromStdString(settings),
             QStringLiteral("-hide")});
    EXPECT_EQ(finished.exitCode, 0) << finished.errors;

    const std::vector<std::string> entries = logEntries();
    ASSERT_GE(entries.size(), 5u);
    EXPECT_EQ(entries[0], "Begin");
    EXPECT_EQ(entries[1], "Run count is 1");
    EXPECT_EQ(entries[2], "Commandline: -autorun -settings=" + settings + " -hide");
    EXPECT_EQ(entries.back(), "End");
    EXPECT_TRUE(contains(entries, "Connecting to source database"));
    EXPECT_TRUE(contains(entries, "Table: Table1"));
    EXPECT_TRUE(contains(entries, "  Transfer completed"));

    const auto report = std::find_if(entries.begin(), entries.end(),
                                     [](const std::string& entry) { return entry.rfind("SETTINGS\r\n", 0) == 0; });
    ASSERT_NE(report, entries.end()) << "the report is not in the log";
    EXPECT_NE(report->find("Moving data to " + path("out/dump.sql")), std::string::npos);
    EXPECT_NE(report->find("Table: Table1\r\n- 2 records moved"), std::string::npos);
    EXPECT_NE(report->find("Table: Table3\r\n- 0 records moved"), std::string::npos);
    EXPECT_EQ(report->find("Table2"), std::string::npos);

    const std::string dump = readFile("out/dump.sql");
    EXPECT_NE(dump.find("CREATE DATABASE [sample]"), std::string::npos);
    EXPECT_NE(dump.find("CREATE TABLE [Table1]"), std::string::npos);
    EXPECT_NE(dump.find("N'abcdefg'"), std::string::npos);
    EXPECT_EQ(dump.find("[Table2]"), std::string::npos);

    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("appdata/Corvane/Tabulon/wizard.ini"))))
        << "an unattended run must not save the settings";
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path("temp/access.xml"))));
}

// A scheduler must be able to tell a partial dump from a complete one: a table whose records fail
// ends the run with status 3, and the log says which table and why.
TEST_F(UnattendedRunTest, ATableWhoseRecordsFailEndsWithStatus3AndTheLogSaysWhy) {
    const std::string edge = std::string(TABULON_TEST_DATA) + "/generated/edge.accdb";
    writeFile("run.ini", "[Verdix Tessoral]\r\n"
                         "sourcefilename=" +
                             edge +
                             "\r\n"
                             "destinationdumpfilename=" +
                             path("out/dump.sql") +
                             "\r\n"
                             "destinationdatabase=edge\r\n"
                             "ignorelargeblobs=0\r\n"
                             "sourcetables[]=\"AllTypes\",\"Customers\"\r\n");
    const Finished finished = run({QStringLiteral("-autorun"), QStringLiteral("-hide"),
                                   QStringLiteral("-settings=") + QString::fromStdString(path("run.ini"))});
    EXPECT_EQ(finished.exitCode, 3) << finished.errors;

    const std::vector<std::string> entries = logEntries();
    const auto report = std::find_if(entries.begin(), entries.end(),
                                     [](const std::string& entry) { return entry.rfind("SETTINGS\r\n", 0) == 0; });
    ASSERT_NE(report, entries.end()) << "the report is not in the log";
    const std::size_t table = report->find("Table: AllTypes\r\n");
    EXPECT_NE(table, std::string::npos) << *report;
    EXPECT_NE(report->find("\r\nError moving data\r\nError: 1003\r\nReason: The maximum blob size of "
                           "500000 bytes was exceeded by a blob of 500001 bytes.",
                           table),
              std::string::npos)
        << *report;
    EXPECT_NE(report->find("\r\nTransfer was aborted\r\n"), std::string::npos) << *report;
    EXPECT_EQ(report->find("Table: Customers"), std::string::npos) << *report;
    EXPECT_TRUE(contains(entries, "  Transfer was aborted"));
    EXPECT_EQ(entries.back(), "End");
}

TEST_F(UnattendedRunTest, KeysAppendedWithOtherLineEndsOrTabsAreRead) {
    // A CR LF file appended to with `echo` (LF only) and a tab-indented key: each must count.
    writeFile("run.ini", "[Verdix Tessoral]\r\n"
                         "  sourcefilename=" +
                             sample() +
                             "\r\n"
                             "  destinationmethod=DUMP\r\n"
                             "  destinationdatabase=sample\r\n"
                             "  sourcetables[]=\"Table1\"\r\n"
                             "destinationdumpfilename=" +
                             path("out/edited.sql") +
                             "\n"
                             "columnlist=0\n"
                             "\ttableprefix=t_\r\n");
    const Finished finished = autorun();
    EXPECT_EQ(finished.exitCode, 0) << finished.errors;
    const std::string dump = readFile("out/edited.sql");
    EXPECT_NE(dump.find("INSERT INTO [t_Table1] VALUES (N'a'"), std::string::npos) << dump;
}

TEST_F(UnattendedRunTest, ListedTablesTheSourceLacksEndWithStatus1AndAreNamed) {
    // Only missing tables: nothing is converted, and that must not pass for success.
    writeFile("run.ini", "[Verdix Tessoral]\r\n"
                         "  sourcefilename=" +
                             sample() +
                             "\r\n"
                             "  destinationdumpfilename=" +
                             path("out/dump.sql") +
                             "\r\n"
                             "  sourcetables[]=\"Tabel1\"\r\n");
    Finished finished = autorun();
    EXPECT_EQ(finished.exitCode, 1) << finished.errors;
    std::vector<std::string> entries = logEntries();
    EXPECT_TRUE(contains(entries, "Table: Tabel1 - not found in the source database"));
    EXPECT_EQ(readFile("out/dump.sql").find("CREATE TABLE"), std::string::npos);

    // One missing and one present table: the present one still moves, the status stays 1.
    writeSettings(sample(), "  sourcetables[]=\"Table1\",\"Tabel3\"\r\n");
    finished = autorun();
    EXPECT_EQ(finished.exitCode, 1) << finished.errors;
    entries = logEntries();
    const auto report = std::find_if(entries.begin(), entries.end(),
                                     [](const std::string& entry) { return entry.rfind("SETTINGS\r\n", 0) == 0; });
    ASSERT_NE(report, entries.end()) << "the report is not in the log";
    EXPECT_NE(report->find("Table: Tabel3 - not found in the source database\r\nTable: Table1\r\n"), std::string::npos)
        << *report;
    EXPECT_NE(readFile("out/dump.sql").find("N'abcdefg'"), std::string::npos);
    EXPECT_EQ(entries.back(), "End");
}

TEST_F(UnattendedRunTest, RunsFromTheAutomaticSettingsFileAndLeavesItAsItWas) {
    QDir(m_root.path()).mkpath(QStringLiteral("appdata/Corvane/Tabulon"));
    writeSettings(sample());
    const std::string settings = readFile("run.ini");
    writeFile("appdata/Corvane/Tabulon/wizard.ini", settings);
    const Finished finished =
        run({QStringLiteral("-autorun"), QStringLiteral("-hide"),
             QStringLiteral("-settings=") + m_root.filePath(QStringLiteral("appdata/Corvane/Tabulon/wizard.ini"))});
    EXPECT_EQ(finished.exitCode, 0) << finished.errors;

    EXPECT_EQ(readFile("appdata/Corvane/Tabulon/wizard.ini"), settings);
    EXPECT_NE(readFile("out/dump.sql").find("CREATE TABLE [Table3]"), std::string::npos);
}

TEST_F(UnattendedRunTest, UnittestPutsNoVersionIntoTheDumpHeader) {
    const std::string settings = writeSettings(sample());
    run({QStringLiteral("-autorun"), QStringLiteral("-hide"), QStringLiteral("-unittest"),
         QStringLiteral("-settings=") + QString::fromStdString(settings)});
    const std::string dump = readFile("out/dump.sql");
    EXPECT_NE(dump.find("-- Program Version UNITTEST\r\n"), std::string::npos) << dump.substr(0, 400);
}

TEST_F(UnattendedRunTest, AutorunWithoutSettingsEndsWithStatus2AndConvertsNothing) {
    const Finished finished = run({QStringLiteral("-autorun"), QStringLiteral("-hide")});
    EXPECT_EQ(finished.exitCode, 2);

    const std::vector<std::string> expected = {
        "Begin", "Run count is 1", "Commandline: -autorun -hide",
        "When you set the \"autorun\" parameter you must also specify a value for the \"settings\" prarameter.", "End"};
    EXPECT_EQ(logEntries(), expected);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("out/dump.sql"))));
}

TEST_F(UnattendedRunTest, AMissingSettingsFileEndsWithStatus2AndItsIndentedMessage) {
    const Finished finished =
        run({QStringLiteral("-autorun"), QStringLiteral("-settings=") + QString::fromStdString(path("missing.ini"))});
    EXPECT_EQ(finished.exitCode, 2);

    const std::string log = readFile("appdata/Corvane/Tabulon/tabulon.log");
    EXPECT_NE(log.find("\tUnable to load ini file: " + path("missing.ini") + "\r\n" + std::string(19, ' ') +
                       "\tDefault settings applied.\r\n"),
              std::string::npos);
    EXPECT_EQ(logEntries().back(), "End");
}

TEST_F(UnattendedRunTest, AnUnreadableSourceIsReportedUnderFormLoadWithStatus1) {
    const Finished finished =
        run({QStringLiteral("-autorun"), QStringLiteral("-hide"),
             QStringLiteral("-settings=") + QString::fromStdString(writeSettings(path("gone.mdb")))});
    EXPECT_EQ(finished.exitCode, 1);

    const std::vector<std::string> entries = logEntries();
    ASSERT_GE(entries.size(), 2u);
    const std::string& report = entries[entries.size() - 2];
    EXPECT_EQ(report.rfind("Error in function 'Form_Load'\r\nError: 3024 (0xBD0)\r\n", 0), 0u) << report;
    EXPECT_NE(report.find("gone.mdb"), std::string::npos);
    EXPECT_NE(report.find("\r\nDebug information: Check autorun\r\n"), std::string::npos);
    EXPECT_EQ(entries.back(), "End");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("out/dump.sql"))));
}

TEST_F(UnattendedRunTest, AnUnwritableTemporaryFolderFailsTheDependencyCheck) {
    const QString missing = m_root.filePath(QStringLiteral("no such folder"));
    const Finished finished = run({QStringLiteral("-autorun"), QStringLiteral("-hide"),
                                   QStringLiteral("-settings=") + QString::fromStdString(writeSettings(sample()))},
                                  missing);
    EXPECT_EQ(finished.exitCode, 1);

    const std::vector<std::string> entries = logEntries();
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[3].rfind(
                  "The program requires a temporary folder it can write to, but '" + missing.toStdString() + "'", 0),
              0u)
        << entries[3];
    EXPECT_EQ(entries[4].rfind("Error in function 'Form_Load'\r\nError: 1000 (0x3E8)\r\n"
                               "Reason: Dependency check failed.\r\n\r\nThe program will now exit.\r\n"
                               "Debug information: Check dependencies\r\n",
                               0),
              0u)
        << entries[4];
    EXPECT_EQ(entries[5], "End");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("out/dump.sql"))));
}

TEST_F(UnattendedRunTest, RunsTheCommandForTheOutcomeAndLogsItsExitCode) {
    const std::string settings = writeSettings(sample());
    Finished finished = run({QStringLiteral("-autorun"), QStringLiteral("-hide"),
                             QStringLiteral("-settings=") + QString::fromStdString(settings),
                             QStringLiteral("-successcmd=echo converted > success.txt; exit 4"),
                             QStringLiteral("-errorcmd=echo failed > error.txt")});
    EXPECT_EQ(finished.exitCode, 0);
    EXPECT_EQ(readFile("success.txt"), "converted\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("error.txt"))));
    std::vector<std::string> entries = logEntries();
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[entries.size() - 3], "Running successcmd: echo converted > success.txt; exit 4");
    EXPECT_EQ(entries[entries.size() - 2], "successcmd ended with exit code 4");

    finished =
        run({QStringLiteral("-autorun"), QStringLiteral("-hide"), QStringLiteral("-errorcmd=echo failed > error.txt")});
    EXPECT_EQ(finished.exitCode, 2);
    EXPECT_EQ(readFile("error.txt"), "failed\n");
    entries = logEntries();
    EXPECT_EQ(entries[1], "Run count is 2");
    EXPECT_TRUE(contains(entries, "errorcmd ended with exit code 0"));
}

TEST_F(UnattendedRunTest, CountsRunsInThePerUserStoreUnderTheConfigFolder) {
    const QString settings = QStringLiteral("-settings=") + QString::fromStdString(writeSettings(sample()));
    run({QStringLiteral("-autorun"), QStringLiteral("-hide"), settings});
    run({QStringLiteral("-autorun"), QStringLiteral("-hide"), settings});

    QSettings store(m_root.filePath(QStringLiteral("config/Corvane/Tabulon.conf")), QSettings::IniFormat);
    EXPECT_EQ(store.value(QStringLiteral("Usage/RunCount")).toString(), QStringLiteral("2"));
    EXPECT_EQ(store.value(QStringLiteral("Settings/SavePasswords")).toString(), QStringLiteral("0"));
}

TEST_F(UnattendedRunTest, PrintsItsVersion) {
    const Finished finished = run({QStringLiteral("--version")});
    EXPECT_EQ(finished.exitCode, 0);
    EXPECT_EQ(finished.output.rfind("Tabulon ", 0), 0u);
}

TEST_F(UnattendedRunTest, TheWindowWithoutADisplayEndsWithStatus1InsteadOfWaiting) {
    const Finished finished = run({});
    EXPECT_EQ(finished.exitCode, 1);
    EXPECT_NE(finished.errors.find("no display for the wizard window"), std::string::npos) << finished.errors;
    EXPECT_NE(finished.errors.find("tabulon -autorun -settings=FILE -hide"), std::string::npos);
}

TEST_F(UnattendedRunTest, OnATerminalOneProgressLineIsRewrittenInPlaceAndClearedAtTheEnd) {
    const std::string settings = writeSettings(sample());
    std::vector<std::string> variables;
    QProcessEnvironment variablesOfRun = environment();
    variablesOfRun.insert(QStringLiteral("TERM"), QStringLiteral("xterm"));
    for (const QString& variable : variablesOfRun.toStringList())
        variables.push_back(variable.toStdString());
    const tabulon::test::TerminalRun finished = tabulon::test::RunOnTerminal(
        TABULON_EXECUTABLE, {"-autorun", "-settings=" + settings, "-hide"}, variables, m_root.path().toStdString());

    EXPECT_EQ(finished.exitCode, 0) << finished.screen;
    EXPECT_NE(finished.screen.find("\rTable 1 of 2: Table1  0 of 2 records\x1b[K"), std::string::npos)
        << finished.screen;
    EXPECT_NE(finished.screen.find("\rTable 2 of 2: Table3  0 of 0 records\x1b[K"), std::string::npos);
    // The line stays one line, and the last thing written takes it away again.
    EXPECT_EQ(finished.screen.find('\n'), std::string::npos) << finished.screen;
    ASSERT_GE(finished.screen.size(), 4u);
    EXPECT_EQ(finished.screen.substr(finished.screen.size() - 4), "\r\x1b[K");
}

TEST_F(UnattendedRunTest, IntoAPipeARunPrintsNothingAtAll) {
    const std::string settings = writeSettings(sample());
    const Finished finished =
        run({QStringLiteral("-autorun"), QStringLiteral("-settings=") + QString::fromStdString(settings),
             QStringLiteral("-hide")});
    EXPECT_EQ(finished.exitCode, 0);
    EXPECT_EQ(finished.errors, "");
    EXPECT_EQ(finished.output, "");
}
