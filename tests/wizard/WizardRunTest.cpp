// The wizard with the real Access reader and conversion engine behind it: the source check, the
// scan into the table tree, the run to a dump file, cancel, and the result page.
#include "WizardTestSupport.h"

#include "lib/Convert.h"
#include "lib/Ini.h"
#include "wizard/FormControls.h"
#include "wizard/FormSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

#include <sys/stat.h>

using namespace tabulon;
using namespace tabulon::test;

namespace {
const std::string kBasicTypes = "access/a97_basic_types.mdb"; // Table1 (2 rows), Table2, Table3, Table4 (empty)
const std::string kEmoji = "access/a2010_emoji.accdb";        // data (80 rows)
const std::string kPassword = "access/a2000_db_password.mdb"; // database password "password"

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

QTreeWidgetItem* tableNode(WizardFixture& fixture, const QString& name) {
    QTreeWidget* tree = fixture.find<QTreeWidget>("tvSourceTables");
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->text(0) == name)
            return tree->topLevelItem(i);
    return nullptr;
}

std::string reportShown(WizardFixture& fixture) {
    return fixture.find<QPlainTextEdit>("txtReport")->toPlainText().toStdString();
}
} // namespace

class WizardRunTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QCOMPARE(visibleTopLevelWindows(), 0); }

    void fullRunToADumpEndsOnTheResultPage();
    void keptPasswordsMakeTheAutomaticFileTheOwnersAlone();
    void sourceThatDoesNotOpenIsNamed();
    void passwordOfTheSourcePageOpensTheDatabase();
    void backAndForwardKeepTheTreeSelection();
    void newSourceIsScannedWithTheRememberedSelection();
    void selectedTablesAndFieldsReachSettingsAndDump();
    void cancelDuringTheRecordsStopsTheTable();
    void runAgainFromTheResultPageStartsAfresh();
    void closedServerEndsOnTheResultPageWithTheError();
};

void WizardRunTest::fullRunToADumpEndsOnTheResultPage() {
    WizardFixture fixture;
    fixture.find<QLineEdit>("txtSourcePassword")->setText(QStringLiteral("typed"));
    walkToTransferOptions(fixture, testData(kBasicTypes));
    QCOMPARE(fixture.form().currentPage, std::string("TRANSFER_OPTIONS"));
    QCOMPARE(fixture.find<QTreeWidget>("tvSourceTables")->topLevelItemCount(), 4);

    fixture.click("cmdFinish");

    QVERIFY(fixture.errors.empty());
    QCOMPARE(fixture.form().currentPage, std::string("SAVESETTINGS"));
    QVERIFY(fixture.find<QPushButton>("cmdExit")->isVisible());
    QVERIFY(fixture.find<QPushButton>("cmdBack")->isVisible());
    QVERIFY(!fixture.find<QPushButton>("cmdCancel")->isVisible());
    const std::string report = reportShown(fixture);
    QVERIFY2(report.find("Table: Table1") != std::string::npos, report.c_str());
    QVERIFY2(report.find("- 2 records moved") != std::string::npos, report.c_str());
    QVERIFY(report.find("Transfer was aborted") == std::string::npos);
    QCOMPARE(fixture.form().conversionReport.find("\r\n") != std::string::npos, true);

    const std::string dump = readAll(fixture.path("dump.sql"));
    QCOMPARE(occurrences(dump, "INSERT INTO [Table1]"), 2);
    QVERIFY(dump.find("CREATE TABLE [Table4]") != std::string::npos);

    // wizard.ini holds the settings of the run, without the password typed for it.
    const DictionaryPtr saved = ReadIniFile(fixture.path("Corvane/Tabulon/wizard.ini"));
    const DictionaryPtr section = saved->dictionaryAt("Verdix Tessoral");
    QVERIFY(section != nullptr);
    QCOMPARE(toText(section->get("sourcefilename")), testData(kBasicTypes));
    QCOMPARE(toText(section->get("sourcepassword")), std::string());
    QCOMPARE(toText(section->get("destinationmethod")), std::string("DUMP"));

    const QTreeWidget* status = fixture.find<QTreeWidget>("lvStatusLog");
    QVERIFY(status->topLevelItemCount() > 4);
    QCOMPARE(status->topLevelItem(0)->data(0, Qt::UserRole).toString(), QStringLiteral("K1"));
}

