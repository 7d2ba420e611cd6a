// The advanced options dialog: its lists, its controls and how it keeps values between openings.
#include "WizardTestSupport.h"

#include "wizard/FormSettings.h"
#include "wizard/frmAdvancedOptions.h"
#include "wizard/modWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tabulon;
using namespace tabulon::test;

class FrmAdvancedOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QCOMPARE(visibleTopLevelWindows(), 0); }

    void loadingFillsTheTypeListsWithoutSelecting();
    void settingsSelectTheListEntries();
    void closeKeepsWhatWasTyped();
    void theOptionsAfterTheTablesAreOnUnlessTheSettingsSayZero();
    void advancedButtonShowsTheDialogModally();
};

void FrmAdvancedOptionsTest::loadingFillsTheTypeListsWithoutSelecting() {
    QWidget owner;
    frmAdvancedOptions dialog(&owner);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Advanced Options"));
    QCOMPARE(dialog.cbMemoType->count(), 1);
    QCOMPARE(dialog.cbMemoType->itemText(0), QStringLiteral("VARCHAR(MAX)"));
    QCOMPARE(dialog.cbDateTimeType->count(), 2);
    QCOMPARE(dialog.cbDateTimeType->itemText(0), QStringLiteral("DATETIME2"));
    QCOMPARE(dialog.cbDateTimeType->itemText(1), QStringLiteral("DATETIME"));
    QCOMPARE(dialog.cbMemoType->currentIndex(), -1);
    QCOMPARE(dialog.cbDateTimeType->currentIndex(), -1);
    QCOMPARE(dialog.txtTablePrefix->toolTip(),
             QStringLiteral("You can prefix table names in the destination database with this value."));
    QCOMPARE(dialog.chkBooleanValue->text(), QStringLiteral("Transfer booleans as 0/-1 instead of 0/1"));
    QCOMPARE(dialog.chkIgnoreLargeBlobs->text(), QStringLiteral("Ignore BLOBs that are too large"));
    QCOMPARE(dialog.chkTransferQueries->text(), QStringLiteral("Transfer saved queries as views"));
    QCOMPARE(dialog.cmdClose->text(), QStringLiteral("Close"));
}

void FrmAdvancedOptionsTest::settingsSelectTheListEntries() {
    WizardFixture fixture;
    // Applied at start-up with the default memo type LONGTEXT, which the list does not hold.
    DictionaryPtr settings = GetSettingsFromForm(fixture.form());
    DictionaryPtr section = settings->dictionaryAt("Verdix Tessoral");
    QCOMPARE(section->get("memotype").text(), std::string("VARCHAR(MAX)"));
    QCOMPARE(section->get("datetimetype").text(), std::string("DATETIME2"));

    section->set("datetimetype", "DATETIME");
    section->set("tableprefix", "acc_");
    section->set("negativeboolean", "1");
    fixture.form().applySettingsToForm(settings);
    frmAdvancedOptions& dialog = fixture.form().advancedOptions();
    QCOMPARE(dialog.cbDateTimeType->currentText(), QStringLiteral("DATETIME"));
    QCOMPARE(dialog.txtTablePrefix->text(), QStringLiteral("acc_"));
    QVERIFY(dialog.chkBooleanValue->isChecked());
    QVERIFY(!dialog.chkIgnoreLargeBlobs->isChecked());

    // An unknown type (letter case counts) falls back to the first entry.
    section->set("datetimetype", "datetime");
    fixture.form().applySettingsToForm(settings);
    QCOMPARE(dialog.cbDateTimeType->currentText(), QStringLiteral("DATETIME2"));
}

void FrmAdvancedOptionsTest::closeKeepsWhatWasTyped() {
    WizardFixture fixture;
    frmAdvancedOptions& dialog = fixture.form().advancedOptions();
    dialog.show();
    QTest::keyClicks(dialog.txtTablePrefix, QStringLiteral("old_"));
    dialog.chkIgnoreLargeBlobs->click();
    QTest::mouseClick(dialog.cmdClose, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    DictionaryPtr section = GetSettingsFromForm(fixture.form())->dictionaryAt("Verdix Tessoral");
    QCOMPARE(section->get("tableprefix").text(), std::string("old_"));
    QCOMPARE(section->get("ignorelargeblobs").integer(), std::int64_t(1));
}

void FrmAdvancedOptionsTest::theOptionsAfterTheTablesAreOnUnlessTheSettingsSayZero() {
    WizardFixture fixture;
    frmAdvancedOptions& dialog = fixture.form().advancedOptions();
    const std::vector<std::pair<const char*, QCheckBox*>> options = {
        {"transferrelationships", dialog.chkTransferRelationships},
        {"transfervalidationrules", dialog.chkTransferValidationRules},
        {"transferdescriptions", dialog.chkTransferDescriptions},
        {"verifycounts", dialog.chkVerifyCounts},
        {"transferqueries", dialog.chkTransferQueries}};
    DictionaryPtr settings = GetSettingsFromForm(fixture.form());
    DictionaryPtr section = settings->dictionaryAt("Verdix Tessoral");
    for (const auto& [key, box] : options) {
        QVERIFY(box->isChecked());
        QCOMPARE(section->get(key).integer(), std::int64_t(1));
    }
    QCOMPARE(dialog.chkTransferRelationships->text(), QStringLiteral("Transfer relationships as foreign keys"));

    // Each box writes its own key; one that a settings object lacks stays on.
    for (const auto& [key, box] : options) {
        section->set(key, "0");
        fixture.form().applySettingsToForm(settings);
        QVERIFY2(!box->isChecked(), key);
        QCOMPARE(GetSettingsFromForm(fixture.form())->dictionaryAt("Verdix Tessoral")->get(key).integer(),
                 std::int64_t(0));
        section->remove(key);
        fixture.form().applySettingsToForm(settings);
        QVERIFY2(box->isChecked(), key);
    }
}

void FrmAdvancedOptionsTest::advancedButtonShowsTheDialogModally() {
    WizardFixture fixture;
    fixture.click("cmdNext");
    std::string page = "SELECT_TABLES";
    ShowTransferOptionsPage(fixture.form(), page, true);
    bool sawModalDialog = false;
    QTimer::singleShot(0, [&] {
        frmAdvancedOptions& dialog = fixture.form().advancedOptions();
        sawModalDialog = dialog.isVisible() && dialog.isModal() && dialog.parentWidget() == &fixture.form();
        dialog.cmdClose->click();
    });
    fixture.click("cmdAdvancedOptions");
    QVERIFY(sawModalDialog);
    QVERIFY(!fixture.form().advancedOptions().isVisible());
}

QTEST_MAIN(FrmAdvancedOptionsTest)
#include "frmAdvancedOptionsTest.moc"
