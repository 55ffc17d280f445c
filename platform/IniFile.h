#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tellurix::platform {

// The value of `key` in `[section]` of an INI file, read only. Section and key names compare
// without regard to case, blanks around names and values are dropped, and a value in double
// quotes loses them. Nothing when the file, the section or the key is missing.
std::optional<std::string> readIniValue(const std::string& path, std::string_view section,
                                        std::string_view key);

}  // namespace tellurix::platform
