#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tellurix::tracklog {

// An optional sign and decimal digits within the signed 32-bit range; nothing else, no blanks.
std::optional<std::int32_t> parseWholeNumber(std::string_view text);

// The same, throwing ConversionError naming the text when it is not a whole number.
std::int32_t toWholeNumber(std::string_view text);

// Removes leading and trailing bytes up to 0x20.
std::string_view trimmed(std::string_view text);

}  // namespace tellurix::tracklog
