// The main window: its controls, pages, navigation, checks and enabling rules.
#include "WizardTestSupport.h"

#include "tabulon/Version.h"
#include "wizard/FormControls.h"
#include "wizard/modWizard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace tabulon;
using namespace tabulon::test;

class FrmMainTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QCOMPARE(visibleTopLevelWindows(), 0); }

    void controlsCarryTheirNamesAndCaptions_data();
    void controlsCarryTheirNamesAndCaptions();
    void everyControlOfTheFormExists();
    void captionCarriesTheVersion();
    void captionInScreenshotModeIsTabulonAlone();
    void initFormKeepsOtherDestinationKindsHidden();
    void startsOnTheWelcomePage();
    void sourcePageNeedsAFileName();
    void sourceFileOfSpacesOnlyIsNotFound();
    void missingSystemDatabaseIsNamed();
    void existingSourceLeadsToDestination();
    void backWalksThePagesBackwards();
    void finishOnOtherPagesDoesNothing();
    void securityFieldsFollowTheFileName();
    void authenticationKindEnablesLoginFields();
    void dropWarningOnlyWhenTheUserChecks();
    void quotationMarksAreStripped();
    void destinationMethodSwitchesFrames();
    void cancelAsksBeforeLeaving();
    void cancelUnderHideClosesAtOnce();
    void cancelDuringRunOnlyRequestsIt();
    void acceleratorsFromCaptions();
    void tabOrderFollowsPositions();
    void enterGoesOnAndEscapeCancelsOnEveryPage();
    void enterDuringARunLeavesCancelAlone();
    void helpOpensTheManualAndDonationTheProductAddress();
};

void FrmMainTest::controlsCarryTheirNamesAndCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char* rows[][2] = {
        {"cmdLoadSettings", "&Load Settings"},
        {"cmdHelp", "&Help"},
        {"cmdCancel", "Cancel"},
        {"cmdBack", "< &Back"},
        {"cmdNext", "&Next >"},
        {"cmdFinish", "&Run Now"},
        {"cmdExit", "&Exit"},
        {"cmdSelectAll", "Select &All"},
        {"cmdSelectNone", "Select N&one"},
        {"cmdExpandAll", "&Expand All"},
        {"cmdCollapseAll", "&Collapse All"},
        {"cmdAdvancedOptions", "Advanced..."},
        {"cmdSaveSettings1", "Save Settings"},
        {"cmdSaveSettings", "Save Settings"},
        {"cmdSourceBrowse", "..."},
        {"cmdSystemDatabaseBrowse", "..."},
        {"cmdBrowseDump", "..."},
        {"chkDropDatabase", "Drop and recreate destination database"},
        {"chkCreateTables", "Create tables (drops existing)"},
        {"chkTransferRecords", "Transfer records"},
        {"chkTransferIndexes", "Transfer indexes"},
        {"chkColumnList", "Include column list in INSERT statements"},
        {"chkUnicode", "Unicode (utf-8)"},
        {"chkAutocommit", "Enable autocommit"},
        {"chkTransferDefaultValues", "Default value properties"},
        {"chkTransferAutonumbers", "Auto number properties"},
        {"Label5", "Filename:"},
        {"Label6", "Username:"},
        {"Label11", "Password:"},
        {"Label15", "System DB:"},
        {"Label17", "&Server:"},
        {"Label13", "&Authentication:"},
        {"lblMSSQLUserName", "&Username:"},
        {"lblMSSQLPassword", "&Password:"},
        {"Label20", "&Destination Database:"},
        {"Label3", "Filename:"},
        {"Label10", "Warning: If you already have a file with that name it will be overwritten."},
        {"Label14", "Double click the tablename to specify which fields you want to be included in the transfer"},
        {"Label9", "Please consider a donation if you find this program useful."},
        {"lblStatusHigh", "Progress"},
        {"Frame3", "Security"},
        {"frameDestinationMSSQL", "MSSQL Connection Options"},
        {"frameMSSQLDestinationDatabase", "MSSQL Destination Database"},
        {"frameDestinationDump", "Dump File Options"},
        {"Frame1", "Field Information"},
        {"frameDonate", "Help us help you"},
        {"frameDestinationDirect", "MySQL Connection Options"},
        {"frameDestinationPGSQL", "PostgreSQL Connection Options"},
        {"frameMySQLDestinationDatabase", "MySQL Destination Database"},
        {"framePGSQLDestinationDatabase", "PostgreSQL Destination Database"},
    };
    for (const auto& [name, caption] : rows)
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption);
}

