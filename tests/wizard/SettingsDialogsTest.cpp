// The Load and Save Settings dialogs and the three browse buttons, answered from a script.
#include "WizardTestSupport.h"

#include "engine/SettingsKeys.h"
#include "lib/Convert.h"
#include "lib/Ini.h"
#include "wizard/FormSettings.h"
#include "wizard/TableTree.h"
#include "wizard/frmAdvancedOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

#include <sys/stat.h>

using namespace tabulon;
using namespace tabulon::test;

namespace {
void writeFile(const std::string& path, const std::string& text) {
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

std::string folderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('/') + 1);
}

unsigned modeOf(const std::string& path) {
    return static_cast<unsigned>(std::filesystem::status(path).permissions()) & 0777u;
}

QStringList checkedPaths(WizardFixture& fixture) {
    QStringList paths;
    for (const std::string& path : GetCheckedTablePaths(fixture.form().controls().tvSourceTables)->keys())
        paths << QString::fromStdString(path);
    return paths;
}
} // namespace

class SettingsDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QCOMPARE(visibleTopLevelWindows(), 0); }

    void saveThenLoadRestoresTheForm();
    void everyWrittenKeyGoesThroughItsControl();
    void saveAsksBeforeOverwriting();
    void loadOfAMissingFileSaysSo();
    void loadOfASectionOnlyFileNormalises();
    void savedPasswordsAreTheUsersAlone();
    void dialogsStartInTheDocumentsFolderElseHome();
    void loadAppliesTheSelectionToTheOpenDatabase();
    void cancelledDialogsChangeNothing();
    void sourceBrowseRemembersFolderAndFile();
    void systemDatabaseBrowseUsesTheWorkgroupFilter();
    void dumpBrowseAsksBeforeOverwriting();
};

void SettingsDialogsTest::saveThenLoadRestoresTheForm() {
    QTemporaryDir outside;
    const std::string file = outside.filePath(QStringLiteral("saved.ini")).toStdString();
    {
        WizardFixture fixture;
        fixture.find<QLineEdit>("txtSourceFilename")->setText(QStringLiteral("C:\\data\\orders, 2024.mdb"));
        fixture.find<QLineEdit>("txtSourcePassword")->setText(QStringLiteral("s3cret"));
        destinationOption(fixture, 1)->setChecked(true);
        fixture.find<QComboBox>("cbMSSQLAuthentication")->setCurrentIndex(1);
        fixture.find<QCheckBox>("chkColumnList")->setChecked(false);
        fixture.form().advancedOptions().txtTablePrefix->setText(QStringLiteral("acc_"));
        fixture.form().advancedOptions().cbDateTimeType->setCurrentIndex(1);
        fixture.dialogs().answers.push_back(file);
        fixture.find<QPushButton>("cmdSaveSettings1")->click();
        QVERIFY(fixture.errors.empty());
        QCOMPARE(fixture.dialogs().requests.back().title, std::string("Save Settings As"));
        QCOMPARE(fixture.dialogs().requests.back().save, true);
        QCOMPARE(fixture.store().text("Settings", "SaveFolder"), folderOf(file));
        // The saved file keeps its password, whatever the automatic file does.
        QCOMPARE(toText(ReadIniFile(file)->dictionaryAt("Verdix Tessoral")->get("sourcepassword")),
                 std::string("s3cret"));
    }

    WizardFixture fixture;
    fixture.dialogs().answers.push_back(file);
    fixture.click("cmdLoadSettings");
    QVERIFY(fixture.errors.empty());
    QCOMPARE(fixture.dialogs().requests.back().title, std::string("Load Settings"));
    QCOMPARE(fixture.ui().messages.back().text, std::string("Wizard settings were loaded successfully"));
    QCOMPARE(fixture.find<QLineEdit>("txtSourceFilename")->text(), QStringLiteral("C:\\data\\orders, 2024.mdb"));
    QCOMPARE(fixture.find<QLineEdit>("txtSourcePassword")->text(), QStringLiteral("s3cret"));
    QVERIFY(destinationOption(fixture, 1)->isChecked());
    QCOMPARE(fixture.find<QComboBox>("cbMSSQLAuthentication")->currentIndex(), 1);
    QVERIFY(!fixture.find<QCheckBox>("chkColumnList")->isChecked());
    QCOMPARE(fixture.form().advancedOptions().txtTablePrefix->text(), QStringLiteral("acc_"));
    QCOMPARE(fixture.form().advancedOptions().cbDateTimeType->currentText(), QStringLiteral("DATETIME"));
    QCOMPARE(fixture.store().text("Settings", "LastLoadedIni"), file);
}

