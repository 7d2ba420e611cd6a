#pragma once

#include <string>

namespace tabulon {

// The per-user folder that holds wizard.ini and the log: APPDATA (when set), else the user's config
// folder (XDG_CONFIG_HOME or ~/.config), followed by Corvane and Tabulon. Not created here.
std::string ApplicationDataFolder();

// ApplicationDataFolder followed by wizard.ini: the automatic settings file.
std::string DefaultSettingsPath();

// ApplicationDataFolder followed by the program's base name (without folder and extension) and
// ".log", so a renamed program keeps a log of its own. An empty name gives "tabulon".
std::string LogFilePath(const std::string& programPath);

// The computer name (read once per process), or on Windows the computer name followed by
// "\SQLEXPRESS" when an Express instance of that name is registered.
std::string DefaultDestinationServer();

// The user's documents folder (XDG's, else ~/Documents) when it exists, else the home folder: where
// the file dialogs start the first time, never the program's folder (/usr/bin once installed).
std::string DocumentsFolder();

// dump.sql in DocumentsFolder(); when that does not exist either, in the folder named by APPDATA,
// TEMP or TMP, else in the system's temporary folder. Doubled separators are made single, except a
// leading pair (a network path).
std::string DefaultDumpFileName();

// Where an installed Tabulon keeps its manual, the README rendered to HTML: share/doc/tabulon beside
// the program's folder (/usr/share/doc/tabulon/README.html for /usr/bin/tabulon).
std::string InstalledManualPath();

// The manual that "&Help" opens: the installed one; for a program run from its build folder the one
// rendered there, else the README of its source tree; "" when none of them exists.
std::string ManualPath();

// Removes doubled separators after the first character (the rule of the default dump file name).
std::string CollapseDoubleSeparators(const std::string& path);

} // namespace tabulon
