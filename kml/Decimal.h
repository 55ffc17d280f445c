#pragma once

#include <array>

namespace tellurix::kml {

// A double in fixed notation with `places` decimals, byte for byte what printf's "%.<places>f"
// writes in the C locale (exact ties round to even), whatever locale the program runs in, and
// without printf's slow multi-precision path: a full log puts a million numbers into its KML.
class Decimal {
 public:
  Decimal(double value, int places);

  [[nodiscard]] const char* c_str() const { return text_.data(); }

 private:
  std::array<char, 328> text_;  // room for every finite double with up to six decimals
};

}  // namespace tellurix::kml