// Each key of the settings table reaches its control and comes back from it unchanged: the texts as
// they stand, the flags (the opposite of their defaults here) as 0 and 1.
void SettingsDialogsTest::everyWrittenKeyGoesThroughItsControl() {
    WizardFixture fixture;
    DictionaryPtr settings = Dictionary::create();
    DictionaryPtr section = Dictionary::create();
    settings->set(kSettingsSection, section);
    for (const SettingKey& key : SettingKeys()) {
        const std::string name(key.name);
        if (!key.written)
            continue;
        if (key.kind == SettingKind::Flag)
            section->set(name, key.defaultOn ? 0 : 1);
        else
            section->set(name, "value of " + name);
    }
    section->set("destinationmethod", "DUMP");
    section->set("destinationauthentication", "SQL");
    section->set("memotype", "VARCHAR(MAX)");
    section->set("datetimetype", "DATETIME");
    section->set("sourcetables", StringList{"Orders"}); // remembered for the next scan, not in the tree yet
    fixture.form().applySettingsToForm(settings);
    QVERIFY(fixture.errors.empty());

    section->set("sourcetables", StringList{});
    const DictionaryPtr back = GetSettingsFromForm(fixture.form())->dictionaryAt(kSettingsSection);
    QCOMPARE(back->keys(), section->keys());
    for (const std::string& key : section->keys())
        QVERIFY2(back->get(key) == section->get(key), key.c_str());
    QVERIFY(fixture.form().selectedTables->contains("Orders"));
}

void SettingsDialogsTest::saveAsksBeforeOverwriting() {
    WizardFixture fixture;
    const std::string path = fixture.path("old.ini");
    writeFile(path, "keep me");
    fixture.dialogs().answers.push_back(path);
    fixture.find<QPushButton>("cmdSaveSettings1")->click();
    QCOMPARE(fixture.ui().messages.back().text, std::string("The file already exists. Do you want to overwrite it?"));
    QCOMPARE(fixture.ui().messages.back().title, std::string("Overwrite File"));
    QCOMPARE(readAll(path), std::string("keep me"));
    // Under "hide" the default answer is No: the file stays as well.
    fixture.state().hideMode = true;
    fixture.dialogs().answers.push_back(path);
    fixture.find<QPushButton>("cmdSaveSettings1")->click();
    QCOMPARE(readAll(path), std::string("keep me"));

    fixture.state().hideMode = false;
    fixture.ui().answers.push_back(6);
    fixture.dialogs().answers.push_back(path);
    fixture.find<QPushButton>("cmdSaveSettings1")->click();
    QVERIFY(readAll(path).find("[Verdix Tessoral]") != std::string::npos);
}

