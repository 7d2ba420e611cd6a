#include "settings/HeadlessMainForm.h"

#include "lib/Convert.h"
#include "settings/Interrupt.h"
#include "settings/SettingsObject.h"

namespace tabulon {

void HeadlessMainForm::applySettingsToForm(const DictionaryPtr& settings) {
    const DictionaryPtr section = SettingsSection(settings);
    if (!section)
        return;
    m_source.fileName = toText(section->get("sourcefilename"));
    m_source.userName = toText(section->get("sourceusername"));
    m_source.password = toText(section->get("sourcepassword"));
    m_source.systemDatabase = toText(section->get("sourcesystemdatabase"));
}

void HeadlessMainForm::addStatusLine(const std::string& text) {
    m_log.addStatusLine(text);
    pollInterrupt();
}

void HeadlessMainForm::startProgress(const std::string& kind, int minimum, int maximum) {
    m_log.startProgress(kind, minimum, maximum);
}

void HeadlessMainForm::setProgress(const std::string& caption, int value) {
    m_log.setProgress(caption, value);
    pollInterrupt();
}

void HeadlessMainForm::processEvents() {
    m_log.processEvents();
    pollInterrupt();
}

void HeadlessMainForm::pollInterrupt() {
    if (InterruptRequested() && m_flags.conversionRunning)
        m_flags.cancelRequested = true;
}

} // namespace tabulon
