#include "RmcWriter.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace tellurix::report {
namespace {

constexpr double kKnotsPerKmh = 0.54001512042337185;  // 1 / 1.8518

// Writes the coordinate into `out` (at least 16 bytes) and returns its length.
int formatCoordinate(char* out, std::size_t size, double degrees, int degreeDigits) {
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
  return std::snprintf(out, size, "%0*lld%02lld.%04lld", degreeDigits, static_cast<long long>(whole),
                       static_cast<long long>(tenThousandths / 10000),
                       static_cast<long long>(tenThousandths % 10000));
}

// Characters 3 and 4 of the decimal year text.
void yearDigits(unsigned year, char (&out)[3]) {
  char text[16];
  const int length = std::snprintf(text, sizeof text, "%u", year);
  out[0] = length > 2 ? text[2] : '\0';
  out[1] = length > 3 ? text[3] : '\0';
  out[2] = '\0';
}

std::size_t formatSentence(const tracklog::TrackPoint& p, char* out, std::size_t size) {
  char latitude[32];
  char longitude[32];
  formatCoordinate(latitude, sizeof latitude, p.latitude, 2);
  formatCoordinate(longitude, sizeof longitude, p.longitude, 3);
  char knots[32];
  std::snprintf(knots, sizeof knots, "%05.1f", static_cast<double>(p.speed) * kKnotsPerKmh);
  char year[3];
  yearDigits(p.year, year);

  const int bodyEnd =
      std::snprintf(out, size, "$GPRMC,%02d%02d%02d.000,A,%s,%s,%s,%s,%s,000.0,%02d%02d%s,,,A", p.hour,
                    p.minute, p.second, latitude, p.latitude > 0 ? "N" : "S", longitude,
                    p.longitude > 0 ? "E" : "W", knots, p.day, p.month, year);
  const unsigned checksum = nmeaChecksum(out + 1, static_cast<std::size_t>(bodyEnd) - 1);
  const int total =
      bodyEnd + std::snprintf(out + bodyEnd, size - static_cast<std::size_t>(bodyEnd), "*%02X", checksum);
  return static_cast<std::size_t>(total);
}

}  // namespace

std::string rmcCoordinate(double degrees, int degreeDigits) {
  char text[32];
  formatCoordinate(text, sizeof text, degrees, degreeDigits);
  return text;
}

unsigned nmeaChecksum(const char* body, std::size_t length) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < length; ++i) sum ^= static_cast<unsigned char>(body[i]);
  return sum;
}

std::string rmcSentence(const tracklog::TrackPoint& utcPoint) {
  char sentence[160];
  return {sentence, formatSentence(utcPoint, sentence, sizeof sentence)};
}

void writeRmcSentence(std::FILE* out, const tracklog::TrackPoint& utcPoint) {
  char sentence[160];
  const std::size_t length = formatSentence(utcPoint, sentence, sizeof sentence);
  std::memcpy(sentence + length, "\r\n", 2);
  std::fwrite(sentence, 1, length + 2, out);
}

}  // namespace tellurix::report
