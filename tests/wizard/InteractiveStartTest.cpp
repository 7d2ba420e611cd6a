// The interactive start: the start-up sequence driving the real wizard window, as tabulon does.
#include "WizardTestSupport.h"

#include "settings/DependencyCheck.h"
#include "settings/ErrorReporter.h"
#include "settings/ProcessLog.h"
#include "settings/Startup.h"
#include "tabulon/Version.h"
#include "wizard/FormControls.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tabulon;
using namespace tabulon::test;

namespace {
struct ProgramEnded {
    int exitStatus;
};

// A window started by the start-up sequence in a folder of its own (APPDATA, the store and the log).
class StartedWindow {
public:
    explicit StartedWindow(const std::string& commandLine)
        : m_store(m_folder.filePath(QStringLiteral("store.ini")).toStdString()),
          m_log(m_state, m_folder.filePath(QStringLiteral("tabulon.log")).toStdString()),
          m_reporter(m_state, m_ui, m_log, [](int exitStatus) { throw ProgramEnded{exitStatus}; }) {
        qputenv("APPDATA", m_folder.path().toUtf8());
        m_state.commandLine = commandLine;
    }
    ~StartedWindow() {
        if (m_form)
            m_form->close();
    }

    void start() {
        m_form = std::make_unique<frmMain>(m_state, m_ui);
        m_form->setUserStore(&m_store);
        m_form->setLogWriter([this](const std::string& text) { m_log.write(text); });
        Startup startup(m_state, m_ui, m_store, m_log, m_reporter, *m_form, {{"Always there", "", [] {}}});
        startup.FormLoad();
        m_form->show();
    }
    // Writes wizard.ini, the settings of the last run.
    void writeAutomaticSettings(const std::string& text) {
        QDir().mkpath(m_folder.filePath(QStringLiteral("Corvane/Tabulon")));
        QFile file(m_folder.filePath(QStringLiteral("Corvane/Tabulon/wizard.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    frmMain& form() { return *m_form; }
    FormControls& ui() { return m_form->controls(); }
    ScriptedUserInterface& messages() { return m_ui; }
    std::string log() const { return readAll(m_log.path()); }
    std::string path(const std::string& name) const {
        return m_folder.filePath(QString::fromStdString(name)).toStdString();
    }
    void click(const char* name) {
        auto* button = m_form->findChild<QPushButton*>(QLatin1String(name));
        QVERIFY2(button && button->isVisible() && button->isEnabled(), name);
        QTest::mouseClick(button, Qt::LeftButton);
    }

private:
    QTemporaryDir m_folder;
    ProcessState m_state;
    ScriptedUserInterface m_ui;
    UserStore m_store;
    ProcessLog m_log;
    ErrorReporter m_reporter;
    std::unique_ptr<frmMain> m_form;
};
} // namespace

class InteractiveStartTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QCOMPARE(visibleTopLevelWindows(), 0); }

    void startShowsTheWelcomePageWithTheLastSettings();
    void firstStartUsesTheDefaultsSilently();
    void screenshotModeLeavesTheVersionAndTheBandOut();
    void runFromTheLastSettingsWritesStatusAndReportToTheLog();
};

void InteractiveStartTest::startShowsTheWelcomePageWithTheLastSettings() {
    StartedWindow window("tabulon");
    window.writeAutomaticSettings("[Verdix Tessoral]\r\nsourcefilename=C:\\data\\shop.mdb\r\n"
                                  "destinationmethod=DUMP\r\ndestinationdatabase=shop\r\ndropdatabase=1\r\n"
                                  "sourcetables[]=Orders\r\n");
    window.start();

    QCOMPARE(window.form().currentPage, std::string("WELCOME"));
    QVERIFY(window.ui().frameLoadSettings->isVisible());
    QVERIFY(window.ui().lblWelcome->text().startsWith(QStringLiteral("Welcome to the Tabulon conversion wizard. ")));
    QVERIFY(window.ui().lblWelcome->text().contains(QStringLiteral("4. A set of transfer options")));
    QCOMPARE(window.form().windowTitle(),
             QStringLiteral("Tabulon (%1.%2.0.%3)").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
    QCOMPARE(window.ui().txtSourceFilename->text(), QStringLiteral("C:\\data\\shop.mdb"));
    QVERIFY(window.ui().optDestination[1]->isChecked());
    QCOMPARE(window.ui().txtMSSQLDestinationDatabase->text(), QStringLiteral("shop"));
    // Loading the settings checks the drop box without the warning.
    QVERIFY(window.ui().chkDropDatabase->isChecked());
    QVERIFY(window.messages().messages.empty());
    QVERIFY(window.ui().chkAutocommit->isHidden());
    QCOMPARE(window.form().selectedTables->keys(), (StringList{"Orders"}));
    QVERIFY(window.log().find("Begin") != std::string::npos);
}

void InteractiveStartTest::firstStartUsesTheDefaultsSilently() {
    StartedWindow window("tabulon");
    window.start();
    QCOMPARE(window.form().currentPage, std::string("WELCOME"));
    QVERIFY(window.messages().messages.empty());
    QVERIFY(window.ui().optDestination[0]->isChecked());
    QCOMPARE(window.ui().txtMSSQLDestinationDatabase->text(), QStringLiteral("verdix"));
    QVERIFY(window.ui().txtDestinationDumpFilename->text().endsWith(QStringLiteral("dump.sql")));
    QVERIFY(window.ui().frameBottom->isVisible());
}

void InteractiveStartTest::screenshotModeLeavesTheVersionAndTheBandOut() {
    StartedWindow window("tabulon -screenshotmode");
    window.start();
    QCOMPARE(window.form().windowTitle(), QStringLiteral("Tabulon"));
    QVERIFY(!window.ui().frameBottom->isVisible());
    // The window is cut short by the band; the page keeps its size.
    StartedWindow normal("tabulon");
    normal.start();
    QCOMPARE(window.form().height(), normal.form().height() - normal.ui().frameBottom->height());
    QCOMPARE(window.ui().pageArea->height(), normal.ui().pageArea->height());
}

void InteractiveStartTest::runFromTheLastSettingsWritesStatusAndReportToTheLog() {
    StartedWindow window("tabulon");
    window.writeAutomaticSettings("[Verdix Tessoral]\r\nsourcefilename=" + testData("access/a97_basic_types.mdb") +
                                  "\r\ndestinationmethod=DUMP\r\ndestinationdumpfilename=" + window.path("out.sql") +
                                  "\r\n");
    window.start();
    for (const char* step : {"cmdNext", "cmdNext", "cmdNext", "cmdNext", "cmdFinish"})
        window.click(step);
    QCOMPARE(window.form().currentPage, std::string("SAVESETTINGS"));
    const std::string log = window.log();
    QVERIFY2(log.find("\tMoving data to destination\r\n") != std::string::npos, log.c_str());
    QVERIFY(log.find("\t  Moving records\r\n") != std::string::npos);
    // The report is one entry, its lines indented under the first.
    QVERIFY(log.find("\tSETTINGS\r\n                   \t--------\r\n") != std::string::npos);
    QVERIFY(readAll(window.path("out.sql")).find("INSERT INTO [Table1]") != std::string::npos);
}

QTEST_MAIN(InteractiveStartTest)
#include "InteractiveStartTest.moc"
