// An unattended conversion of an encrypted .accdb, run as a scheduler would run tabulon: the password
// comes from the settings file, and it must not turn up in anything the run leaves behind.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* Password = "Test123";

class EncryptedRunTest : public ::testing::Test {
protected:
    EncryptedRunTest() {
        for (const char* folder : {"appdata", "temp", "config", "home", "out"})
            QDir(m_root.path()).mkpath(QString::fromLatin1(folder));
    }

    std::string path(const std::string& name) const {
        return m_root.filePath(QString::fromStdString(name)).toStdString();
    }

    std::string readFile(const std::string& name) const {
        QFile file(QString::fromStdString(path(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    // Runs `tabulon -autorun -settings=F -hide` on the fixture with `password`; returns the exit code and
    // collects standard output and error in m_console.
    int convert(const std::string& fixture, const std::string& password) {
        QFile settings(QString::fromStdString(path("run.ini")));
        EXPECT_TRUE(settings.open(QIODevice::WriteOnly));
        const std::string text = "[Verdix Tessoral]\r\n  sourcefilename=" + std::string(TABULON_TEST_DATA) + "/" +
                                 fixture + "\r\n  sourcepassword=" + password +
                                 "\r\n  destinationmethod=DUMP\r\n  destinationdatabase=secret\r\n"
                                 "  destinationdumpfilename=" +
                                 path("out/dump.sql") + "\r\n  sourcetables[]=\"Table1\"\r\n";
        settings.write(text.data(), static_cast<qint64>(text.size()));
        settings.close();

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("APPDATA"), m_root.filePath(QStringLiteral("appdata")));
        environment.insert(QStringLiteral("TEMP"), m_root.filePath(QStringLiteral("temp")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("home")));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_root.path());
        process.start(QStringLiteral(TABULON_EXECUTABLE),
                      {QStringLiteral("-autorun"),
                       QStringLiteral("-settings=") + QString::fromStdString(path("run.ini")),
                       QStringLiteral("-hide")});
        EXPECT_TRUE(process.waitForFinished(120000)) << "tabulon did not end";
        m_console = process.readAllStandardOutput().toStdString() + process.readAllStandardError().toStdString();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // Everything the run wrote, apart from the settings file the test gave it.
    std::string leftBehind() const {
        return m_console + readFile("appdata/Corvane/Tabulon/tabulon.log") + readFile("out/dump.sql") +
               readFile("temp/access.xml") + readFile("appdata/Corvane/Tabulon/wizard.ini");
    }

    QTemporaryDir m_root;
    std::string m_console;
};

} // namespace

TEST_F(EncryptedRunTest, ConvertsAnEncryptedAccdbIntoADump) {
    for (const char* fixture : {"a2010_encrypted_agile_sha1.accdb", "a2007_encrypted_rc4_cryptoapi.accdb"}) {
        QFile::remove(QString::fromStdString(path("out/dump.sql")));
        EXPECT_EQ(convert(fixture, Password), 0) << fixture << ": " << m_console;
        const std::string dump = readFile("out/dump.sql");
        EXPECT_NE(dump.find("CREATE TABLE [Table1]"), std::string::npos) << fixture;
        EXPECT_NE(dump.find("N'foo'"), std::string::npos) << fixture;
        const std::string log = readFile("appdata/Corvane/Tabulon/tabulon.log");
        EXPECT_NE(log.find("Table: Table1\r\n"), std::string::npos) << fixture;
        EXPECT_NE(log.find("- 1 records moved"), std::string::npos) << fixture;
        EXPECT_EQ(leftBehind().find(Password), std::string::npos) << fixture << ": the password leaked";
    }
}

TEST_F(EncryptedRunTest, AWrongPasswordEndsTheRunWith3031AndLeaksNothing) {
    EXPECT_EQ(convert("a2010_encrypted_agile_sha1.accdb", "Sesame-42"), 1);
    const std::string log = readFile("appdata/Corvane/Tabulon/tabulon.log");
    EXPECT_NE(log.find("3031"), std::string::npos) << log;
    EXPECT_NE(log.find("Not a valid password."), std::string::npos) << log;
    EXPECT_EQ(leftBehind().find("Sesame-42"), std::string::npos) << "the password leaked";
    EXPECT_EQ(readFile("out/dump.sql").find("INSERT"), std::string::npos);
}
