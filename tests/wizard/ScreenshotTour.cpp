// Walks the wizard through a real conversion and saves a picture of each page. Run it under Xvfb to
// refresh the pictures under docs/:
//   xvfb-run -a build/default/tests/wizard/wizard_screenshots docs/screenshots
#include "WizardTestSupport.h"

#include "wizard/FormControls.h"
#include "wizard/frmAdvancedOptions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

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

// The advanced options dialog, shown without blocking for as long as its picture takes.
void saveAdvancedOptions(frmMain& form, const QDir& folder) {
    frmAdvancedOptions& dialog = form.advancedOptions();
    dialog.show();
    save(dialog, folder, "5b-advanced-options");
    dialog.hide();
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    WizardFixture fixture(true);
    frmMain& form = fixture.form();
    FormControls& ui = form.controls();
    save(form, folder, "1-welcome");

    fixture.click("cmdNext");
    // A copy in the tour's own folder, so the picture shows a short path.
    const QString source = QString::fromStdString(fixture.path("index_properties.mdb"));
    QFile::copy(QString::fromStdString(testData("access/a2003_index_properties.mdb")), source);
    ui.txtSourceFilename->setText(source);
    save(form, folder, "2-source");

    fixture.click("cmdNext");
    destinationOption(fixture, 1)->setChecked(true);
    ui.txtDestinationDumpFilename->setText(QString::fromStdString(fixture.path("index_properties.sql")));
    save(form, folder, "3-destination");

    fixture.click("cmdNext");
    ui.tvSourceTables->topLevelItem(0)->setExpanded(true);
    save(form, folder, "4-tables");

    fixture.click("cmdNext");
    save(form, folder, "5-options");
    saveAdvancedOptions(form, folder);

    // The progress page is taken in the middle of the run, the first time the bar stands inside a table.
    bool taken = false;
    QObject::connect(ui.pbStatus, &QProgressBar::valueChanged, &form, [&](int value) {
        if (value > 0 && value < ui.pbStatus->maximum() && !taken) {
            taken = true;
            save(form, folder, "6-progress");
        }
    });
    fixture.click("cmdFinish");
    save(form, folder, "7-result");
    // The whole window as a user sees it, with the band at its foot that screenshot mode cuts off.
    WizardFixture window;
    save(window.form(), folder, "0-window");
    for (const ReportedError& error : fixture.errors)
        std::fprintf(stderr, "%s: %ld %s\n", error.function.c_str(), error.number, error.description.c_str());
    return fixture.errors.empty() ? 0 : 1;
}
