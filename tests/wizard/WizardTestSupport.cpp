#include "WizardTestSupport.h"

#include <QApplication>
#include <QPushButton>
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
    return true;
}

DictionaryPtr defaultSettings() {
    DictionaryPtr settings = Dictionary::create();
    DictionaryPtr section = Dictionary::create();
    settings->set("Verdix Tessoral", section);
    section->set("sourcefilename", "");
    section->set("sourceusername", "");
    section->set("sourcepassword", "");
    section->set("destinationmethod", "DIRECT");
    section->set("destinationserver", "testhost");
    section->set("destinationauthentication", "Windows");
    section->set("destinationusername", "sa");
    section->set("destinationpassword", "");
    section->set("destinationdumpfilename", "dump.sql");
    section->set("destinationdatabase", "verdix");
    section->set("dropdatabase", 0);
    for (const char* key : {"createtables", "unicode", "autocommit", "transferdefaultvalues", "transferautonumbers",
                            "transferindexes", "transferrecords", "columnlist"})
        section->set(key, 1);
    section->set("tableprefix", "");
    section->set("negativeboolean", 0);
    section->set("ignorelargeblobs", 0);
    section->set("memotype", "LONGTEXT");
    section->set("datetimetype", "DATETIME2");
    return settings;
}

WizardFixture::WizardFixture(bool screenshotMode) {
    m_state.screenshotMode = screenshotMode;
    m_form = std::make_unique<frmMain>(m_state, m_ui);
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
    form.setWelcomeText("Welcome to the Tabulon conversion wizard.");
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

void WizardFixture::click(const char* name) {
    auto* button = find<QPushButton>(name);
    QVERIFY2(button != nullptr, name);
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

std::string testData(const std::string& name) {
    return std::string(TABULON_TEST_DATA) + "/" + name;
}

int visibleTopLevelWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            ++count;
    return count;
}

} // namespace tabulon::test
