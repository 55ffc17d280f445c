#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tracklog/Calendar.h"

namespace tellurix::tagging {

// "YYYY/MM/DD HH:MM:SS", the layout of the photo list's Date column and the clock fields.
std::string dateTimeText(const tracklog::CalendarTime& t);

// A text in exactly that layout naming a real date and time of the years 1 to 9999; nothing
// for anything else (a camera's blank date, a default text mangled by hand).
std::optional<tracklog::CalendarTime> readDateTime(std::string_view text);

// Whether `t` lies in the years 1 to 9999, which the layout can show.
bool inShownYears(const tracklog::CalendarTime& t);

}  // namespace tellurix::tagging
