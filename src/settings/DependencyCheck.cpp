#include "settings/DependencyCheck.h"

#include "lib/Error.h"
#include "settings/Desktop.h"
#include "settings/ProcessState.h"
#include "settings/UserInterface.h"

#include <exception>

namespace tabulon {

namespace {

std::string crlfToSpace(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.replace(at, 2, " ");
    return text;
}

// Runs the probe; false with the error's number and description when it failed.
bool probeSucceeds(const Component& component, long& number, std::string& description) {
    try {
        component.probe();
        return true;
    } catch (const Error& error) {
        number = error.number();
        description = error.description();
    } catch (const std::exception& error) {
        number = errc::General;
        description = error.what();
    }
    return false;
}

} // namespace

std::string DependencyFailureText(const Component& component, long number, const std::string& description) {
    if (number == errc::ComponentMissing)
        return component.missingMessage.empty() ? "The program is missing the component '" + component.identifier + "'"
                                                : component.missingMessage;
    return "An error occured while trying to create an object of type '" + component.identifier + "'.\r\n" +
           "Error: " + std::to_string(number) + " (0x" + errorNumberHex(number) + ")\r\n" + "Reason: " + description;
}

void CheckDependencies(const std::vector<Component>& components, const ProcessState& state, UserInterface& ui,
                       const std::function<void(const std::string&)>& log) {
    bool failed = false;
    for (const Component& component : components) {
        long number = 0;
        std::string description;
        if (probeSucceeds(component, number, description))
            continue;
        const std::string text = DependencyFailureText(component, number, description) +
                                 "\r\n\r\nThis message has been placed on the clipboard.";
        ui.setClipboardText(text);
        log(crlfToSpace(text));
        ShowMessage(state, ui, text, msgbox::Information, "Tabulon", msgbox::Ok);
        failed = true;
    }
    if (failed)
        throw Error(errc::General, "Tabulon.Startup.CheckDependencies",
                    "Dependency check failed.\r\n\r\nThe program will now exit.");
}

} // namespace tabulon
