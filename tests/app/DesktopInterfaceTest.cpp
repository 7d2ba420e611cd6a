// The desktop of a process without a display: Qt's offscreen platform, its real clipboard.
#include "app/DesktopInterface.h"
#include "lib/Error.h"
#include "settings/DependencyCheck.h"
#include "settings/Desktop.h"
#include "settings/ErrorReport.h"
#include "settings/ErrorReporter.h"
#include "settings/ProcessLog.h"
#include "settings/ProcessState.h"

#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tabulon;

namespace {

struct Ended {
    int exitStatus;
};

class OffscreenDesktopTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tabulon-test";
        static char* argv[] = {name, nullptr};
        static QApplication application(argc, argv);
    }

    void SetUp() override { QGuiApplication::clipboard()->setText(QStringLiteral("the user's own text")); }

    static std::string clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }

    // Reports an error as a window handler would; the process end is observed, not done.
    void reportError() {
        try {
            m_reporter.ErrorHandler("cmdNext_Click", 3024, "Could not find file 'x.mdb'.", "Initializing");
        } catch (const Ended&) {
        }
    }

    QTemporaryDir m_folder;
    ProcessState m_state;
    DesktopInterface m_ui;
    ProcessLog m_log{m_state, m_folder.filePath(QStringLiteral("tabulon.log")).toStdString()};
    ErrorReporter m_reporter{m_state, m_ui, m_log, [](int exitStatus) { throw Ended{exitStatus}; }};
};

} // namespace

TEST_F(OffscreenDesktopTest, TheErrorReportGoesOnTheClipboardWithoutADisplay) {
    reportError();
    EXPECT_EQ(clipboard(), ComposeErrorReport("cmdNext_Click", 3024, "Could not find file 'x.mdb'.", "Initializing",
                                              m_folder.filePath(QStringLiteral("error-report.txt")).toStdString()));
}

TEST_F(OffscreenDesktopTest, HideLeavesTheClipboardAsItWas) {
    m_state.hideMode = true;
    reportError();
    EXPECT_EQ(clipboard(), "the user's own text");
}

TEST_F(OffscreenDesktopTest, AMissingComponentReachesTheClipboardEvenUnderHide) {
    m_state.hideMode = true;
    const std::vector<Component> components = {
        {"XML parser (pugixml)", "The XML parser is missing.", [] { throw Error(errc::ComponentMissing, "", ""); }}};
    EXPECT_THROW(CheckDependencies(components, m_state, m_ui, [](const std::string&) {}), Error);
    EXPECT_EQ(clipboard(), "The XML parser is missing.\r\n\r\nThis message has been placed on the clipboard.");
}

TEST_F(OffscreenDesktopTest, MessageBoxesAnswerWithTheirDefaultInsteadOfWaiting) {
    EXPECT_FALSE(m_ui.canShowMessages());
    EXPECT_EQ(ShowMessage(m_state, m_ui, "Overwrite?", msgbox::Question | msgbox::YesNo, "Overwrite File", msgbox::No),
              msgbox::No);
}
