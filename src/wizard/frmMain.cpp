#include "wizard/frmMain.h"

#include "lib/Error.h"
#include "settings/Desktop.h"
#include "settings/ProcessState.h"
#include "settings/UserInterface.h"
#include "settings/UserStore.h"
#include "source/ConnectionString.h"
#include "tabulon/Version.h"
#include "wizard/FormSettings.h"
#include "wizard/PageBuilders.h"
#include "wizard/StatusLog.h"
#include "wizard/TabOrder.h"
#include "wizard/frmAdvancedOptions.h"
#include "wizard/modWizard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>

namespace tabulon {

namespace {
QString qt(const std::string& text) {
    return QString::fromStdString(text);
}
} // namespace

frmMain::frmMain(ProcessState& state, UserInterface& ui, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_userInterface(ui) {
    setObjectName(QStringLiteral("frmMain"));
    m_statusLog = std::make_unique<StatusLog>(m_ui, [this](const std::string& text) { writeLog(text); });
    buildWindow();
    connectHandlers();
}

frmMain::~frmMain() = default;

void frmMain::buildWindow() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeaderBand(m_ui, central));
    auto* rule = new QFrame(central);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    m_ui.pageArea = new QWidget(central);
    auto* pages = new QGridLayout(m_ui.pageArea);
    pages->setContentsMargins(20, 16, 20, 8);
    for (QFrame* frame : {buildWelcomePage(m_ui, m_ui.pageArea), buildSourcePage(m_ui, m_ui.pageArea),
                          buildDestinationPage(m_ui, m_ui.pageArea), buildSelectTablesPage(m_ui, m_ui.pageArea),
                          buildTransferOptionsPage(m_ui, m_ui.pageArea), buildProgressPage(m_ui, m_ui.pageArea),
                          buildResultPage(m_ui, m_ui.pageArea)}) {
        frame->setVisible(false);
        pages->addWidget(frame, 0, 0);
    }
    layout->addWidget(m_ui.pageArea, 1);
    layout->addWidget(buildNavigationRow(m_ui, central));
    layout->addWidget(buildBottomBand(m_ui, central));
    setCentralWidget(central);
}

frmAdvancedOptions& frmMain::advancedOptions() {
    if (m_advancedOptions == nullptr)
        m_advancedOptions = new frmAdvancedOptions(this);
    return *m_advancedOptions;
}

int frmMain::showMessage(const std::string& text, int style, const std::string& title, int defaultAnswer) {
    return ShowMessage(m_state, m_userInterface, text, style, title, defaultAnswer);
}

void frmMain::writeLog(const std::string& text) {
    if (m_writeLog)
        m_writeLog(text);
}

bool frmMain::openDocument(const std::string& target) {
    return OpenDocument(m_userInterface, target);
}

void frmMain::trapped(const char* name, const std::function<void()>& body) {
    try {
        body();
    } catch (const Error& error) {
        m_reportError(name, error.number(), error.description(), "Initializing");
    } catch (const std::exception& error) {
        m_reportError(name, errc::General, error.what(), "Initializing");
    }
}

// ---- start-up steps ---------------------------------------------------------------------------

void frmMain::InitForm() {
    QString caption = QStringLiteral("Tabulon");
    if (!m_state.screenshotMode)
        caption += QStringLiteral(" (%1.%2.0.%3)").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
    setWindowTitle(caption);

    m_statusLog->setUpColumn();

    for (QWidget* frame : std::initializer_list<QWidget*>{
             m_ui.frameMSSQLDestinationDatabase, m_ui.frameMySQLDestinationDatabase, m_ui.framePGSQLDestinationDatabase,
             m_ui.frameDestinationMSSQL, m_ui.frameDestinationPGSQL, m_ui.frameDestinationDirect,
             m_ui.frameDestination})
        frame->hide();
    for (QLabel* logo : {m_ui.imgMSSQL, m_ui.imgMySql, m_ui.imgPGSQL})
        logo->hide();
    m_ui.imgMSSQL->show();
    m_ui.frameDestinationMSSQL->show();
    m_ui.frameMSSQLDestinationDatabase->show();

    m_ui.cbStorageEngine->clear();
    m_ui.cbStorageEngine->addItems({QStringLiteral("ARCHIVE"), QStringLiteral("BDB"), QStringLiteral("Brighthouse"),
                                    QStringLiteral("CSV"), QStringLiteral("Falcon"), QStringLiteral("InnoDB"),
                                    QStringLiteral("Maria"), QStringLiteral("MyISAM")});
    m_ui.cbStorageEngine->setCurrentText(QStringLiteral("MyISAM"));

    m_ui.cbMSSQLAuthentication->clear();
    m_ui.cbMSSQLAuthentication->addItems(
        {QStringLiteral("Windows Authentication"), QStringLiteral("SQL Server Authentication")});
    m_ui.cbMSSQLAuthentication->setCurrentIndex(0);

    rescanSource = true;
}