void WizardRunTest::keptPasswordsMakeTheAutomaticFileTheOwnersAlone() {
    const mode_t savedMask = ::umask(022); // new files readable by everyone, as most systems have it
    WizardFixture fixture;
    fixture.state().savePasswords = true;
    fixture.find<QLineEdit>("txtSourcePassword")->setText(QStringLiteral("typed"));
    walkToTransferOptions(fixture, testData(kBasicTypes));
    fixture.click("cmdFinish");
    ::umask(savedMask);

    const std::string saved = fixture.path("Corvane/Tabulon/wizard.ini");
    QCOMPARE(toText(ReadIniFile(saved)->dictionaryAt("Verdix Tessoral")->get("sourcepassword")), std::string("typed"));
    const auto rights = std::filesystem::status(saved).permissions();
    QCOMPARE(static_cast<unsigned>(rights) & 0777u, 0600u);
}

void WizardRunTest::sourceThatDoesNotOpenIsNamed() {
    WizardFixture fixture;
    // Not an Access file: the licence text of the test data under a database name.
    const std::string fake = fixture.path("notes.mdb");
    QFile::copy(QString::fromStdString(testData("README.md")), QString::fromStdString(fake));
    fixture.click("cmdNext");
    fixture.find<QLineEdit>("txtSourceFilename")->setText(QString::fromStdString(fake));
    fixture.click("cmdNext");

    QCOMPARE(fixture.form().currentPage, std::string("SOURCE"));
    QCOMPARE(fixture.ui().messages.size(), std::size_t(1));
    const auto& message = fixture.ui().messages.front();
    QCOMPARE(message.style, 48);
    const std::string expected = "The program could not connect to the source database.\r\n\r\n"
                                 "Unable to open the source database.\r\nError 3343: ";
    QCOMPARE(message.text.substr(0, expected.size()), expected);
    QVERIFY2(message.text.find("notes.mdb") != std::string::npos, message.text.c_str());
}

void WizardRunTest::passwordOfTheSourcePageOpensTheDatabase() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    fixture.find<QLineEdit>("txtSourceFilename")->setText(QString::fromStdString(testData(kPassword)));
    fixture.find<QLineEdit>("txtSourcePassword")->setText(QStringLiteral("wrong"));
    fixture.click("cmdNext");
    QCOMPARE(fixture.form().currentPage, std::string("SOURCE"));
    QCOMPARE(fixture.ui().messages.size(), std::size_t(1));
    QVERIFY2(fixture.ui().messages.front().text.find("Error 3031: ") != std::string::npos,
             fixture.ui().messages.front().text.c_str());

    fixture.find<QLineEdit>("txtSourcePassword")->setText(QStringLiteral("password"));
    fixture.click("cmdNext");
    QCOMPARE(fixture.form().currentPage, std::string("DESTINATION"));
    fixture.click("cmdNext");
    QVERIFY(fixture.errors.empty());
    QVERIFY(tableNode(fixture, QStringLiteral("Table1")) != nullptr);
}

void WizardRunTest::backAndForwardKeepTheTreeSelection() {
    WizardFixture fixture;
    walkToTransferOptions(fixture, testData(kBasicTypes));
    fixture.click("cmdBack");
    QTreeWidgetItem* table2 = tableNode(fixture, QStringLiteral("Table2"));
    QVERIFY(table2 != nullptr);
    table2->setCheckState(0, Qt::Unchecked);
    table2->child(0)->setCheckState(0, Qt::Unchecked);

    fixture.click("cmdBack"); // destination
    fixture.click("cmdNext"); // tables again, without a new scan
    fixture.click("cmdNext");
    fixture.click("cmdBack");
    table2 = tableNode(fixture, QStringLiteral("Table2"));
    QCOMPARE(table2->checkState(0), Qt::Unchecked);
    QCOMPARE(table2->child(0)->checkState(0), Qt::Unchecked);
    QCOMPARE(table2->child(1)->checkState(0), Qt::Checked);
    QCOMPARE(tableNode(fixture, QStringLiteral("Table1"))->checkState(0), Qt::Checked);
}