void FrmMainTest::controlsCarryTheirNamesAndCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    WizardFixture fixture;
    QObject* control = fixture.form().findChild<QObject*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        text = button->text();
    else if (auto* label = qobject_cast<QLabel*>(control))
        text = label->text();
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        text = group->title();
    QCOMPARE(text, caption);
}

void FrmMainTest::everyControlOfTheFormExists() {
    WizardFixture fixture;
    const char* names[] = {"frmHeader",
                           "lblHeader",
                           "lblHeaderNote",
                           "imgMSSQL",
                           "imgMySql",
                           "imgPGSQL",
                           "frameLoadSettings",
                           "Picture3",
                           "lblWelcome",
                           "frameSource",
                           "Picture5",
                           "txtSourceFilename",
                           "Image1",
                           "Picture6",
                           "txtSourceUsername",
                           "txtSourcePassword",
                           "txtSourceSystemDatabase",
                           "Label16",
                           "frameDestination",
                           "Picture7",
                           "cbMSSQLAuthentication",
                           "txtMSSQLServer",
                           "txtMSSQLUserName",
                           "txtMSSQLPassword",
                           "txtMSSQLDestinationDatabase",
                           "Picture8",
                           "txtDestinationDumpFilename",
                           "frameSelectTables",
                           "Picture9",
                           "tvSourceTables",
                           "frameTransferOptions",
                           "Picture1",
                           "frameProgress",
                           "pbStatus",
                           "lvStatusLog",
                           "frameSaveSettings",
                           "Picture2",
                           "txtReport",
                           "frameBottom",
                           "Picture4",
                           "imgDonate",
                           "Frame7",
                           "cbStorageEngine",
                           "txtDestinationDatabase"};
    for (const char* name : names)
        QVERIFY2(fixture.find<QWidget>(name) != nullptr, name);
    const auto options = fixture.form().findChildren<QRadioButton*>(QStringLiteral("optDestination"));
    QCOMPARE(options.size(), 2);
    QCOMPARE(options[0]->text(), QStringLiteral("&Direct transfer"));
    QCOMPARE(options[1]->text(), QStringLiteral("&Create dump file"));
    QCOMPARE(fixture.find<QLineEdit>("txtSourcePassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(fixture.find<QLineEdit>("txtMSSQLPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(fixture.find<QLineEdit>("txtSourcePassword")->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter),
             int('*'));
    QVERIFY(!fixture.find<QCheckBox>("chkAutocommit")->isVisibleTo(&fixture.form()));
}

void FrmMainTest::captionCarriesTheVersion() {
    WizardFixture fixture;
    QCOMPARE(fixture.form().windowTitle(), QStringLiteral("Tabulon (1.0.0.0)"));
    QVERIFY(fixture.find<QWidget>("frameBottom")->isVisible());
}

void FrmMainTest::captionInScreenshotModeIsTabulonAlone() {
    WizardFixture fixture(true);
    QCOMPARE(fixture.form().windowTitle(), QStringLiteral("Tabulon"));
    QVERIFY(!fixture.find<QWidget>("frameBottom")->isVisible());
}

void FrmMainTest::initFormKeepsOtherDestinationKindsHidden() {
    WizardFixture fixture;
    QWidget& form = fixture.form();
    for (const char* name : {"frameDestinationDirect", "frameDestinationPGSQL", "frameMySQLDestinationDatabase",
                             "framePGSQLDestinationDatabase", "imgMySql", "imgPGSQL"})
        QVERIFY2(!fixture.find<QWidget>(name)->isVisibleTo(&form), name);
    QVERIFY(fixture.find<QWidget>("imgMSSQL")->isVisibleTo(&form));
    QVERIFY(fixture.find<QWidget>("frameMSSQLDestinationDatabase")->isVisibleTo(fixture.find<QWidget>("Picture7")));
    auto* engines = fixture.find<QComboBox>("cbStorageEngine");
    QCOMPARE(engines->count(), 8);
    QCOMPARE(engines->currentText(), QStringLiteral("MyISAM"));
    auto* authentication = fixture.find<QComboBox>("cbMSSQLAuthentication");
    QCOMPARE(authentication->itemText(0), QStringLiteral("Windows Authentication"));
    QCOMPARE(authentication->itemText(1), QStringLiteral("SQL Server Authentication"));
}

void FrmMainTest::startsOnTheWelcomePage() {
    WizardFixture fixture;
    QCOMPARE(fixture.form().currentPage, std::string("WELCOME"));
    QVERIFY(fixture.find<QWidget>("frameLoadSettings")->isVisible());
    QCOMPARE(fixture.find<QLabel>("lblHeader")->text(), QStringLiteral("Tabulon Conversion"));
    auto* back = fixture.find<QPushButton>("cmdBack");
    QVERIFY(back->isVisible() && !back->isEnabled());
    QVERIFY(fixture.find<QPushButton>("cmdNext")->isVisible());
    QVERIFY(fixture.find<QPushButton>("cmdCancel")->isVisible());
    QVERIFY(!fixture.find<QPushButton>("cmdFinish")->isVisible());
    QVERIFY(!fixture.find<QPushButton>("cmdExit")->isVisible());
}

void FrmMainTest::sourcePageNeedsAFileName() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    QCOMPARE(fixture.form().currentPage, std::string("SOURCE"));
    QCOMPARE(fixture.find<QLabel>("lblHeader")->text(), QStringLiteral("Source Database"));
    fixture.click("cmdNext");
    QCOMPARE(fixture.form().currentPage, std::string("SOURCE"));
    QCOMPARE(fixture.ui().messages.size(), size_t(1));
    QCOMPARE(fixture.ui().messages[0].text, std::string("You must select a source database."));
    QCOMPARE(fixture.ui().messages[0].style, 64);
    QCOMPARE(fixture.ui().messages[0].title, std::string("Tabulon"));
}

