#include "settings/Desktop.h"

#include "settings/ProcessState.h"
#include "settings/UserInterface.h"

#include <cstdio>

namespace tabulon {

int ShowMessage(const ProcessState& state, UserInterface& ui, const std::string& text, int style,
                const std::string& title, int defaultAnswer) {
    if (state.hideMode)
        return defaultAnswer;
    if (!ui.canShowMessages()) {
        std::string lines = text;
        for (std::size_t at = lines.find("\r\n"); at != std::string::npos; at = lines.find("\r\n", at))
            lines.erase(at, 1);
        std::fprintf(stderr, "%s: %s\n", title.c_str(), lines.c_str());
        return defaultAnswer;
    }
    return ui.messageBox(text, style, title);
}

bool OpenDocument(UserInterface& ui, const std::string& target) {
    return !target.empty() && ui.openDocument(target);
}

} // namespace tabulon
