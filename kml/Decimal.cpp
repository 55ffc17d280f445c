#include "Decimal.h"

namespace tellurix::kml {

Decimal::Decimal(double value, int places) {
  // More decimals than the text has room for give an empty text, the safe outcome.
  char* end =
      places >= 0 && places <= kMaxPlaces ? tracklog::formatFixed(text_.data(), value, places) : text_.data();
  *end = '\0';
  length_ = static_cast<std::uint16_t>(end - text_.data());
}

}  // namespace tellurix::kml
