#include "DataFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "ProgramFolder.h"

namespace tellurix::platform {

std::string userDataFolder(const char* xdgDataHome, const char* home) {
  // Relative values are to be ignored, as the base directory convention says.
  if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return std::string(xdgDataHome) + "/tellurix";
  const std::string homeFolder = (home != nullptr && home[0] == '/') ? home : "/tmp";
  return homeFolder + "/.local/share/tellurix";
}

std::string programDataFolder() {
  const std::string beside = programFolder();
  if (::access(beside.c_str(), W_OK) == 0) return beside;
  const std::string folder = userDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  std::error_code ignored;  // a folder that cannot be made shows when the files are written
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

}  // namespace tellurix::platform
