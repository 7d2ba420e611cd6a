#pragma once

#include <QStringList>

#include <optional>
#include <string>

class QWidget;

namespace tabulon {

// The properties of the one file dialog of the main window. The window keeps one set for all its
// dialogs, so a property a handler does not set keeps the value of the previous dialog.
struct FileDialogRequest {
    bool save = false;
    std::string title;
    // Pairs of description and pattern separated by "|", patterns joined by ";":
    // "(*.sql) MSSQL Dump File|*.sql|(*.*) All Files|*.*".
    std::string filter;
    std::string initialFolder;
    std::string fileName;
};

// Asks the user for a file name. The wizard shows Qt's dialogs; tests answer from a script.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen name, or nothing when the user cancelled.
    virtual std::optional<std::string> choose(const FileDialogRequest& request) = 0;
};

// Qt's open and save dialogs, owned by `parent`. The overwrite question is the caller's own.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : m_parent(parent) {}
    std::optional<std::string> choose(const FileDialogRequest& request) override;

private:
    QWidget* m_parent;
};

// The documents folder (else the home folder) with a trailing separator: where the dialogs start
// the first time.
std::string StartFolder();

// The "|"-separated filter as Qt's name filters: "(*.sql) MSSQL Dump File (*.sql *.SQL)". Patterns
// are matched with their upper-case twins too, for files that come from Windows.
QStringList qtNameFilters(const std::string& filter);

} // namespace tabulon