void frmMain::hideAutocommit() {
    m_ui.chkAutocommit->hide();
}

void frmMain::removePictureBoxTabStops() {
    for (QWidget* child : findChildren<QWidget*>())
        if (child->objectName().startsWith(QLatin1String("Picture")))
            child->setFocusPolicy(Qt::NoFocus);
}

void frmMain::positionWizardFrames() {
    PositionWizardFrames(*this);
}

void frmMain::setTabOrder() {
    SetTabOrder(this);
}

void frmMain::setWelcomeText(const std::string& text) {
    m_ui.lblWelcome->setText(qt(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void frmMain::applySettingsToForm(const DictionaryPtr& settings) {
    ApplySettingsToForm(*this, settings);
}

SourceCredentials frmMain::sourceFields() const {
    SourceCredentials fields;
    fields.fileName = m_ui.txtSourceFilename->text().toStdString();
    fields.password = m_ui.txtSourcePassword->text().toStdString();
    fields.userName = m_ui.txtSourceUsername->text().toStdString();
    fields.systemDatabase = m_ui.txtSourceSystemDatabase->text().toStdString();
    return fields;
}

void frmMain::scaleDialog() {
    // In screenshot mode the donation band falls outside the window.
    m_ui.frameBottom->setVisible(!m_state.screenshotMode);
    centralWidget()->layout()->activate();
    // The window's own layout still holds the minimum of the page with its band: renew it, or the
    // window keeps the band's height.
    layout()->invalidate();
    layout()->activate();
    resize(sizeHint());
}

void frmMain::navigateFromInit() {
    // An error here belongs to start-up, which reports it under its own step text.
    currentPage = "INIT";
    WizardNavigate(*this, currentPage, "NEXT");
}

Progress& frmMain::progress() {
    return *m_statusLog;
}

// ---- enabling rules ---------------------------------------------------------------------------

void frmMain::UpdateSecurityFields() {
    // The newer format knows no workgroup files: only its password applies.
    const bool newerFormat = IsAccdbFile(m_ui.txtSourceFilename->text().toStdString());
    m_ui.txtSourceSystemDatabase->setEnabled(!newerFormat);
    m_ui.txtSourceUsername->setEnabled(!newerFormat);
    m_ui.cmdSystemDatabaseBrowse->setEnabled(!newerFormat);
    m_ui.txtSourcePassword->setEnabled(true);
}

void frmMain::UpdateControls() {
    const bool brighthouse = m_ui.cbStorageEngine->currentText().toLower() == QLatin1String("brighthouse");
    m_ui.chkTransferAutonumbers->setEnabled(!brighthouse);
    m_ui.chkTransferIndexes->setEnabled(!brighthouse);
}

// ---- leaving the wizard -----------------------------------------------------------------------

void frmMain::unloadForms() {
    if (m_advancedOptions)
        m_advancedOptions->close();
    close();
}

frmMain::BusyScope::BusyScope(frmMain& form) : m_form(form) {
    m_form.m_busy = true;
    m_form.centralWidget()->setEnabled(false);
    m_form.setCursor(Qt::WaitCursor);
}

frmMain::BusyScope::~BusyScope() {
    m_form.unsetCursor();
    m_form.centralWidget()->setEnabled(true);
    m_form.m_busy = false;
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    const auto usable = [](QPushButton* button) { return button && button->isVisible() && button->isEnabled(); };
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (usable(m_ui.cmdCancel))
            m_ui.cmdCancel->click();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // A navigation button the user moved to takes Enter; buttons inside a page (Load Settings is
        // focused at start) take Space, so Enter from anywhere on a page goes on. Cancel only on purpose:
        // during a run Enter must not start the cancel question.
        QWidget* focused = focusWidget();
        for (QPushButton* button : {m_ui.cmdBack, m_ui.cmdNext, m_ui.cmdFinish, m_ui.cmdExit})
            if (button == focused && usable(button)) {
                button->click();
                return;
            }
        for (QPushButton* button : {m_ui.cmdNext, m_ui.cmdFinish, m_ui.cmdExit})
            if (usable(button)) {
                button->click();
                return;
            }
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_busy) {
        event->ignore();
        return;
    }
    // Closing the window in the middle of a run would pull the window out from under the run:
    // the close box then asks to cancel the transfer, like the Cancel button.
    if (m_state.run.conversionRunning) {
        event->ignore();
        trapped("cmdCancel_Click", [this] { cmdCancel_Click(); });
        return;
    }
    if (m_advancedOptions)
        m_advancedOptions->close();
    event->accept();
}

} // namespace tabulon
