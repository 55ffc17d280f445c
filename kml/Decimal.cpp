#include "Decimal.h"

#include <charconv>

namespace tellurix::kml {

Decimal::Decimal(double value, int places) {
  const auto result =
      std::to_chars(text_.data(), text_.data() + text_.size() - 1, value, std::chars_format::fixed, places);
  // Only more decimals than the buffer was sized for can fail; an empty text is the safe outcome.
  *(result.ec == std::errc{} ? result.ptr : text_.data()) = '\0';
}

}  // namespace tellurix::kml
