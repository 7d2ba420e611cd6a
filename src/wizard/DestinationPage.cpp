#include "wizard/FormControls.h"
#include "wizard/PageBuilders.h"
#include "wizard/WidgetFactory.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tabulon {

namespace {
// Labels of the connection frames share one width so their boxes line up.
int labelColumnWidth(const QWidget* reference) {
    return reference->fontMetrics().horizontalAdvance(QStringLiteral("Destination Database:")) + 12;
}

QGridLayout* formGrid(QWidget* owner) {
    auto* grid = new QGridLayout(owner);
    grid->setColumnMinimumWidth(0, labelColumnWidth(owner));
    grid->setColumnStretch(1, 1);
    return grid;
}

void addRow(QGridLayout* grid, QLabel* label, QWidget* field) {
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}

QGroupBox* buildMssqlConnection(FormControls& ui, QWidget* parent) {
    QGroupBox* frame = widgets::group(parent, "frameDestinationMSSQL", QStringLiteral("MSSQL Connection Options"));
    ui.frameDestinationMSSQL = frame;
    ui.txtMSSQLServer = widgets::edit(frame, "txtMSSQLServer");
    ui.cbMSSQLAuthentication = new QComboBox(frame);
    ui.cbMSSQLAuthentication->setObjectName(QStringLiteral("cbMSSQLAuthentication"));
    ui.txtMSSQLUserName = widgets::edit(frame, "txtMSSQLUserName");
    ui.txtMSSQLPassword = widgets::passwordEdit(frame, "txtMSSQLPassword");
    ui.lblMSSQLUserName =
        widgets::buddyLabel(frame, "lblMSSQLUserName", QStringLiteral("&Username:"), ui.txtMSSQLUserName);
    ui.lblMSSQLPassword =
        widgets::buddyLabel(frame, "lblMSSQLPassword", QStringLiteral("&Password:"), ui.txtMSSQLPassword);

    QGridLayout* grid = formGrid(frame);
    addRow(grid, widgets::buddyLabel(frame, "Label17", QStringLiteral("&Server:"), ui.txtMSSQLServer),
           ui.txtMSSQLServer);
    addRow(grid, widgets::buddyLabel(frame, "Label13", QStringLiteral("&Authentication:"), ui.cbMSSQLAuthentication),
           ui.cbMSSQLAuthentication);
    addRow(grid, ui.lblMSSQLUserName, ui.txtMSSQLUserName);
    addRow(grid, ui.lblMSSQLPassword, ui.txtMSSQLPassword);
    return frame;
}

QGroupBox* buildMssqlDatabase(FormControls& ui, QWidget* parent) {
    QGroupBox* frame =
        widgets::group(parent, "frameMSSQLDestinationDatabase", QStringLiteral("MSSQL Destination Database"));
    ui.frameMSSQLDestinationDatabase = frame;
    ui.txtMSSQLDestinationDatabase = widgets::edit(frame, "txtMSSQLDestinationDatabase");
    addRow(
        formGrid(frame),
        widgets::buddyLabel(frame, "Label20", QStringLiteral("&Destination Database:"), ui.txtMSSQLDestinationDatabase),
        ui.txtMSSQLDestinationDatabase);
    return frame;
}

QGroupBox* buildDumpOptions(FormControls& ui, QWidget* parent) {
    QGroupBox* frame = widgets::group(parent, "frameDestinationDump", QStringLiteral("Dump File Options"));
    ui.frameDestinationDump = frame;
    QWidget* panel = widgets::panel(frame, "Picture8");
    ui.txtDestinationDumpFilename = widgets::edit(panel, "txtDestinationDumpFilename");
    ui.cmdBrowseDump = widgets::browseButton(panel, "cmdBrowseDump");
    QLabel* warning = widgets::label(
        panel, "Label10", QStringLiteral("Warning: If you already have a file with that name it will be overwritten."));
    warning->setWordWrap(true);

    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnMinimumWidth(0, labelColumnWidth(panel));
    grid->addWidget(widgets::label(panel, "Label3", QStringLiteral("Filename:")), 0, 0);
    grid->addWidget(ui.txtDestinationDumpFilename, 0, 1);
    grid->addWidget(ui.cmdBrowseDump, 0, 2);
    grid->addWidget(warning, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(panel);
    return frame;
}

// Frames of the other destination kinds of the form. Nothing shows them; they exist so that the
// hidden storage-engine list keeps its place in the settings.
void buildHiddenFrames(FormControls& ui, QWidget* parent) {
    ui.frameDestinationDirect =
        widgets::group(parent, "frameDestinationDirect", QStringLiteral("MySQL Connection Options"));
    QGridLayout* direct = formGrid(ui.frameDestinationDirect);
    const char* names[][2] = {{"txtMySQLHost", "Host:"},
                              {"txtMySQLPort", "Port:"},
                              {"txtMySQLUserName", "Username:"},
                              {"txtMySQLPassword", "Password:"}};
    for (const auto& [name, caption] : names)
        addRow(direct, widgets::label(ui.frameDestinationDirect, "", QLatin1String(caption)),
               widgets::edit(ui.frameDestinationDirect, name));

    ui.frameDestinationPGSQL =
        widgets::group(parent, "frameDestinationPGSQL", QStringLiteral("PostgreSQL Connection Options"));
    ui.frameMySQLDestinationDatabase =
        widgets::group(parent, "frameMySQLDestinationDatabase", QStringLiteral("MySQL Destination Database"));
    ui.txtDestinationDatabase = widgets::edit(ui.frameMySQLDestinationDatabase, "txtDestinationDatabase");
    ui.cbStorageEngine = new QComboBox(ui.frameMySQLDestinationDatabase);
    ui.cbStorageEngine->setObjectName(QStringLiteral("cbStorageEngine"));
    QGridLayout* mysql = formGrid(ui.frameMySQLDestinationDatabase);
    addRow(mysql, widgets::label(ui.frameMySQLDestinationDatabase, "", QStringLiteral("Database:")),
           ui.txtDestinationDatabase);
    addRow(mysql, widgets::label(ui.frameMySQLDestinationDatabase, "", QStringLiteral("Storage engine:")),
           ui.cbStorageEngine);
    ui.framePGSQLDestinationDatabase =
        widgets::group(parent, "framePGSQLDestinationDatabase", QStringLiteral("PostgreSQL Destination Database"));
}
} // namespace

QFrame* buildDestinationPage(FormControls& ui, QWidget* parent) {
    QFrame* frame = widgets::page(parent, "frameDestination");
    ui.frameDestination = frame;
    QWidget* panel = widgets::panel(frame, "Picture7");

    const QString captions[2] = {QStringLiteral("&Direct transfer"), QStringLiteral("&Create dump file")};
    auto* methods = new QHBoxLayout;
    for (int index = 0; index < 2; ++index) {
        ui.optDestination[index] = new QRadioButton(captions[index], panel);
        ui.optDestination[index]->setObjectName(QStringLiteral("optDestination"));
        ui.optDestination[index]->setProperty("index", index);
        methods->addWidget(ui.optDestination[index]);
    }
    methods->addStretch();

    // The connection frames of every kind share one place; the method decides which one shows.
    auto* connection = new QGridLayout;
    connection->setContentsMargins(0, 0, 0, 0);
    buildHiddenFrames(ui, panel);
    connection->addWidget(buildMssqlConnection(ui, panel), 0, 0);
    connection->addWidget(buildDumpOptions(ui, panel), 0, 0);
    connection->addWidget(ui.frameDestinationDirect, 0, 0);
    connection->addWidget(ui.frameDestinationPGSQL, 0, 0);

    auto* database = new QGridLayout;
    database->setContentsMargins(0, 0, 0, 0);
    database->addWidget(buildMssqlDatabase(ui, panel), 0, 0);
    database->addWidget(ui.frameMySQLDestinationDatabase, 0, 0);
    database->addWidget(ui.framePGSQLDestinationDatabase, 0, 0);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(methods);
    layout->addSpacing(6);
    layout->addLayout(connection);
    layout->addLayout(database);
    layout->addStretch();

    return widgets::fillPage(frame, panel);
}

} // namespace tabulon
