#pragma once

#include <optional>
#include <string>

namespace tellurix::platform {

// The usb-serial driver of the logger's USB-to-serial bridge.
inline constexpr const char* kBridgeDriver = "pl2303";

// Where discovery looks. The defaults are those of the running system; tests point them at a
// tree of their own.
struct DiscoveryPlaces {
  std::string ttyClassFolder = "/sys/class/tty";
  std::string deviceFolder = "/dev";
  std::string settingsFile;                 // Tellurix.ini, read only; empty: none
  std::optional<std::string> portOverride;  // the environment's TELLURIX_PORT
};

// The logger's port name: an explicit port (TELLURIX_PORT, else "Port" in section "Setting"
// of the settings file) or, failing that, the tty of the bridge attached last. Nothing when
// no bridge is attached.
std::optional<std::string> FindLoggerPort(const DiscoveryPlaces& places);

// The same for this program: its environment, its settings file (the Tellurix.ini the window
// loads its settings from, so that both agree wherever the program keeps its data) and this
// system's devices.
std::optional<std::string> FindLoggerPort(const std::string& settingsFile);

}  // namespace tellurix::platform
