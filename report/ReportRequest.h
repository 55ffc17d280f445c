#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "tracklog/Calendar.h"
#include "tracklog/FieldSource.h"

namespace tellurix::report {

// The report window as validated from the twelve time fields (report time).
struct ReportWindow {
  tracklog::CalendarTime start;
  tracklog::CalendarTime end;
};

// A validation failure: the message box's text and caption.
struct Refusal {
  std::string text;
  std::string caption;

  friend bool operator==(const Refusal&, const Refusal&) = default;
};

// Every check of the Make Report command in its order, reading each field afresh. The two year
// texts are converted first, unguarded: a year that is not a whole number throws ConversionError.
std::variant<ReportWindow, Refusal> validateRequest(tracklog::FieldSource& fields,
                                                    std::uint32_t receivedByteCount);

// The refusal when the window's end is not after its start.
Refusal endNotAfterStartRefusal();

}  // namespace tellurix::report
