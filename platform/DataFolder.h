#pragma once

#include <string>

namespace tellurix::platform {

// Where the program keeps its log file and settings: the folder of the program file when the
// program may write there (a build tree, an unpacked copy), otherwise the user's data folder
// "$XDG_DATA_HOME/tellurix" (default "~/.local/share/tellurix"), created when missing. No
// trailing separator.
std::string programDataFolder();

// The user's data folder for the program, from the given environment values (null when unset).
std::string userDataFolder(const char* xdgDataHome, const char* home);

}  // namespace tellurix::platform
