#pragma once

#include "settings/UserInterface.h"

class QWidget;

namespace tabulon {

// Message boxes, the clipboard and the shell's "Open" with Qt: QMessageBox, QClipboard and
// QDesktopServices.
class QtUserInterface : public UserInterface {
public:
    // Message boxes are owned by `owner` when given, so they stay on top of the main window.
    explicit QtUserInterface(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    int messageBox(const std::string& text, int style, const std::string& title) override;
    void setClipboardText(const std::string& text) override;
    bool openDocument(const std::string& target) override;

private:
    QWidget* m_owner;
};

} // namespace tabulon
