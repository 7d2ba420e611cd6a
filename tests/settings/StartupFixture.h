#pragma once

#include "settings/ErrorReporter.h"
#include "settings/HeadlessMainForm.h"
#include "settings/ProcessLog.h"
#include "settings/ProcessState.h"
#include "settings/Startup.h"
#include "settings/UserInterface.h"
#include "settings/UserStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabulon::test {

// Thrown by the test's process end instead of ending the test program.
struct ProgramEnded {
    int exitStatus;
};

// Answers message boxes instead of blocking, and records what the program asked of the desktop.
class RecordingInterface : public UserInterface {
public:
    struct Message {
        std::string text;
        int style;
        std::string title;
    };

    int messageBox(const std::string& text, int style, const std::string& title) override {
        messages.push_back({text, style, title});
        return answer;
    }
    void setClipboardText(const std::string& text) override { clipboard.push_back(text); }
    bool openDocument(const std::string& target) override {
        opened.push_back(target);
        return true;
    }

    int answer = msgbox::Ok;
    std::vector<Message> messages;
    std::vector<std::string> clipboard;
    std::vector<std::string> opened;
};

// Records the window steps that start-up asks for, in order, around the headless form.
class RecordingForm : public HeadlessMainForm {
public:
    using HeadlessMainForm::HeadlessMainForm;
    void initForm() override { steps.push_back("initForm"); }
    void applySettingsToForm(const DictionaryPtr& settings) override {
        steps.push_back("applySettingsToForm");
        applied = settings;
        HeadlessMainForm::applySettingsToForm(settings);
    }
    void scaleDialog() override { steps.push_back("scaleDialog"); }
    void navigateFromInit() override { steps.push_back("navigateFromInit"); }

    std::vector<std::string> steps;
    DictionaryPtr applied;
};

// A start-up in a temporary application data folder with its own per-user store and log; the
// process end is observed as ProgramEnded.
class StartupFixture : public ::testing::Test {
protected:
    StartupFixture();

    std::string path(const std::string& name) const;
    // Runs the whole start-up with the command line; the exit status when it ended the process, else -1.
    int start(const std::string& commandLine);
    // The text of every log entry, without time stamps (continuation lines joined with CR LF).
    std::vector<std::string> logEntries() const;
    void writeFile(const std::string& name, const std::string& text) const;

    QTemporaryDir m_folder;
    ProcessState m_state;
    RecordingInterface m_ui;
    UserStore m_store;
    ProcessLog m_log;
    ErrorReporter m_reporter;
    RecordingForm m_form;
    std::vector<Component> m_components;
};

} // namespace tabulon::test
