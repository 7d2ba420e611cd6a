#include "wizard/FormSettings.h"

#include "lib/Convert.h"
#include "lib/Error.h"
#include "wizard/FormControls.h"
#include "wizard/TableTree.h"
#include "wizard/frmAdvancedOptions.h"
#include "wizard/frmMain.h"
#include "wizard/modWizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>

namespace tabulon {

namespace {
const char* const kSection = "Verdix Tessoral";

std::string textOf(const QLineEdit* box) {
    return box->text().toStdString();
}

int stateOf(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

std::string authenticationOf(const QComboBox* list) {
    switch (list->currentIndex()) {
    case 0:
        return "Windows";
    case 1:
        return "SQL";
    default:
        return "";
    }
}

void putTexts(Dictionary& section, const FormControls& ui) {
    section.set("sourcefilename", textOf(ui.txtSourceFilename));
    section.set("sourceusername", textOf(ui.txtSourceUsername));
    section.set("sourcepassword", textOf(ui.txtSourcePassword));
    section.set("sourcesystemdatabase", textOf(ui.txtSourceSystemDatabase));
    section.set("destinationmethod", ui.optDestination[0]->isChecked() ? "DIRECT" : "DUMP");
    section.set("destinationserver", textOf(ui.txtMSSQLServer));
    section.set("destinationauthentication", authenticationOf(ui.cbMSSQLAuthentication));
    section.set("destinationusername", textOf(ui.txtMSSQLUserName));
    section.set("destinationpassword", textOf(ui.txtMSSQLPassword));
    section.set("destinationdatabase", textOf(ui.txtMSSQLDestinationDatabase));
    section.set("destinationdumpfilename", textOf(ui.txtDestinationDumpFilename));
    section.set("sourcetables", StringList(GetCheckedTablePaths(ui.tvSourceTables)->keys()));
}

void putFlags(Dictionary& section, const FormControls& ui) {
    section.set("dropdatabase", stateOf(ui.chkDropDatabase));
    section.set("createtables", stateOf(ui.chkCreateTables));
    section.set("unicode", stateOf(ui.chkUnicode));
    section.set("autocommit", stateOf(ui.chkAutocommit));
    section.set("transferdefaultvalues", stateOf(ui.chkTransferDefaultValues));
    section.set("transferindexes", stateOf(ui.chkTransferIndexes));
    section.set("transferautonumbers", stateOf(ui.chkTransferAutonumbers));
    section.set("transferrecords", stateOf(ui.chkTransferRecords));
    section.set("columnlist", stateOf(ui.chkColumnList));
}

void putAdvanced(Dictionary& section, const frmAdvancedOptions& dialog) {
    section.set("tableprefix", dialog.txtTablePrefix->text().toStdString());
    section.set("negativeboolean", stateOf(dialog.chkBooleanValue));
    section.set("ignorelargeblobs", stateOf(dialog.chkIgnoreLargeBlobs));
    section.set("memotype", dialog.cbMemoType->currentText().toStdString());
    section.set("datetimetype", dialog.cbDateTimeType->currentText().toStdString());
    section.set("transferrelationships", stateOf(dialog.chkTransferRelationships));
    section.set("transfervalidationrules", stateOf(dialog.chkTransferValidationRules));
    section.set("transferdescriptions", stateOf(dialog.chkTransferDescriptions));
    section.set("verifycounts", stateOf(dialog.chkVerifyCounts));
    section.set("transferqueries", stateOf(dialog.chkTransferQueries));
}

// A check-box value as an integer: numbers and numeric texts convert, the empty value is 0, any
// other text is a type mismatch.
long long integerOf(const Variant& value, const std::string& key) {
    if (value.isEmpty() || value.isNull())
        return 0;
    if (value.type() == Variant::Type::Boolean)
        return value.boolean() ? -1 : 0;
    double number = 0;
    if (value.isNumber() || parseNumericText(toText(value), number))
        return std::llround(val(toText(value)));
    throw Error(errc::TypeMismatch, "Verdix.modSettings.ApplySettingsToForm",
                "Type mismatch: the setting '" + key + "' holds '" + toText(value) + "', which is not a number.");
}

void setCheck(QCheckBox* box, const Dictionary& section, const std::string& key) {
    box->setChecked(integerOf(section.get(key), key) != 0);
}

// The options of what is added after the tables are on unless the settings say 0, so an object made
// before they existed leaves them on.
void setCheckOnUnlessZero(QCheckBox* box, const Dictionary& section, const std::string& key) {
    box->setChecked(!section.contains(key) || integerOf(section.get(key), key) != 0);
}

// Selects the first entry, then the one whose text equals `text` exactly, if any.
void selectEntry(QComboBox* list, const std::string& text) {
    list->setCurrentIndex(list->count() > 0 ? 0 : -1);
    const int match = list->findText(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (match >= 0)
        list->setCurrentIndex(match);
}

void applyTexts(frmMain& form, const Dictionary& section) {
    const FormControls& ui = form.controls();
    const auto text = [&section](const char* key) { return QString::fromStdString(toText(section.get(key))); };
    ui.txtSourceFilename->setText(text("sourcefilename"));
    ui.txtSourceUsername->setText(text("sourceusername"));
    ui.txtSourcePassword->setText(text("sourcepassword"));
    ui.txtSourceSystemDatabase->setText(text("sourcesystemdatabase"));

    const std::string method = toText(section.get("destinationmethod"));
    ui.optDestination[method == "DIRECT" ? 0 : 1]->setChecked(true);
    ShowDestinationFrames(form, method);

    ui.txtMSSQLServer->setText(text("destinationserver"));
    const bool sqlLogin = toLowerAscii(toText(section.get("destinationauthentication"))) == "sql";
    ui.cbMSSQLAuthentication->setCurrentIndex(sqlLogin ? 1 : 0);
    ui.txtMSSQLUserName->setText(text("destinationusername"));
    ui.txtMSSQLPassword->setText(text("destinationpassword"));
    ui.txtMSSQLDestinationDatabase->setText(text("destinationdatabase"));
    ui.txtDestinationDumpFilename->setText(text("destinationdumpfilename"));

    // The hidden storage-engine list takes only one of its own entries; anything else is ignored.
    const int engine = ui.cbStorageEngine->findText(text("storageengine"), Qt::MatchExactly);
    if (engine >= 0)
        ui.cbStorageEngine->setCurrentIndex(engine);
}

void applySelection(frmMain& form, const Dictionary& section) {
    const Variant& tables = section.get("sourcetables");
    DictionaryPtr selection = Dictionary::create();
    if (tables.isList())
        for (const std::string& path : tables.list())
            selection->set(path, path);
    form.selectedTables = selection;
}

void applyFlags(const FormControls& ui, const Dictionary& section) {
    setCheck(ui.chkDropDatabase, section, "dropdatabase");
    setCheck(ui.chkCreateTables, section, "createtables");
    setCheck(ui.chkUnicode, section, "unicode");
    setCheck(ui.chkAutocommit, section, "autocommit");
    setCheck(ui.chkTransferDefaultValues, section, "transferdefaultvalues");
    setCheck(ui.chkTransferIndexes, section, "transferindexes");
    setCheck(ui.chkTransferAutonumbers, section, "transferautonumbers");
    setCheck(ui.chkTransferRecords, section, "transferrecords");
    setCheck(ui.chkColumnList, section, "columnlist");
}

void applyAdvanced(frmAdvancedOptions& dialog, const Dictionary& section) {
    dialog.txtTablePrefix->setText(QString::fromStdString(toText(section.get("tableprefix"))));
    setCheck(dialog.chkBooleanValue, section, "negativeboolean");
    setCheck(dialog.chkIgnoreLargeBlobs, section, "ignorelargeblobs");
    selectEntry(dialog.cbMemoType, toText(section.get("memotype")));
    selectEntry(dialog.cbDateTimeType, toText(section.get("datetimetype")));
    setCheckOnUnlessZero(dialog.chkTransferRelationships, section, "transferrelationships");
    setCheckOnUnlessZero(dialog.chkTransferValidationRules, section, "transfervalidationrules");
    setCheckOnUnlessZero(dialog.chkTransferDescriptions, section, "transferdescriptions");
    setCheckOnUnlessZero(dialog.chkVerifyCounts, section, "verifycounts");
    setCheckOnUnlessZero(dialog.chkTransferQueries, section, "transferqueries");
}

// Sets `loadingSettings` for the time the settings are being applied, whatever happens.
class LoadingSettings {
public:
    explicit LoadingSettings(frmMain& form) : m_form(form) { m_form.loadingSettings = true; }
    ~LoadingSettings() { m_form.loadingSettings = false; }
    LoadingSettings(const LoadingSettings&) = delete;
    LoadingSettings& operator=(const LoadingSettings&) = delete;

private:
    frmMain& m_form;
};
} // namespace

DictionaryPtr GetSettingsFromForm(frmMain& form) {
    DictionaryPtr settings = Dictionary::create();
    DictionaryPtr section = Dictionary::create();
    settings->set(kSection, section);
    putTexts(*section, form.controls());
    putFlags(*section, form.controls());
    putAdvanced(*section, form.advancedOptions());
    return settings;
}

void ApplySettingsToForm(frmMain& form, const DictionaryPtr& settings) {
    const DictionaryPtr section = settings ? settings->dictionaryAt(kSection) : nullptr;
    if (!section)
        return;
    LoadingSettings loading(form);
    applyTexts(form, *section);
    applySelection(form, *section);
    applyFlags(form.controls(), *section);
    applyAdvanced(form.advancedOptions(), *section);
}

} // namespace tabulon