void WizardRunTest::newSourceIsScannedWithTheRememberedSelection() {
    WizardFixture fixture;
    walkToTransferOptions(fixture, testData(kBasicTypes));
    fixture.click("cmdBack");
    fixture.click("cmdSelectNone");
    tableNode(fixture, QStringLiteral("Table3"))->setCheckState(0, Qt::Checked);
    fixture.click("cmdBack");
    fixture.click("cmdBack");
    // Another name for the same file: the source is scanned again and keeps what was checked.
    QLineEdit* fileName = fixture.find<QLineEdit>("txtSourceFilename");
    fileName->setText(QStringLiteral("\"%1\"").arg(fileName->text()));
    fileName->setText(fileName->text().mid(1, fileName->text().size() - 2));
    fixture.click("cmdNext");
    fixture.click("cmdNext");
    QCOMPARE(fixture.form().currentPage, std::string("SELECT_TABLES"));
    QCOMPARE(tableNode(fixture, QStringLiteral("Table3"))->checkState(0), Qt::Checked);
    QCOMPARE(tableNode(fixture, QStringLiteral("Table3"))->child(0)->checkState(0), Qt::Unchecked);
    QCOMPARE(tableNode(fixture, QStringLiteral("Table1"))->checkState(0), Qt::Unchecked);
}

void WizardRunTest::selectedTablesAndFieldsReachSettingsAndDump() {
    WizardFixture fixture;
    walkToTransferOptions(fixture, testData(kBasicTypes));
    fixture.click("cmdBack");
    fixture.click("cmdSelectNone");
    QTreeWidgetItem* table1 = tableNode(fixture, QStringLiteral("Table1"));
    table1->setCheckState(0, Qt::Checked);
    table1->child(0)->setCheckState(0, Qt::Checked);
    const std::string field = table1->child(0)->text(0).toStdString();
    const std::string skipped = table1->child(1)->text(0).toStdString();

    const DictionaryPtr settings = GetSettingsFromForm(fixture.form());
    const Variant& tables = settings->dictionaryAt("Verdix Tessoral")->get("sourcetables");
    QVERIFY(tables.isList());
    QCOMPARE(tables.list(), (StringList{"Table1", "Table1\\" + field}));

    fixture.click("cmdNext");
    fixture.click("cmdFinish");
    QVERIFY(fixture.errors.empty());
    const std::string dump = readAll(fixture.path("dump.sql"));
    QVERIFY(dump.find("CREATE TABLE [Table1]") != std::string::npos);
    QVERIFY(dump.find("[" + field + "]") != std::string::npos);
    QVERIFY2(dump.find("[" + skipped + "]") == std::string::npos, skipped.c_str());
    QVERIFY(dump.find("[Table2]") == std::string::npos);
    QCOMPARE(occurrences(dump, "INSERT INTO [Table1]"), 2);
}

void WizardRunTest::cancelDuringTheRecordsStopsTheTable() {
    WizardFixture fixture;
    walkToTransferOptions(fixture, testData(kEmoji));
    QVERIFY(tableNode(fixture, QStringLiteral("data")) != nullptr);
    // Once twenty records are done the user clicks Cancel and confirms. The click waits in the event
    // queue, as a real one does, until the run lets window events run.
    QProgressBar* bar = fixture.find<QProgressBar>("pbStatus");
    QPushButton* cancel = fixture.find<QPushButton>("cmdCancel");
    int clicks = 0;
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        if (value >= 20 && clicks++ == 0) {
            fixture.ui().answers.push_back(6);
            QTimer::singleShot(0, cancel, [cancel] { QTest::mouseClick(cancel, Qt::LeftButton); });
        }
    });

    fixture.click("cmdFinish");

    QVERIFY(fixture.errors.empty());
    QCOMPARE(clicks > 0, true);
    QCOMPARE(fixture.ui().messages.back().text, std::string("Do you wish to cancel the transfer?"));
    QCOMPARE(fixture.form().currentPage, std::string("SAVESETTINGS"));
    QVERIFY(reportShown(fixture).find("Transfer was aborted") != std::string::npos);
    const int inserted = occurrences(readAll(fixture.path("dump.sql")), "INSERT INTO [data]");
    QVERIFY2(inserted >= 20 && inserted < 80, std::to_string(inserted).c_str());
    QVERIFY(!fixture.state().run.conversionRunning);
}