void FrmMainTest::sourceFileOfSpacesOnlyIsNotFound() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    fixture.find<QLineEdit>("txtSourceFilename")->setText(QStringLiteral("   "));
    fixture.click("cmdNext");
    QCOMPARE(fixture.form().currentPage, std::string("SOURCE"));
    QCOMPARE(fixture.ui().messages.size(), size_t(1));
    QCOMPARE(fixture.ui().messages[0].text, std::string("The program could not connect to the source database.\r\n\r\n"
                                                        "The database file '   ' does not exist."));
    QCOMPARE(fixture.ui().messages[0].style, 48);
}

void FrmMainTest::missingSystemDatabaseIsNamed() {
    WizardFixture fixture;
    QTemporaryDir folder;
    fixture.click("cmdNext");
    fixture.find<QLineEdit>("txtSourceFilename")
        ->setText(QString::fromStdString(testData("access/a97_basic_types.mdb")));
    const QString missing = folder.filePath(QStringLiteral("system.mdw"));
    fixture.find<QLineEdit>("txtSourceSystemDatabase")->setText(missing);
    fixture.click("cmdNext");
    QCOMPARE(fixture.form().currentPage, std::string("SOURCE"));
    QCOMPARE(fixture.ui().messages.size(), size_t(1));
    QCOMPARE(fixture.ui().messages[0].text, "The program could not connect to the source database.\r\n\r\n"
                                            "The system database file '" +
                                                missing.toStdString() + "' does not exist.");
}

void FrmMainTest::existingSourceLeadsToDestination() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    fixture.find<QLineEdit>("txtSourceFilename")
        ->setText(QString::fromStdString(testData("access/a97_basic_types.mdb")));
    fixture.click("cmdNext");
    QCOMPARE(fixture.form().currentPage, std::string("DESTINATION"));
    QVERIFY(fixture.ui().messages.empty());
    QCOMPARE(fixture.find<QLabel>("lblHeaderNote")->text(),
             QStringLiteral("Specify the MSSQL destination database and connection information."));
}

