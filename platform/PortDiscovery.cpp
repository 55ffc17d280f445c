#include "PortDiscovery.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "ProfileFile.h"

namespace tellurix::platform {
namespace fs = std::filesystem;
namespace {

// When the device node appeared. The node is created when the bridge is plugged in, while
// its modification time also moves with traffic and says nothing about attachment.
std::optional<timespec> attachTime(const std::string& deviceNode) {
  struct stat s {};
  if (::stat(deviceNode.c_str(), &s) != 0) return std::nullopt;
  return s.st_ctim;
}

// A port written in double quotes, as paths with blanks often are, loses them.
std::string_view unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  return value;
}

// Orders names so that ttyUSB10 comes after ttyUSB9.
std::tuple<std::size_t, const std::string&> nameOrder(const std::string& name) {
  return {name.size(), name};
}

}  // namespace

std::optional<std::string> FindLoggerPort(const DiscoveryPlaces& places) {
  if (places.portOverride && !places.portOverride->empty()) return places.portOverride;
  if (!places.settingsFile.empty()) {
    if (const auto port = readProfileString(places.settingsFile, "Setting", "Port")) {
      if (const std::string_view name = unquoted(*port); !name.empty()) return std::string(name);
    }
  }

  std::optional<std::string> best;
  timespec bestTime{};
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(places.ttyClassFolder, error)) {
    std::error_code linkError;
    const fs::path driver = fs::read_symlink(entry.path() / "device" / "driver", linkError);
    if (linkError || driver.filename() != kBridgeDriver) continue;
    const std::string name = entry.path().filename().string();
    const auto attached = attachTime(places.deviceFolder + "/" + name);
    if (!attached) continue;
    const bool later = !best || attached->tv_sec > bestTime.tv_sec ||
                       (attached->tv_sec == bestTime.tv_sec &&
                        (attached->tv_nsec > bestTime.tv_nsec ||
                         (attached->tv_nsec == bestTime.tv_nsec && nameOrder(name) > nameOrder(*best))));
    if (later) {
      best = name;
      bestTime = *attached;
    }
  }
  return best;
}

std::optional<std::string> FindLoggerPort(const std::string& settingsFile) {
  DiscoveryPlaces places;
  places.settingsFile = settingsFile;
  if (const char* port = std::getenv("TELLURIX_PORT")) places.portOverride = port;
  return FindLoggerPort(places);
}

}  // namespace tellurix::platform
