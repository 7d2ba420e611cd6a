#include "WizardTestSupport.h"

#include "engine/SettingsKeys.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

namespace tabulon::test {

int ScriptedUserInterface::messageBox(const std::string& text, int style, const std::string& title) {
    messages.push_back({text, style, title});
    if (answers.empty())
        return msgbox::Ok;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedUserInterface::openDocument(const std::string& target) {
    openedDocuments.push_back(target);
    return openResult;
}

std::optional<std::string> ScriptedFileDialogs::choose(const FileDialogRequest& request) {
    requests.push_back(request);
    if (answers.empty())
        return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
}

DictionaryPtr defaultSettings() {
    DictionaryPtr settings = Dictionary::create();
    settings->set(kSettingsSection, DefaultSection({"", "testhost", "dump.sql"}));
    return settings;
}

WizardFixture::WizardFixture(bool screenshotMode) {
    // wizard.ini and access.xml go to the fixture's folder, never to the user's.
    qputenv("APPDATA", m_folder.path().toUtf8());
    qputenv("TEMP", m_folder.path().toUtf8());
    m_store = std::make_unique<UserStore>(path("store.ini"));
    m_state.screenshotMode = screenshotMode;
    m_form = std::make_unique<frmMain>(m_state, m_ui);
    m_form->setUserStore(m_store.get());
    m_form->setFileDialogs(&m_dialogs);
    m_form->setLogWriter([this](const std::string& text) { log.push_back(text); });
    m_form->setErrorReporter(
        [this](const std::string& function, long number, const std::string& description, const std::string&) {
            errors.push_back({function, number, description});
        });
    frmMain& form = *m_form;
    form.hideAutocommit();
    form.initForm();
    form.removePictureBoxTabStops();
    form.positionWizardFrames();
    form.setTabOrder();
    form.setWelcomeText("Welcome to the Tabulon conversion wizard. This wizard will collect information about the "
                        "following topics:\r\n\r\n1. The source database\r\n2. The destination database\r\n"
                        "3. The set of tables to be transfered\r\n4. A set of transfer options");
    form.applySettingsToForm(defaultSettings());
    form.scaleDialog();
    form.updateSecurityFields();
    form.navigateFromInit();
    form.show();
    QApplication::setActiveWindow(&form);
}

WizardFixture::~WizardFixture() {
    m_form->close();
}

std::string WizardFixture::path(const std::string& name) const {
    return m_folder.filePath(QString::fromStdString(name)).toStdString();
}

void WizardFixture::click(const char* name) {
    auto* button = find<QPushButton>(name);
    QVERIFY2(button != nullptr, name);
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

std::string testData(const std::string& name) {
    return std::string(TABULON_TEST_DATA) + "/" + name;
}

QRadioButton* destinationOption(WizardFixture& fixture, int index) {
    for (QRadioButton* option : fixture.form().findChildren<QRadioButton*>(QStringLiteral("optDestination")))
        if (option->property("index").toInt() == index)
            return option;
    return nullptr;
}

void walkToTransferOptions(WizardFixture& fixture, const std::string& source) {
    fixture.click("cmdNext");
    fixture.find<QLineEdit>("txtSourceFilename")->setText(QString::fromStdString(source));
    fixture.click("cmdNext");
    destinationOption(fixture, 1)->setChecked(true);
    fixture.find<QLineEdit>("txtDestinationDumpFilename")->setText(QString::fromStdString(fixture.path("dump.sql")));
    fixture.click("cmdNext");
    fixture.click("cmdNext");
}

std::string readAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

int visibleTopLevelWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            ++count;
    return count;
}

} // namespace tabulon::test
