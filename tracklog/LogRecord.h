#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "TrackPoint.h"

namespace tellurix::tracklog {

inline constexpr std::size_t kLogRecordSize = 16;
using LogRecord = std::array<std::uint8_t, kLogRecordSize>;

// Any 16 bytes decode; nothing is range-checked.
TrackPoint decodeLogRecord(const std::uint8_t* bytes);
inline TrackPoint decodeLogRecord(const LogRecord& record) {
  return decodeLogRecord(record.data());
}

// The inverse, for the simulated logger and test fixtures. Values outside a field's width are
// clamped to it; coordinates are rounded to the nearest 2^-23 degree.
LogRecord encodeLogRecord(const TrackPoint& point);

}  // namespace tellurix::tracklog