void SettingsDialogsTest::savedPasswordsAreTheUsersAlone() {
    const mode_t savedMask = ::umask(022);
    WizardFixture fixture;
    const std::string path = fixture.path("shared.ini");
    writeFile(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    fixture.find<QLineEdit>("txtMSSQLPassword")->setText(QStringLiteral("sa-secret"));
    fixture.ui().answers.push_back(6);
    fixture.dialogs().answers.push_back(path);
    fixture.find<QPushButton>("cmdSaveSettings1")->click();
    ::umask(savedMask);
    QVERIFY(readAll(path).find("destinationpassword=sa-secret") != std::string::npos);
    QCOMPARE(modeOf(path), 0600u);

    // Loaded back as it is: no warning. Opened to others: the log says so.
    fixture.dialogs().answers.push_back(path);
    fixture.click("cmdLoadSettings");
    QVERIFY(fixture.log.empty());
    std::filesystem::permissions(path, std::filesystem::perms::group_read, std::filesystem::perm_options::add);
    fixture.dialogs().answers.push_back(path);
    fixture.click("cmdLoadSettings");
    QCOMPARE(fixture.log.size(), std::size_t(1));
    QVERIFY(fixture.log[0].find("Warning: the settings file " + path + " holds a password") == 0);
    QCOMPARE(fixture.ui().messages.back().text, std::string("Wizard settings were loaded successfully"));
}

void SettingsDialogsTest::dialogsStartInTheDocumentsFolderElseHome() {
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME"), savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    const std::string root = home.path().toStdString();
    {
        WizardFixture fixture;
        fixture.click("cmdLoadSettings");
        QCOMPARE(fixture.dialogs().requests.back().initialFolder, root + "/");
        QDir(home.path()).mkpath(QStringLiteral("Documents"));
        fixture.click("cmdLoadSettings");
        QCOMPARE(fixture.dialogs().requests.back().initialFolder, root + "/Documents/");
        fixture.click("cmdNext");
        fixture.click("cmdSourceBrowse");
        QCOMPARE(fixture.dialogs().requests.back().initialFolder, root + "/Documents/");
        fixture.click("cmdSystemDatabaseBrowse");
        QCOMPARE(fixture.dialogs().requests.back().initialFolder, root + "/Documents/");
    }
    savedHome.isNull() ? qunsetenv("HOME") : qputenv("HOME", savedHome);
    savedConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", savedConfig);
}

void SettingsDialogsTest::loadAppliesTheSelectionToTheOpenDatabase() {
    WizardFixture fixture;
    const std::string source = testData("access/a97_basic_types.mdb");
    const std::string settings = fixture.path("two-tables.ini");
    writeFile(settings, "[Verdix Tessoral]\r\n  sourcefilename=" + source +
                            "\r\n  sourcetables[]=\"Table2\",\"Table3\",\"Table3\\b\"\r\n");
    walkToTransferOptions(fixture, source);
    fixture.click("cmdBack");
    QCOMPARE(fixture.form().currentPage, std::string("SELECT_TABLES"));
    QVERIFY(checkedPaths(fixture).size() > 3); // everything, as the first scan checks it

    for (int step = 0; step < 3; ++step)
        fixture.click("cmdBack");
    fixture.dialogs().answers.push_back(settings);
    fixture.click("cmdLoadSettings");
    const QStringList loaded = {QStringLiteral("Table2"), QStringLiteral("Table3"), QStringLiteral("Table3\\b")};
    QCOMPARE(checkedPaths(fixture), loaded);
    for (int step = 0; step < 3; ++step)
        fixture.click("cmdNext");
    QCOMPARE(fixture.form().currentPage, std::string("SELECT_TABLES"));
    QCOMPARE(checkedPaths(fixture), loaded);
    QVERIFY(fixture.errors.empty());
}

void SettingsDialogsTest::loadOfAMissingFileSaysSo() {
    WizardFixture fixture;
    const std::string path = fixture.path("gone.ini");
    fixture.dialogs().answers.push_back(path);
    fixture.click("cmdLoadSettings");
    QCOMPARE(fixture.ui().messages.size(), std::size_t(1));
    QCOMPARE(fixture.ui().messages.back().text, std::string("The file does not exist?"));
    QCOMPARE(fixture.ui().messages.back().title, std::string("Load Settings"));
    QCOMPARE(fixture.store().text("Settings", "LastLoadedIni"), path);
}

void SettingsDialogsTest::loadOfASectionOnlyFileNormalises() {
    WizardFixture fixture;
    const std::string path = fixture.path("bare.ini");
    writeFile(path, "[Verdix Tessoral]\r\n");
    fixture.find<QCheckBox>("chkCreateTables")->setChecked(false);
    fixture.dialogs().answers.push_back(path);
    fixture.click("cmdLoadSettings");
    QVERIFY(fixture.errors.empty());
    QVERIFY(fixture.find<QCheckBox>("chkCreateTables")->isChecked());
    QVERIFY(!fixture.find<QCheckBox>("chkDropDatabase")->isChecked());
    QVERIFY(destinationOption(fixture, 1)->isChecked());
    QCOMPARE(fixture.find<QLineEdit>("txtMSSQLServer")->text(), QString());
    QCOMPARE(fixture.form().advancedOptions().cbMemoType->currentText(), QStringLiteral("VARCHAR(MAX)"));
    // Loading checks the drop box quietly: no warning while settings are applied.
    QCOMPARE(fixture.ui().messages.size(), std::size_t(1));
}

void SettingsDialogsTest::cancelledDialogsChangeNothing() {
    WizardFixture fixture;
    const QString before = fixture.find<QLineEdit>("txtDestinationDumpFilename")->text();
    fixture.click("cmdLoadSettings");
    fixture.find<QPushButton>("cmdBrowseDump")->click();
    fixture.click("cmdNext");
    fixture.click("cmdSourceBrowse");
    QVERIFY(fixture.ui().messages.empty());
    QCOMPARE(fixture.store().text("Settings", "SourceFolder", "none"), std::string("none"));
    QCOMPARE(fixture.store().text("Settings", "SaveFolder", "none"), std::string("none"));
    QCOMPARE(fixture.find<QLineEdit>("txtDestinationDumpFilename")->text(), before);
}

void SettingsDialogsTest::sourceBrowseRemembersFolderAndFile() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    QLineEdit* fileName = fixture.find<QLineEdit>("txtSourceFilename");
    const std::string missing = fixture.path("missing.mdb");
    fixture.dialogs().answers.push_back(missing);
    fixture.click("cmdSourceBrowse");
    const FileDialogRequest& asked = fixture.dialogs().requests.back();
    QCOMPARE(asked.title, std::string("Select Source Database"));
    QCOMPARE(asked.filter,
             std::string("(*.mdb, *.mde, *.accdb, *.accde) MS Access|*.mdb;*.mde;*.accdb;*.accde|(*.*) All Files|*.*"));
    QCOMPARE(fixture.ui().messages.back().text, std::string("The file does not exist?"));
    QCOMPARE(fileName->text(), QString());
    QCOMPARE(fixture.store().text("Settings", "SourceFolder"), folderOf(missing));
    QCOMPARE(fixture.store().text("Settings", "LastLoadedSource"), missing);

    const std::string real = testData("access/a97_basic_types.mdb");
    fixture.dialogs().answers.push_back(real);
    fixture.click("cmdSourceBrowse");
    QCOMPARE(fixture.dialogs().requests.back().initialFolder, folderOf(missing));
    QCOMPARE(fixture.dialogs().requests.back().fileName, missing);
    QCOMPARE(fileName->text().toStdString(), real);
}

