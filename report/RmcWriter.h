#pragma once

#include <cstdio>
#include <string>

#include "tracklog/TrackPoint.h"

namespace tellurix::report {

// "$GPRMC,...*hh" for a UTC point, without the line end.
std::string rmcSentence(const tracklog::TrackPoint& utcPoint);

// Appends the sentence and CR LF.
void writeRmcSentence(std::FILE* out, const tracklog::TrackPoint& utcPoint);

// ddmm.mmmm (two degree digits) or dddmm.mmmm (three), minutes rounded half up.
std::string rmcCoordinate(double degrees, int degreeDigits);

// XOR of the characters between '$' and '*'.
unsigned nmeaChecksum(const char* body, std::size_t length);

}  // namespace tellurix::report
