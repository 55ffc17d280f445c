#pragma once

#include <array>
#include <string>
#include <string_view>

#include "tracklog/TrackPoint.h"

namespace tellurix::tagging {

// A photo's date text cut by position into year, month, day, hour, minute and second
// (characters 1-4, 6-7, 9-10, 12-13, 15-16, 18-19); a shorter text gives shorter or empty fields.
std::array<std::string_view, 6> dateFields(std::string_view date);

// The six fields run together: "YYYYMMDDhhmmss" for a well-formed date. Photo placemarks print it.
std::string dateKeyText(std::string_view date);

// Whether any of the six fields is a whole number; a date text with none (a camera date of
// spaces) has no time at all.
bool hasNumericDateField(std::string_view date);

// The key text as a number, compared with trackTimeKey. Throws ConversionError naming the key
// text when it is not an optional sign and digits.
double photoTimeKey(std::string_view date);

// A track point's fields printed "%04d%02d%02d%02d%02d%02d", as a number. Fields that are out
// of range keep all their digits, as the printed text would.
double trackTimeKey(const tracklog::TrackPoint& point);

}  // namespace tellurix::tagging