void SettingsDialogsTest::systemDatabaseBrowseUsesTheWorkgroupFilter() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    const std::string workgroup = testData("access/a2000_empty.mdb");
    fixture.dialogs().answers.push_back(workgroup);
    fixture.click("cmdSystemDatabaseBrowse");
    QCOMPARE(fixture.dialogs().requests.back().filter, std::string("(*.mdb) MS Access|*.mdw|(*.*) All Files|*.*"));
    QCOMPARE(fixture.find<QLineEdit>("txtSourceSystemDatabase")->text().toStdString(), workgroup);
    QCOMPARE(fixture.store().text("Settings", "LastLoadedSystemDatabase"), workgroup);
    QCOMPARE(fixture.find<QLineEdit>("txtSourceFilename")->text(), QString());
}

void SettingsDialogsTest::dumpBrowseAsksBeforeOverwriting() {
    WizardFixture fixture;
    QLineEdit* dump = fixture.find<QLineEdit>("txtDestinationDumpFilename");
    const std::string existing = fixture.path("old.sql");
    writeFile(existing, "-- old");
    // The dialog keeps the folder of the previous one: the component is shared.
    fixture.form().commonDialog.initialFolder = "/previous/";
    fixture.ui().answers.push_back(7);
    fixture.dialogs().answers.push_back(existing);
    fixture.find<QPushButton>("cmdBrowseDump")->click();
    QCOMPARE(fixture.dialogs().requests.back().initialFolder, std::string("/previous/"));
    QCOMPARE(fixture.dialogs().requests.back().fileName, std::string("dump.sql"));
    QCOMPARE(fixture.ui().messages.back().title, std::string("Overwrite File"));
    QCOMPARE(dump->text(), QStringLiteral("dump.sql"));

    fixture.state().hideMode = true; // default answer Yes
    fixture.dialogs().answers.push_back(existing);
    fixture.find<QPushButton>("cmdBrowseDump")->click();
    QCOMPARE(dump->text().toStdString(), existing);
}

QTEST_MAIN(SettingsDialogsTest)
#include "SettingsDialogsTest.moc"