void FrmMainTest::backWalksThePagesBackwards() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    fixture.click("cmdBack");
    QCOMPARE(fixture.form().currentPage, std::string("WELCOME"));
    QCOMPARE(QApplication::focusWidget(), fixture.find<QWidget>("cmdNext"));
    fixture.click("cmdNext");
    QCOMPARE(QApplication::focusWidget(), fixture.find<QWidget>("cmdNext"));
}

void FrmMainTest::finishOnOtherPagesDoesNothing() {
    WizardFixture fixture;
    for (const char* page : {"WELCOME", "SOURCE", "DESTINATION", "SELECT_TABLES", "PROGRESS", "SAVESETTINGS"}) {
        std::string current = page;
        WizardNavigate(fixture.form(), current, "FINISH");
        QCOMPARE(current, std::string(page));
    }
    std::string current = "TRANSFER_OPTIONS";
    WizardNavigate(fixture.form(), current, "NEXT");
    QCOMPARE(current, std::string("TRANSFER_OPTIONS"));
    QVERIFY(fixture.form().findChild<QWidget*>(QStringLiteral("frameLoadSettings"))->isVisible());
}

void FrmMainTest::securityFieldsFollowTheFileName() {
    WizardFixture fixture;
    auto* name = fixture.find<QLineEdit>("txtSourceFilename");
    const auto workgroupFieldsEnabled = [&fixture] {
        return fixture.find<QWidget>("txtSourceSystemDatabase")->isEnabled() &&
               fixture.find<QWidget>("txtSourceUsername")->isEnabled() &&
               fixture.find<QWidget>("cmdSystemDatabaseBrowse")->isEnabled();
    };
    name->setText(QStringLiteral("/data/Orders.ACCDB"));
    QVERIFY(!fixture.find<QWidget>("txtSourceSystemDatabase")->isEnabled());
    QVERIFY(!fixture.find<QWidget>("txtSourceUsername")->isEnabled());
    QVERIFY(!fixture.find<QWidget>("cmdSystemDatabaseBrowse")->isEnabled());
    QVERIFY(fixture.find<QWidget>("txtSourcePassword")->isEnabled());
    name->setText(QStringLiteral("/data/Orders.mdb"));
    QVERIFY(workgroupFieldsEnabled());
    name->setText(QStringLiteral("/data/Orders.accde"));
    QVERIFY(!workgroupFieldsEnabled());
    name->setText(QStringLiteral("/data/Orders.accdb.bak"));
    QVERIFY(workgroupFieldsEnabled());
}

void FrmMainTest::authenticationKindEnablesLoginFields() {
    WizardFixture fixture;
    auto* kind = fixture.find<QComboBox>("cbMSSQLAuthentication");
    const char* loginControls[] = {"txtMSSQLUserName", "txtMSSQLPassword", "lblMSSQLUserName", "lblMSSQLPassword"};
    for (const char* name : loginControls)
        QVERIFY2(!fixture.find<QWidget>(name)->isEnabled(), name);
    kind->setCurrentIndex(1);
    for (const char* name : loginControls)
        QVERIFY2(fixture.find<QWidget>(name)->isEnabled(), name);
    kind->setCurrentIndex(0);
    for (const char* name : loginControls)
        QVERIFY2(!fixture.find<QWidget>(name)->isEnabled(), name);
}

void FrmMainTest::dropWarningOnlyWhenTheUserChecks() {
    WizardFixture fixture;
    DictionaryPtr settings = defaultSettings();
    settings->dictionaryAt("Verdix Tessoral")->set("dropdatabase", "1");
    fixture.form().applySettingsToForm(settings);
    auto* drop = fixture.find<QCheckBox>("chkDropDatabase");
    QVERIFY(drop->isChecked());
    QVERIFY(fixture.ui().messages.empty());

    drop->setChecked(false);
    QVERIFY(fixture.ui().messages.empty());
    drop->click();
    QVERIFY(drop->isChecked());
    QCOMPARE(fixture.ui().messages.size(), size_t(1));
    QCOMPARE(fixture.ui().messages[0].title, std::string("Warning"));
    QCOMPARE(fixture.ui().messages[0].style, 48);
    QCOMPARE(fixture.ui().messages[0].text,
             std::string("Warning: This will drop the destination database if it already exists. All existing "
                         "data in the database will be lost."));

    fixture.state().autorunMode = true;
    drop->setChecked(false);
    drop->click();
    QCOMPARE(fixture.ui().messages.size(), size_t(1));
}

