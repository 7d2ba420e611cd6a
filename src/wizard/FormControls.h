#pragma once

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QWidget;

namespace tabulon {

// Every control of the main window, reachable by name from the wizard routines. The page builders
// create them (each with its name as objectName); the window owns them through Qt's parent chain.
struct FormControls {
    // Header band
    QFrame* frmHeader = nullptr;
    QLabel* lblHeader = nullptr;
    QLabel* lblHeaderNote = nullptr;
    QLabel* imgMSSQL = nullptr;
    QLabel* imgMySql = nullptr;
    QLabel* imgPGSQL = nullptr;

    // Welcome page
    QFrame* frameLoadSettings = nullptr;
    QPushButton* cmdLoadSettings = nullptr;
    QLabel* lblWelcome = nullptr;

    // Source page
    QFrame* frameSource = nullptr;
    QLineEdit* txtSourceFilename = nullptr;
    QPushButton* cmdSourceBrowse = nullptr;
    QGroupBox* Frame3 = nullptr;
    QPushButton* cmdSystemDatabaseBrowse = nullptr;
    QLineEdit* txtSourceUsername = nullptr;
    QLineEdit* txtSourcePassword = nullptr;
    QLineEdit* txtSourceSystemDatabase = nullptr;

    // Destination page
    QFrame* frameDestination = nullptr;
    QRadioButton* optDestination[2] = {nullptr, nullptr};
    QGroupBox* frameDestinationMSSQL = nullptr;
    QComboBox* cbMSSQLAuthentication = nullptr;
    QLineEdit* txtMSSQLServer = nullptr;
    QLineEdit* txtMSSQLUserName = nullptr;
    QLineEdit* txtMSSQLPassword = nullptr;
    QLabel* lblMSSQLUserName = nullptr;
    QLabel* lblMSSQLPassword = nullptr;
    QGroupBox* frameMSSQLDestinationDatabase = nullptr;
    QLineEdit* txtMSSQLDestinationDatabase = nullptr;
    QGroupBox* frameDestinationDump = nullptr;
    QPushButton* cmdBrowseDump = nullptr;
    QLineEdit* txtDestinationDumpFilename = nullptr;
    // Frames of other destination kinds: kept hidden.
    QGroupBox* frameDestinationDirect = nullptr;
    QGroupBox* frameDestinationPGSQL = nullptr;
    QGroupBox* frameMySQLDestinationDatabase = nullptr;
    QGroupBox* framePGSQLDestinationDatabase = nullptr;
    QLineEdit* txtDestinationDatabase = nullptr;
    QComboBox* cbStorageEngine = nullptr;

    // Table page
    QFrame* frameSelectTables = nullptr;
    QTreeWidget* tvSourceTables = nullptr;
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdSelectNone = nullptr;
    QPushButton* cmdExpandAll = nullptr;
    QPushButton* cmdCollapseAll = nullptr;

    // Transfer options page
    QFrame* frameTransferOptions = nullptr;
    QCheckBox* chkDropDatabase = nullptr;
    QCheckBox* chkCreateTables = nullptr;
    QCheckBox* chkTransferRecords = nullptr;
    QCheckBox* chkTransferIndexes = nullptr;
    QCheckBox* chkColumnList = nullptr;
    QCheckBox* chkUnicode = nullptr;
    QCheckBox* chkAutocommit = nullptr;
    QCheckBox* chkTransferDefaultValues = nullptr;
    QCheckBox* chkTransferAutonumbers = nullptr;
    QPushButton* cmdAdvancedOptions = nullptr;
    QPushButton* cmdSaveSettings1 = nullptr;

    // Progress page
    QFrame* frameProgress = nullptr;
    QProgressBar* pbStatus = nullptr;
    QTreeWidget* lvStatusLog = nullptr;
    QLabel* lblStatusHigh = nullptr;

    // Result page
    QFrame* frameSaveSettings = nullptr;
    QPlainTextEdit* txtReport = nullptr;
    QPushButton* cmdSaveSettings = nullptr;

    // Bottom band
    QFrame* frameBottom = nullptr;
    QGroupBox* frameDonate = nullptr;
    QPushButton* imgDonate = nullptr;

    // Navigation
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdFinish = nullptr;
    QPushButton* cmdExit = nullptr;
    QFrame* Frame7 = nullptr;

    // The container in which the page frames are stacked at one place.
    QWidget* pageArea = nullptr;
};

} // namespace tabulon