void WizardRunTest::runAgainFromTheResultPageStartsAfresh() {
    WizardFixture fixture;
    walkToTransferOptions(fixture, testData(kBasicTypes));
    fixture.click("cmdFinish");
    const int firstLines = fixture.find<QTreeWidget>("lvStatusLog")->topLevelItemCount();
    fixture.click("cmdBack");
    QCOMPARE(fixture.form().currentPage, std::string("TRANSFER_OPTIONS"));
    fixture.find<QCheckBox>("chkTransferRecords")->setChecked(false);
    fixture.click("cmdFinish");

    QCOMPARE(fixture.form().currentPage, std::string("SAVESETTINGS"));
    QVERIFY(fixture.find<QTreeWidget>("lvStatusLog")->topLevelItemCount() < firstLines);
    QCOMPARE(occurrences(reportShown(fixture), "Table: Table1"), 1);
    QCOMPARE(occurrences(readAll(fixture.path("dump.sql")), "INSERT INTO"), 0);
    const DictionaryPtr saved = ReadIniFile(fixture.path("Corvane/Tabulon/wizard.ini"));
    QCOMPARE(toText(saved->dictionaryAt("Verdix Tessoral")->get("transferrecords")), std::string("0"));
}

void WizardRunTest::closedServerEndsOnTheResultPageWithTheError() {
    if (std::string(TABULON_TDSODBC).empty())
        QSKIP("FreeTDS's ODBC driver (tdsodbc) is not installed");
    // FreeTDS registered as "SQL Server" in an odbcinst.ini of the test's own; no server listens on port 1.
    QTemporaryDir odbc;
    QFile ini(odbc.filePath(QStringLiteral("odbcinst.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(QByteArray("[SQL Server]\nDriver=") + TABULON_TDSODBC + "\n");
    ini.close();
    qputenv("ODBCSYSINI", odbc.path().toUtf8());

    WizardFixture fixture;
    walkToTransferOptions(fixture, testData(kBasicTypes));
    fixture.click("cmdBack");
    fixture.click("cmdBack");
    destinationOption(fixture, 0)->setChecked(true);
    fixture.find<QLineEdit>("txtMSSQLServer")->setText(QStringLiteral("127.0.0.1,1"));
    fixture.find<QComboBox>("cbMSSQLAuthentication")->setCurrentIndex(1);
    fixture.find<QLineEdit>("txtMSSQLPassword")->setText(QStringLiteral("s3cret"));
    fixture.click("cmdNext");
    fixture.click("cmdNext");
    fixture.click("cmdFinish");

    QVERIFY(fixture.errors.empty());
    QCOMPARE(fixture.form().currentPage, std::string("SAVESETTINGS"));
    const std::string report = reportShown(fixture);
    QVERIFY2(report.find("Error connecting to destination database.") != std::string::npos, report.c_str());
    QVERIFY(report.find("s3cret") == std::string::npos);
    QVERIFY(!fixture.state().run.conversionRunning);
    const QTreeWidget* status = fixture.find<QTreeWidget>("lvStatusLog");
    QCOMPARE(status->topLevelItem(status->topLevelItemCount() - 1)->text(0),
             QStringLiteral("Error connecting to destination database"));
}

QTEST_MAIN(WizardRunTest)
#include "WizardRunTest.moc"