void FrmMainTest::quotationMarksAreStripped() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    auto* name = fixture.find<QLineEdit>("txtSourceFilename");
    const auto typeAndLeave = [&](const QString& text) {
        name->setFocus();
        name->setText(text);
        fixture.find<QWidget>("txtSourcePassword")->setFocus();
        return name->text();
    };
    QCOMPARE(typeAndLeave(QStringLiteral("\"/data/My Orders.mdb\"")), QStringLiteral("/data/My Orders.mdb"));
    QCOMPARE(typeAndLeave(QStringLiteral("\"")), QStringLiteral("\""));
    QCOMPARE(typeAndLeave(QStringLiteral("\"\"")), QString());
    QCOMPARE(typeAndLeave(QStringLiteral("\"/data/a.mdb")), QStringLiteral("\"/data/a.mdb"));
}

void FrmMainTest::destinationMethodSwitchesFrames() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    fixture.find<QLineEdit>("txtSourceFilename")
        ->setText(QString::fromStdString(testData("access/a97_basic_types.mdb")));
    fixture.click("cmdNext");
    const auto options = fixture.form().findChildren<QRadioButton*>(QStringLiteral("optDestination"));
    QVERIFY(options[0]->isChecked());
    QVERIFY(fixture.find<QWidget>("frameDestinationMSSQL")->isVisible());
    QVERIFY(!fixture.find<QWidget>("frameDestinationDump")->isVisible());
    options[1]->click();
    QVERIFY(!fixture.find<QWidget>("frameDestinationMSSQL")->isVisible());
    QVERIFY(fixture.find<QWidget>("frameDestinationDump")->isVisible());
    QVERIFY(fixture.find<QWidget>("frameMSSQLDestinationDatabase")->isVisible());
    QVERIFY(!fixture.find<QWidget>("frameDestinationDirect")->isVisible());
    options[0]->click();
    QVERIFY(fixture.find<QWidget>("frameDestinationMSSQL")->isVisible());
    QVERIFY(!fixture.find<QWidget>("frameDestinationDump")->isVisible());
}

void FrmMainTest::cancelAsksBeforeLeaving() {
    WizardFixture fixture;
    fixture.ui().answers = {msgbox::No};
    fixture.click("cmdCancel");
    QVERIFY(fixture.form().isVisible());
    QCOMPARE(fixture.ui().messages.back().text, std::string("Do you wish to cancel this wizard?"));
    QCOMPARE(fixture.ui().messages.back().style, 36);
    fixture.ui().answers = {msgbox::Yes};
    fixture.click("cmdCancel");
    QVERIFY(!fixture.form().isVisible());
}

void FrmMainTest::cancelUnderHideClosesAtOnce() {
    WizardFixture fixture;
    fixture.state().hideMode = true;
    fixture.click("cmdCancel");
    QVERIFY(fixture.ui().messages.empty());
    QVERIFY(!fixture.form().isVisible());
}

void FrmMainTest::cancelDuringRunOnlyRequestsIt() {
    WizardFixture fixture;
    fixture.state().run.conversionRunning = true;
    fixture.ui().answers = {msgbox::No, msgbox::Yes, msgbox::Yes};
    fixture.click("cmdCancel");
    QVERIFY(!fixture.state().run.cancelRequested);
    fixture.click("cmdCancel");
    QVERIFY(fixture.state().run.cancelRequested);
    QCOMPARE(fixture.ui().messages.back().text, std::string("Do you wish to cancel the transfer?"));
    // The close box during a run asks the same question instead of pulling the window away.
    fixture.form().close();
    QVERIFY(fixture.form().isVisible());
    QCOMPARE(fixture.ui().messages.size(), size_t(3));
    fixture.state().run.conversionRunning = false;
}

