#pragma once

#include <cstddef>
#include <string>

#include "tracklog/TextBuffer.h"
#include "tracklog/TrackPoint.h"
#include "tracklog/TrackStore.h"

namespace tellurix::report {

// "$GPRMC,...*hh" for a UTC point, without the line end.
std::string rmcSentence(const tracklog::TrackPoint& utcPoint);

// Appends the sentence and CR LF.
void writeRmcSentence(tracklog::TextOut out, const tracklog::TrackPoint& utcPoint);

// One sentence per selected point, in the order they were read.
void writeRmcTrack(tracklog::TextBuffer& out, const tracklog::TrackStore& store);

// ddmm.mmmm (two degree digits) or dddmm.mmmm (three), minutes rounded half up.
std::string rmcCoordinate(double degrees, int degreeDigits);

// XOR of the characters between '$' and '*'.
unsigned nmeaChecksum(const char* body, std::size_t length);

}  // namespace tellurix::report
