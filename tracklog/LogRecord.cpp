#include "LogRecord.h"

#include <algorithm>
#include <cmath>

namespace tellurix::tracklog {
namespace {

constexpr double kFractionUnit = 1.0 / 8388608.0;  // 2^-23 degree
constexpr std::uint32_t kFractionScale = 8388608U;

// The record is one 128-bit big-endian string: bit 0 is the top bit of byte 0.
class RecordBits {
 public:
  explicit RecordBits(const std::uint8_t* bytes) {
    for (int i = 0; i < 8; ++i) {
      high_ = (high_ << 8) | bytes[i];
      low_ = (low_ << 8) | bytes[8 + i];
    }
  }

  // Unsigned field of `width` bits starting at record bit `first`; never spans the two halves.
  [[nodiscard]] std::uint32_t field(unsigned first, unsigned width) const {
    const std::uint64_t half = first < 64 ? high_ : low_;
    const unsigned start = first % 64;
    return static_cast<std::uint32_t>((half >> (64 - start - width)) & ((std::uint64_t{1} << width) - 1));
  }

 private:
  std::uint64_t high_ = 0;
  std::uint64_t low_ = 0;
};

class RecordBuilder {
 public:
  void put(unsigned first, unsigned width, std::uint32_t value) {
    const std::uint64_t mask = (std::uint64_t{1} << width) - 1;
    std::uint64_t& half = first < 64 ? high_ : low_;
    const unsigned shift = 64 - (first % 64) - width;
    half |= (std::uint64_t{value} & mask) << shift;
  }

  [[nodiscard]] LogRecord bytes() const {
    LogRecord out{};
    for (int i = 0; i < 8; ++i) {
      out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(high_ >> (56 - 8 * i));
      out[static_cast<std::size_t>(8 + i)] = static_cast<std::uint8_t>(low_ >> (56 - 8 * i));
    }
    return out;
  }

 private:
  std::uint64_t high_ = 0;
  std::uint64_t low_ = 0;
};

double signedDegrees(std::uint32_t sign, std::uint32_t degrees, std::uint32_t fraction) {
  const double value = static_cast<double>(degrees) + static_cast<double>(fraction) * kFractionUnit;
  return sign != 0 ? -value : value;
}

struct EncodedDegrees {
  std::uint32_t sign;
  std::uint32_t degrees;
  std::uint32_t fraction;
};

EncodedDegrees encodeDegrees(double value, std::uint32_t maxDegrees) {
  const double magnitude = std::fabs(value);
  auto units = static_cast<std::uint64_t>(std::llround(magnitude * kFractionScale));
  const std::uint64_t maxUnits = (std::uint64_t{maxDegrees} + 1) * kFractionScale - 1;
  units = std::min(units, maxUnits);
  return {value < 0 ? 1U : 0U, static_cast<std::uint32_t>(units / kFractionScale),
          static_cast<std::uint32_t>(units % kFractionScale)};
}

std::uint32_t clampField(long value, unsigned width) {
  const long maxValue = (1L << width) - 1;
  return static_cast<std::uint32_t>(std::clamp(value, 0L, maxValue));
}

}  // namespace

TrackPoint decodeLogRecord(const std::uint8_t* bytes) {
  const RecordBits bits(bytes);
  TrackPoint p;
  p.onFlag = static_cast<std::uint8_t>(bits.field(0, 1));
  p.latitude = signedDegrees(bits.field(1, 1), bits.field(2, 7), bits.field(9, 23));
  p.longitude = signedDegrees(bits.field(32, 1), bits.field(33, 8), bits.field(41, 23));
  const auto altitude = static_cast<float>(bits.field(65, 15));
  p.altitude = bits.field(64, 1) != 0 ? -altitude : altitude;
  p.speed = static_cast<float>(bits.field(80, 11));
  p.hour = static_cast<std::uint8_t>(bits.field(91, 5));
  p.year = static_cast<std::uint16_t>(2000 + bits.field(96, 11));
  p.month = static_cast<std::uint8_t>(bits.field(107, 4));
  p.day = static_cast<std::uint8_t>(bits.field(111, 5));
  p.minute = static_cast<std::uint8_t>(bits.field(116, 6));
  p.second = static_cast<std::uint8_t>(bits.field(122, 6));
  return p;
}

LogRecord encodeLogRecord(const TrackPoint& point) {
  RecordBuilder b;
  b.put(0, 1, point.onFlag != 0 ? 1 : 0);
  const EncodedDegrees lat = encodeDegrees(point.latitude, 127);
  b.put(1, 1, lat.sign);
  b.put(2, 7, lat.degrees);
  b.put(9, 23, lat.fraction);
  const EncodedDegrees lon = encodeDegrees(point.longitude, 255);
  b.put(32, 1, lon.sign);
  b.put(33, 8, lon.degrees);
  b.put(41, 23, lon.fraction);
  b.put(64, 1, point.altitude < 0 ? 1 : 0);
  b.put(65, 15, clampField(std::lround(std::fabs(point.altitude)), 15));
  b.put(80, 11, clampField(std::lround(point.speed), 11));
  b.put(91, 5, clampField(point.hour, 5));
  b.put(96, 11, clampField(static_cast<long>(point.year) - 2000, 11));
  b.put(107, 4, clampField(point.month, 4));
  b.put(111, 5, clampField(point.day, 5));
  b.put(116, 6, clampField(point.minute, 6));
  b.put(122, 6, clampField(point.second, 6));
  return b.bytes();
}

}  // namespace tellurix::tracklog
