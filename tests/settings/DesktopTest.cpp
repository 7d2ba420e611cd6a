#include "settings/Desktop.h"
#include "settings/AfterRunCommand.h"
#include "settings/ErrorReport.h"
#include "settings/ProcessState.h"
#include "settings/UserInterface.h"
#include "tabulon/Version.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

using namespace tabulon;

namespace {

class AnsweringInterface : public UserInterface {
public:
    int messageBox(const std::string& text, int style, const std::string&) override {
        shown.push_back(text);
        lastStyle = style;
        return msgbox::Yes;
    }
    void setClipboardText(const std::string&) override {}
    bool openDocument(const std::string& target) override {
        opened.push_back(target);
        return true;
    }
    bool canShowMessages() const override { return interactive; }

    bool interactive = true;
    int lastStyle = 0;
    std::vector<std::string> shown, opened;
};

std::string version() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

} // namespace

TEST(ShowMessageTest, ShowsTheBoxAndReturnsTheButtonPressed) {
    ProcessState state;
    AnsweringInterface ui;
    EXPECT_EQ(ShowMessage(state, ui, "Overwrite?", 36, "Overwrite File", msgbox::No), msgbox::Yes);
    EXPECT_EQ(ui.shown, std::vector<std::string>{"Overwrite?"});
    EXPECT_EQ(ui.lastStyle, 36);
}

TEST(ShowMessageTest, HideAndAMissingDisplayAnswerWithTheDefault) {
    ProcessState state;
    AnsweringInterface ui;
    state.hideMode = true;
    EXPECT_EQ(ShowMessage(state, ui, "Overwrite?", 36, "Overwrite File", msgbox::No), msgbox::No);
    state.hideMode = false;
    ui.interactive = false;
    EXPECT_EQ(ShowMessage(state, ui, "Overwrite?", 36, "Overwrite File", msgbox::No), msgbox::No);
    EXPECT_TRUE(ui.shown.empty());
}

TEST(OpenDocumentTest, AnEmptyTargetOpensNothing) {
    AnsweringInterface ui;
    EXPECT_FALSE(OpenDocument(ui, ""));
    EXPECT_TRUE(OpenDocument(ui, "https://tabulon.example/help"));
    EXPECT_EQ(ui.opened, std::vector<std::string>{"https://tabulon.example/help"});
}

TEST(ErrorReportTest, ADependencyFailureReadsLineByLine) {
    const std::string report = ComposeErrorReport(
        "Form_Load", 1000, "Dependency check failed.\r\n\r\nThe program will now exit.", "Check dependencies");

    EXPECT_EQ(report, "Error in function 'Form_Load'\r\n"
                      "Error: 1000 (0x3E8)\r\n"
                      "Reason: Dependency check failed.\r\n"
                      "\r\n"
                      "The program will now exit.\r\n"
                      "Debug information: Check dependencies\r\n"
                      "\r\n"
                      "Version: " +
                          version() +
                          "\r\n"
                          "\r\n"
                          "This error message is on the clipboard.\r\n"
                          "The program will now terminate. Have a nice day :)");
}

TEST(ErrorReportTest, NegativeNumbersShowTheirTwosComplement) {
    EXPECT_NE(ComposeErrorReport("cmdNext_Click", -1, "x", "Initializing").find("Error: -1 (0xFFFFFFFF)\r\n"),
              std::string::npos);
    EXPECT_NE(ComposeErrorReport("f", -2147217900, "x", "").find("Error: -2147217900 (0x80040E14)\r\n"),
              std::string::npos);
}

TEST(AfterRunCommandTest, RunsTheCommandForTheOutcomeAndLogsItsExitCode) {
    QTemporaryDir folder;
    const std::string marker = folder.filePath(QStringLiteral("ran")).toStdString();
    ProcessState state;
    state.options = Dictionary::create();
    state.options->set("successcmd", "echo ok > '" + marker + "'; exit 3");
    state.options->set("errorcmd", "");
    std::vector<std::string> log;
    const auto write = [&log](const std::string& text) { log.push_back(text); };

    RunAfterRunCommand(state, 1, write); // an empty errorcmd runs nothing
    EXPECT_TRUE(log.empty());
    RunAfterRunCommand(state, 0, write);
    EXPECT_EQ(log, (std::vector<std::string>{"Running successcmd: echo ok > '" + marker + "'; exit 3",
                                             "successcmd ended with exit code 3"}));
    EXPECT_TRUE(std::ifstream(marker).good());
}

TEST(AfterRunCommandTest, AShellThatCannotStartIsLogged) {
    const QByteArray saved = qgetenv("SHELL");
    qputenv("SHELL", "/nonexistent/shell");
    const ShellResult result = RunShellCommand("true");
    saved.isNull() ? qunsetenv("SHELL") : qputenv("SHELL", saved);
    EXPECT_FALSE(result.started);
    EXPECT_FALSE(result.failure.empty());
}
