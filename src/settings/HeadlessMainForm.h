#pragma once

#include "lib/Progress.h"
#include "settings/MainFormPort.h"

namespace tabulon {

// The main window's part of start-up while no window is shown (the unattended run): it keeps the
// four source values the settings would put into the controls and reports progress to the log.
// An interrupt during the run requests a cancel, as the Cancel button would.
class HeadlessMainForm : public MainFormPort, private Progress {
public:
    HeadlessMainForm(Progress& log, RunFlags& flags) : m_log(log), m_flags(flags) {}

    void hideAutocommit() override {}
    void initForm() override {}
    void removePictureBoxTabStops() override {}
    void positionWizardFrames() override {}
    void setTabOrder() override {}
    void setWelcomeText(const std::string&) override {}
    void applySettingsToForm(const DictionaryPtr& settings) override;
    SourceCredentials sourceFields() const override { return m_source; }
    void scaleDialog() override {}
    void updateSecurityFields() override {}
    void navigateFromInit() override {}
    Progress& progress() override { return *this; }

private:
    void addStatusLine(const std::string& text) override;
    void startProgress(const std::string& kind, int minimum, int maximum) override;
    void setProgress(const std::string& caption, int value) override;
    void processEvents() override;
    void pollInterrupt();

    Progress& m_log;
    RunFlags& m_flags;
    SourceCredentials m_source;
};

} // namespace tabulon
