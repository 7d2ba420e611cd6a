#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tabulon {

struct ProcessState;
class UserInterface;

// A component the program needs at run time, with a probe that really uses it.
struct Component {
    std::string identifier;
    // The message when the probe raises error 429 (component missing); "" gives a generic one.
    std::string missingMessage;
    // Raises an Error when the component cannot be used.
    std::function<void()> probe;
};

// The components of this build, each probed for real: the Access reader, the XML parser, the ODBC
// driver manager and a writable temporary folder.
std::vector<Component> RequiredComponents();

// The message for a component whose probe failed with `number` and `description`.
std::string DependencyFailureText(const Component& component, long number, const std::string& description);

// Probes every component in order. For each failure the text (with a note that it is on the
// clipboard) goes to the clipboard, also under "hide", to the log with its line breaks made
// spaces, and to a message box; then the next component is probed. Raises 1000 "Dependency check
// failed." when any failed.
void CheckDependencies(const std::vector<Component>& components, const ProcessState& state, UserInterface& ui,
                       const std::function<void(const std::string&)>& log);

} // namespace tabulon
