#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "shellcore/ProfileStore.h"

namespace tellurix::platform {

// A profile (INI) file as the program's settings use it: "[Section]" lines and "key=value"
// lines. Section and key names compare case-insensitively and without surrounding blanks; the
// first section and the first key of a name count. Values are returned trimmed.

// The value of `key` in `section` of the text, or nothing when the section or key is missing.
std::optional<std::string> profileValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text with `key` set to `value`: an existing key line is replaced where it stands, a new
// key goes after the last line of its section, a missing section is appended. Every other line
// and its order, its line end and a leading byte-order mark stay as they are. Line breaks in
// `value` become blanks, so a value can never add lines of its own.
std::string withProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

// The file's value, or nothing when the file cannot be read or holds no such key.
std::optional<std::string> readProfileString(const std::string& path, std::string_view section,
                                             std::string_view key);

// Sets the key in the file, creating the file and the section when they are missing. The file
// is replaced whole (written beside it, then renamed), so an interrupted write never leaves it
// half written. False when it could not be written.
bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// The settings file at `path` as the program's windows keep their settings in it: every read
// reads the file afresh and every write replaces it whole.
class ProfileFile final : public shellcore::ProfileStore {
 public:
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}

  std::optional<std::string> read(std::string_view section, std::string_view key) override {
    return readProfileString(path_, section, key);
  }
  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    return writeProfileString(path_, section, key, value);
  }
  [[nodiscard]] const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace tellurix::platform
