#pragma once

#include "lib/Dictionary.h"
#include "lib/Progress.h"

#include <pugixml.hpp>

#include <memory>
#include <string>

namespace tabulon {

// The process-wide state that start-up sets once and the window, the run and the error reporter read.
struct ProcessState {
    bool autorunMode = false;
    bool hideMode = false;
    bool clearLogMode = false;
    bool screenshotMode = false;
    bool logFirstWrite = false;
    bool savePasswords = false;
    RunFlags run; // cancelRequested, conversionRunning, unitTestMode

    std::string commandLine;                           // as typed, unparsed
    DictionaryPtr options;                             // the parsed command line, keys lower-cased
    std::string settingsPath;                          // the settings file that start-up loads
    DictionaryPtr settings;                            // the settings object start-up loaded (or the defaults)
    std::unique_ptr<pugi::xml_document> currentSchema; // the document of the last scan
};

} // namespace tabulon
