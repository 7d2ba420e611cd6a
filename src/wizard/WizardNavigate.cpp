#include "wizard/modWizard.h"

#include "lib/Error.h"
#include "wizard/FormControls.h"
#include "wizard/frmMain.h"

#include <QLineEdit>

#include <exception>
#include <string>

namespace tabulon {

namespace {
const std::string kCannotConnect = "The program could not connect to the source database.";

// Steps 170 to 240: the source must be named and must open before the wizard goes on.
void leaveSourcePage(frmMain& form, std::string& currentPage, int& step) {
    const FormControls& ui = form.controls();
    step = 170;
    if (ui.txtSourceFilename->text().isEmpty()) {
        step = 240;
        form.showMessage("You must select a source database.", 64, "Tabulon", 1);
        return;
    }
    step = 180;
    std::string message, url;
    const bool opened = CheckSourceDatabase(
        ui.txtSourceFilename->text().toStdString(), ui.txtSourceSystemDatabase->text().toStdString(),
        ui.txtSourceUsername->text().toStdString(), ui.txtSourcePassword->text().toStdString(), message, url);
    if (opened) {
        step = 190;
        ShowDestinationPage(form, currentPage, true);
        return;
    }
    step = 200;
    if (url.empty()) {
        step = 210;
        form.showMessage(kCannotConnect + "\r\n\r\n" + message, 48, "Tabulon", 1);
        return;
    }
    step = 220;
    const int answer = form.showMessage(
        kCannotConnect + "\r\n\r\n" + message + "\r\n\r\nDo you want to open the URL in a browser?", 51, "Tabulon", 1);
    if (answer == 6) {
        step = 230;
        form.openDocument(url);
    }
}

using PageStep = void (*)(frmMain&, std::string&, int& step);

// The routes of the machine: the page and action they answer, the number of the step that acts
// (errors report it) and what it does. Every other pair of page and action does nothing.
struct Route {
    const char* page;
    const char* action; // nullptr: any action
    int step;
    PageStep go;
};

const Route kRoutes[] = {
    {"INIT", nullptr, 110, [](frmMain& f, std::string& p, int&) { ShowWelcomePage(f, p, true); }},
    {"WELCOME", "NEXT", 140, [](frmMain& f, std::string& p, int&) { ShowSourcePage(f, p, true); }},
    {"SOURCE", "NEXT", 170, leaveSourcePage},
    {"SOURCE", "BACK", 260, [](frmMain& f, std::string& p, int&) { ShowWelcomePage(f, p, false); }},
    {"DESTINATION", "NEXT", 290, [](frmMain& f, std::string& p, int&) { ShowSelectTablesPage(f, p, true); }},
    {"DESTINATION", "BACK", 310, [](frmMain& f, std::string& p, int&) { ShowSourcePage(f, p, false); }},
    {"SELECT_TABLES", "NEXT", 340, [](frmMain& f, std::string& p, int&) { ShowTransferOptionsPage(f, p, true); }},
    {"SELECT_TABLES", "BACK", 360, [](frmMain& f, std::string& p, int&) { ShowDestinationPage(f, p, false); }},
    {"TRANSFER_OPTIONS", "FINISH", 390, [](frmMain& f, std::string& p, int&) { WizardNavigateRun(f, p); }},
    {"TRANSFER_OPTIONS", "BACK", 410, [](frmMain& f, std::string& p, int&) { ShowSelectTablesPage(f, p, false); }},
    {"SAVESETTINGS", "BACK", 440, [](frmMain& f, std::string& p, int&) { ShowTransferOptionsPage(f, p, false); }},
};

void navigate(frmMain& form, std::string& currentPage, const std::string& action, int& step) {
    const std::string page = currentPage;
    for (const Route& route : kRoutes) {
        if (page == route.page && (route.action == nullptr || action == route.action)) {
            step = route.step;
            route.go(form, currentPage, step);
            return;
        }
    }
}

[[noreturn]] void raiseAtStep(long number, const std::string& description, int step) {
    throw Error(number, "Verdix.modWizard.WizardNavigate",
                "modWizard component failure. Verdix.modWizard.WizardNavigate line " + std::to_string(step) + ". " +
                    description);
}
} // namespace

void WizardNavigate(frmMain& form, std::string& currentPage, const std::string& action) {
    int step = 0;
    try {
        navigate(form, currentPage, action, step);
    } catch (const Error& error) {
        raiseAtStep(error.number(), error.description(), step);
    } catch (const std::exception& error) {
        raiseAtStep(errc::General, error.what(), step);
    }
}

} // namespace tabulon