void FrmMainTest::acceleratorsFromCaptions() {
    WizardFixture fixture;
    QVERIFY(QTest::qWaitForWindowActive(&fixture.form()));
    // A mnemonic presses its button after a short animation.
    QTest::keyClick(&fixture.form(), Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(fixture.form().currentPage, std::string("SOURCE"));
    QTest::keyClick(&fixture.form(), Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(fixture.form().currentPage, std::string("WELCOME"));
    // A label's mnemonic moves the focus to its box.
    QTest::keyClick(&fixture.form(), Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(fixture.form().currentPage, std::string("SOURCE"));
    fixture.find<QLineEdit>("txtSourceFilename")
        ->setText(QString::fromStdString(testData("access/a97_basic_types.mdb")));
    QTest::keyClick(&fixture.form(), Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(fixture.form().currentPage, std::string("DESTINATION"));
    QTest::keyClick(&fixture.form(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), fixture.find<QWidget>("txtMSSQLServer"));
}

void FrmMainTest::tabOrderFollowsPositions() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    QWidget* start = fixture.find<QWidget>("txtSourceFilename");
    QStringList order;
    for (QWidget* widget = start->nextInFocusChain(); widget != start && order.size() < 200;
         widget = widget->nextInFocusChain())
        if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus))
            order << widget->objectName();
    const QStringList expected = {QStringLiteral("cmdSourceBrowse"), QStringLiteral("txtSourceUsername"),
                                  QStringLiteral("txtSourcePassword"), QStringLiteral("txtSourceSystemDatabase"),
                                  QStringLiteral("cmdSystemDatabaseBrowse")};
    QCOMPARE(order.mid(0, expected.size()), expected);
}

void FrmMainTest::helpOpensTheManualAndDonationTheProductAddress() {
    WizardFixture fixture;
    fixture.click("cmdHelp");
    fixture.click("imgDonate");
    QCOMPARE(fixture.ui().openedDocuments.size(), size_t(2));
    // Run from the build folder: the README rendered there, with its pictures beside it.
    QCOMPARE(fixture.ui().openedDocuments[0], std::string(TABULON_BINARY_DIR) + "/doc/README.html");
    QVERIFY(QFile::exists(QStringLiteral(TABULON_BINARY_DIR "/doc/docs/screenshots/1-welcome.png")));
    QCOMPARE(fixture.ui().openedDocuments[1], std::string(kProductWebAddress));
    QVERIFY(fixture.ui().messages.empty());

    // Installed, the program finds its manual in share/doc/tabulon beside its own folder.
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/tabulon");
    QVERIFY(QDir().mkpath(installed));
    QFile manual(installed + QStringLiteral("/README.html"));
    QVERIFY(manual.open(QIODevice::WriteOnly));
    manual.close();
    fixture.click("cmdHelp");
    QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../share")).removeRecursively();
    QCOMPARE(QString::fromStdString(fixture.ui().openedDocuments.back()), QDir::cleanPath(manual.fileName()));

    // A desktop that opens nothing is told so, with the file's name.
    fixture.ui().openResult = false;
    fixture.click("cmdHelp");
    QCOMPARE(fixture.ui().messages.back().text,
             "No program could be started to show the manual " + std::string(TABULON_BINARY_DIR) + "/doc/README.html.");
}

namespace {
// A key as the user types it: to the widget with the focus, from where it travels up to the window.
void press(WizardFixture& fixture, Qt::Key key) {
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused != nullptr ? focused : &fixture.form(), key);
}

// Escape asks to leave the wizard; the answer No keeps it on the page.
void escapeAsksToCancel(WizardFixture& fixture) {
    const std::string page = fixture.form().currentPage;
    fixture.ui().answers = {msgbox::No};
    press(fixture, Qt::Key_Escape);
    QCOMPARE(fixture.ui().messages.size(), std::size_t(1));
    QCOMPARE(fixture.ui().messages.back().text, std::string("Do you wish to cancel this wizard?"));
    QCOMPARE(fixture.form().currentPage, page);
    fixture.ui().messages.clear();
}
} // namespace

