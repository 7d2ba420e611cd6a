#pragma once

#include <string>

namespace tabulon {

// Message box styles and answers of the system.
namespace msgbox {
constexpr int Critical = 16; // error icon, OK
constexpr int Question = 32;
constexpr int Exclamation = 48; // warning icon, OK
constexpr int Information = 64; // information icon, OK
constexpr int YesNo = 4;
constexpr int YesNoCancel = 3;
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace msgbox

// What the system asks of the desktop: message boxes, the clipboard and the shell's "Open".
// The wizard implements it with Qt widgets; tests implement it to answer instead of blocking.
// Callers go through `ShowMessage` (start-up code), which answers by itself under "hide".
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // Shows a modal message box and returns the answer code of the button pressed.
    virtual int messageBox(const std::string& text, int style, const std::string& title) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // Asks the desktop to open a document or web address; true when it accepted the request.
    virtual bool openDocument(const std::string& target) = 0;
    // False when no one could answer a message box (no display): `ShowMessage` then answers by itself.
    virtual bool canShowMessages() const { return true; }
};

} // namespace tabulon
