#include "RmcWriter.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace tellurix::report {
namespace {

using tracklog::TextBuffer;
using tracklog::ZeroPadded;

constexpr double kKnotsPerKmh = 0.54001512042337185;  // 1 / 1.8518

struct RmcCoordinate {
  double degrees;
  int degreeDigits;

  void appendTo(TextBuffer& out) const {
    const double magnitude = std::fabs(degrees);
    auto whole = static_cast<std::int64_t>(magnitude);
    const double minutes = (magnitude - static_cast<double>(whole)) * 60;
    // Half up on the exact value: minutes × 10000 is exact for every decoded coordinate, and
    // printf would round those exact ties to even.
    auto tenThousandths = static_cast<std::int64_t>(std::floor(minutes * 10000 + 0.5));
    if (tenThousandths >= 600000) {
      tenThousandths -= 600000;
      whole += 1;
    }
    out.append(ZeroPadded{whole, degreeDigits}, ZeroPadded{tenThousandths / 10000, 2}, '.',
               ZeroPadded{tenThousandths % 10000, 4});
  }
};

// Knots with one decimal and at least three integer digits ("%05.1f").
struct Knots {
  float kmh;

  void appendTo(TextBuffer& out) const {
    const double knots = static_cast<double>(kmh) * kKnotsPerKmh;
    char text[tracklog::kFixedRoom + 1];
    if (!std::isfinite(knots)) {  // printf pads these with spaces, not zeros
      out.put(std::string_view(text,
                               static_cast<std::size_t>(std::snprintf(text, sizeof text, "%05.1f", knots))));
      return;
    }
    const char* end = tracklog::formatFixed(text, knots, 1);
    const char* digits = text;
    if (*digits == '-') out.put(*digits++);
    for (auto length = end - text; length < 5; ++length) out.put('0');
    out.put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
};

// Characters 3 and 4 of the decimal year text: as many of them as it has.
struct YearDigits {
  unsigned year;

  void appendTo(TextBuffer& out) const {
    char text[16];
    const char* end = std::to_chars(text, text + sizeof text, year).ptr;
    const auto length = end - text;
    if (length > 2) out.put(text[2]);
    if (length > 3) out.put(text[3]);
  }
};

struct Checksum {
  unsigned sum;

  void appendTo(TextBuffer& out) const {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out.append('*', kHex[(sum >> 4) & 0xF], kHex[sum & 0xF]);
  }
};

// The sentence up to and including its checksum.
void appendSentence(TextBuffer& out, const tracklog::TrackPoint& p) {
  out.add("$GPRMC,", ZeroPadded{p.hour, 2}, ZeroPadded{p.minute, 2}, ZeroPadded{p.second, 2}, ".000,A,",
          RmcCoordinate{p.latitude, 2}, ",", p.latitude > 0 ? "N" : "S", ",", RmcCoordinate{p.longitude, 3},
          ",", p.longitude > 0 ? "E" : "W", ",", Knots{p.speed}, ",000.0,", ZeroPadded{p.day, 2},
          ZeroPadded{p.month, 2}, YearDigits{p.year}, ",,,A");
  const std::string_view body = out.recent();
  out.append(Checksum{nmeaChecksum(body.data() + 1, body.size() - 1)});
}

}  // namespace

std::string rmcCoordinate(double degrees, int degreeDigits) {
  TextBuffer text;
  text.append(RmcCoordinate{degrees, degreeDigits});
  return std::string(text.text());
}

unsigned nmeaChecksum(const char* body, std::size_t length) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < length; ++i) sum ^= static_cast<unsigned char>(body[i]);
  return sum;
}

std::string rmcSentence(const tracklog::TrackPoint& utcPoint) {
  TextBuffer text;
  appendSentence(text, utcPoint);
  return std::string(text.text());
}

void writeRmcSentence(tracklog::TextOut out, const tracklog::TrackPoint& utcPoint) {
  appendSentence(out.buffer(), utcPoint);
  out.buffer().append("\r\n");
}

void writeRmcTrack(TextBuffer& out, const tracklog::TrackStore& store) {
  for (std::uint32_t i = 0; i < store.pointCount; ++i) writeRmcSentence(out, store.utc(i));
}

}  // namespace tellurix::report
