// Walks the wizard through its pages and saves a picture of each: run it under Xvfb
// (scripts/take-screenshots) to refresh the pictures under docs/.
#include "WizardTestSupport.h"

#include "wizard/FormControls.h"
#include "wizard/modWizard.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <cstdio>

using namespace tabulon;
using namespace tabulon::test;

namespace {
void save(QWidget& window, const QDir& folder, const char* name) {
    QApplication::processEvents();
    QTest::qWait(50);
    const QString path = folder.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (!window.grab().save(path))
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    WizardFixture fixture(true);
    frmMain& form = fixture.form();
    save(form, folder, "1-welcome");
    fixture.click("cmdNext");
    form.controls().txtSourceFilename->setText(QStringLiteral("/home/user/Documents/Northwind.mdb"));
    save(form, folder, "2-source");
    std::string page = "DESTINATION";
    ShowDestinationPage(form, page, true);
    save(form, folder, "3-destination");
    ShowSelectTablesPage(form, page, true);
    save(form, folder, "4-tables");
    ShowTransferOptionsPage(form, page, true);
    save(form, folder, "5-options");
    ShowFrame(form, "frameProgress");
    save(form, folder, "6-progress");
    ShowResultPage(form, page, true);
    save(form, folder, "7-result");
    return 0;
}
