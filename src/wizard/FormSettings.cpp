#include "wizard/FormSettings.h"

#include "engine/SettingsKeys.h"
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

// A check-box value as an integer: numbers and numeric texts convert, the empty value is 0, any
// other text is a type mismatch.
long long integerOf(const Variant& value, std::string_view key) {
    if (value.isEmpty() || value.isNull())
        return 0;
    if (value.type() == Variant::Type::Boolean)
        return value.boolean() ? -1 : 0;
    double number = 0;
    if (value.isNumber() || parseNumericText(toText(value), number))
        return std::llround(val(toText(value)));
    throw Error(errc::TypeMismatch, "Verdix.modSettings.ApplySettingsToForm",
                "Type mismatch: the setting '" + std::string(key) + "' holds '" + toText(value) +
                    "', which is not a number.");
}

// Selects the first entry, then the one whose text equals `text` exactly, if any.
void selectEntry(QComboBox* list, const std::string& text) {
    list->setCurrentIndex(list->count() > 0 ? 0 : -1);
    const int match = list->findText(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (match >= 0)
        list->setCurrentIndex(match);
}

// The control of the main window or of the advanced options dialog (loaded, hidden, when needed)
// that the table names for a key.
QWidget* controlOf(frmMain& form, const SettingKey& key) {
    const QString name = QString::fromLatin1(key.control.data(), static_cast<qsizetype>(key.control.size()));
    QWidget* control = form.findChild<QWidget*>(name);
    if (!control)
        control = form.advancedOptions().findChild<QWidget*>(name);
    if (!control)
        throw Error(errc::General, "Verdix.modSettings",
                    "The window has no control '" + std::string(key.control) + "' for the setting '" +
                        std::string(key.name) + "'");
    return control;
}

// The value of a key as its control holds it: texts as they stand, check boxes as 0 or 1.
Variant valueOf(frmMain& form, const SettingKey& key) {
    const FormControls& ui = form.controls();
    if (key.control == "optDestination")
        return ui.optDestination[0]->isChecked() ? "DIRECT" : "DUMP";
    if (key.control == "cbMSSQLAuthentication")
        return authenticationOf(ui.cbMSSQLAuthentication);
    if (key.control == "tvSourceTables")
        return StringList(GetCheckedTablePaths(ui.tvSourceTables)->keys());
    QWidget* control = controlOf(form, key);
    if (const auto* box = qobject_cast<QCheckBox*>(control))
        return box->isChecked() ? 1 : 0;
    if (const auto* list = qobject_cast<QComboBox*>(control))
        return list->currentText().toStdString();
    return qobject_cast<QLineEdit*>(control)->text().toStdString();
}

void applySelection(frmMain& form, const Variant& tables) {
    DictionaryPtr selection = Dictionary::create();
    if (tables.isList())
        for (const std::string& path : tables.list())
            selection->set(path, path);
    form.selectedTables = selection;
}

void applyValue(frmMain& form, const SettingKey& key, const Variant& value) {
    const FormControls& ui = form.controls();
    const std::string text = toText(value);
    if (key.control == "optDestination") {
        ui.optDestination[text == "DIRECT" ? 0 : 1]->setChecked(true);
        ShowDestinationFrames(form, text);
    } else if (key.control == "cbMSSQLAuthentication") {
        ui.cbMSSQLAuthentication->setCurrentIndex(toLowerAscii(text) == "sql" ? 1 : 0);
    } else if (key.control == "tvSourceTables") {
        applySelection(form, value);
    } else if (key.control == "cbStorageEngine") {
        // The hidden storage-engine list takes only one of its own entries; anything else is ignored.
        const int engine = ui.cbStorageEngine->findText(QString::fromStdString(text), Qt::MatchExactly);
        if (engine >= 0)
            ui.cbStorageEngine->setCurrentIndex(engine);
    } else if (QWidget* control = controlOf(form, key); auto* box = qobject_cast<QCheckBox*>(control)) {
        box->setChecked(key.onWhenMissing && value.isEmpty() ? true : integerOf(value, key.name) != 0);
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        selectEntry(list, text);
    } else {
        qobject_cast<QLineEdit*>(control)->setText(QString::fromStdString(text));
    }
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
    settings->set(kSettingsSection, section);
    for (const SettingKey& key : SettingKeys())
        if (key.written)
            section->set(std::string(key.name), valueOf(form, key));
    return settings;
}

void ApplySettingsToForm(frmMain& form, const DictionaryPtr& settings) {
    const DictionaryPtr section = settings ? settings->dictionaryAt(kSettingsSection) : nullptr;
    if (!section)
        return;
    LoadingSettings loading(form);
    for (const SettingKey& key : SettingKeys())
        if (!key.control.empty())
            applyValue(form, key, section->get(std::string(key.name)));
}

} // namespace tabulon
