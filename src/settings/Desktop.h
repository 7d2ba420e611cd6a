#pragma once

#include <string>

namespace tabulon {

struct ProcessState;
class UserInterface;

// The one message box of the system. Under "hide" it shows nothing and returns `defaultAnswer`; so
// it does when no one can answer (no display): then the text goes to standard error instead.
int ShowMessage(const ProcessState& state, UserInterface& ui, const std::string& text, int style,
                const std::string& title, int defaultAnswer);

// Asks the desktop to open a document or web address; true when it accepted the request. An empty
// target does nothing and gives false.
bool OpenDocument(UserInterface& ui, const std::string& target);

} // namespace tabulon
