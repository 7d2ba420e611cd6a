#pragma once

#include "settings/UserInterface.h"

namespace tabulon {

// Message boxes, the clipboard and the shell's "Open" through Qt. Needs a QApplication.
class DesktopInterface : public UserInterface {
public:
    int messageBox(const std::string& text, int style, const std::string& title) override;
    void setClipboardText(const std::string& text) override;
    bool openDocument(const std::string& target) override;
    // Under the offscreen platform (no display) no one could answer a message box.
    bool canShowMessages() const override;
};

} // namespace tabulon
