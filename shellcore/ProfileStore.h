#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellurix::shellcore {

// Where the settings are kept: a profile (INI) store of values by section and key. Every call
// reads or writes the store afresh; nothing is cached in between. The program's is the settings
// file (platform::ProfileFile).
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // The value, trimmed, or nothing when the store, the section or the key is missing.
  virtual std::optional<std::string> read(std::string_view section, std::string_view key) = 0;
  // Sets the key, adding the section when it is missing; false when it could not be written.
  virtual bool write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace tellurix::shellcore