void FrmMainTest::enterGoesOnAndEscapeCancelsOnEveryPage() {
    WizardFixture fixture;
    QVERIFY(QTest::qWaitForWindowActive(&fixture.form()));
    QVERIFY(fixture.find<QPushButton>("cmdNext")->isDefault());
    // The focus starts on "Load Settings", inside the page: Enter still goes on.
    QCOMPARE(QApplication::focusWidget(), fixture.find<QWidget>("cmdLoadSettings"));
    escapeAsksToCancel(fixture);
    press(fixture, Qt::Key_Return);
    QCOMPARE(fixture.form().currentPage, std::string("SOURCE"));

    escapeAsksToCancel(fixture);
    auto* fileName = fixture.find<QLineEdit>("txtSourceFilename");
    fileName->setFocus();
    fileName->setText(QString::fromStdString("\"" + testData("access/a97_basic_types.mdb") + "\""));
    press(fixture, Qt::Key_Enter); // the keypad's Enter, in the box: its quotes go, then the page
    QCOMPARE(fixture.form().currentPage, std::string("DESTINATION"));
    QCOMPARE(fileName->text().toStdString(), testData("access/a97_basic_types.mdb"));

    escapeAsksToCancel(fixture);
    destinationOption(fixture, 1)->setChecked(true);
    fixture.find<QLineEdit>("txtDestinationDumpFilename")->setText(QString::fromStdString(fixture.path("dump.sql")));
    fixture.find<QLineEdit>("txtMSSQLDestinationDatabase")->setFocus();
    press(fixture, Qt::Key_Return);
    QCOMPARE(fixture.form().currentPage, std::string("SELECT_TABLES"));

    escapeAsksToCancel(fixture);
    fixture.form().controls().tvSourceTables->setFocus();
    press(fixture, Qt::Key_Return);
    QCOMPARE(fixture.form().currentPage, std::string("TRANSFER_OPTIONS"));

    // A navigation button with the focus takes Enter for itself, as in any dialog.
    escapeAsksToCancel(fixture);
    fixture.find<QPushButton>("cmdBack")->setFocus();
    press(fixture, Qt::Key_Return);
    QCOMPARE(fixture.form().currentPage, std::string("SELECT_TABLES"));
    fixture.click("cmdNext");

    press(fixture, Qt::Key_Return); // "Run Now"
    QCOMPARE(fixture.form().currentPage, std::string("SAVESETTINGS"));
    QVERIFY(QFile::exists(QString::fromStdString(fixture.path("dump.sql"))));

    // The result page has no Cancel: Escape does nothing; Enter ends the wizard with "Exit".
    press(fixture, Qt::Key_Escape);
    QVERIFY(fixture.ui().messages.empty());
    QVERIFY(fixture.form().isVisible());
    press(fixture, Qt::Key_Return);
    QVERIFY(!fixture.form().isVisible());
    QVERIFY(fixture.errors.empty());
}

void FrmMainTest::enterDuringARunLeavesCancelAlone() {
    WizardFixture fixture;
    QVERIFY(QTest::qWaitForWindowActive(&fixture.form()));
    // The progress page as the run shows it: only Cancel, with the focus.
    ShowFrame(fixture.form(), "frameProgress");
    fixture.find<QPushButton>("cmdCancel")->show();
    fixture.find<QPushButton>("cmdCancel")->setFocus();
    fixture.state().run.conversionRunning = true;
    press(fixture, Qt::Key_Return);
    QVERIFY(fixture.ui().messages.empty());
    fixture.ui().answers = {msgbox::No};
    press(fixture, Qt::Key_Escape);
    QCOMPARE(fixture.ui().messages.size(), std::size_t(1));
    QCOMPARE(fixture.ui().messages.back().text, std::string("Do you wish to cancel the transfer?"));
    fixture.state().run.conversionRunning = false;
}

QTEST_MAIN(FrmMainTest)
#include "frmMainTest.moc"
