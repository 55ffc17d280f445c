#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "tracklog/TextBuffer.h"

namespace tellurix::kml {

// A double in fixed notation with `places` decimals, byte for byte what printf's "%.<places>f"
// writes in the C locale (exact ties round to even), whatever locale the program runs in, and
// without printf's slow multi-precision path: a full log puts a million numbers into its KML.
// Formatted once, it can go into several lines.
class Decimal {
 public:
  Decimal(double value, int places);

  [[nodiscard]] const char* c_str() const { return text_.data(); }
  [[nodiscard]] std::string_view view() const { return {text_.data(), length_}; }
  void appendTo(tracklog::TextBuffer& out) const { out.put(view()); }

 private:
  static constexpr int kMaxPlaces = 9;
  std::array<char, tracklog::kFixedRoom + kMaxPlaces + 1> text_;  // every double, with its NUL
  std::uint16_t length_ = 0;
};

}  // namespace tellurix::kml
