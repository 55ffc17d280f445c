#include "CsvRow.h"

#include <charconv>
#include <cstring>
#include <initializer_list>

namespace tellurix::report {
namespace {

// An int as "%0<width>d" (zeroPad) or "%<width>d".
char* putInt(char* out, int value, int width, bool zeroPad) {
  char digits[16];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  (void)ec;  // an int always fits
  auto length = static_cast<int>(end - digits);
  const char* body = digits;
  if (value < 0 && zeroPad) {  // printf puts the zeros after the sign
    *out++ = '-';
    ++body;
    --length;
    --width;
  }
  for (int i = length; i < width; ++i) *out++ = zeroPad ? '0' : ' ';
  std::memcpy(out, body, static_cast<std::size_t>(length));
  return out + length;
}

// A double as "%.<precision>f".
char* putFixed(char* out, double value, int precision) {
  return tracklog::formatFixed(out, value, precision);
}

}  // namespace

std::size_t formatCsvRow(const CsvRowValues& v, char* out) {
  char* p = putInt(out, v.year, 4, false);
  for (const int field : {v.month, v.day, v.hour, v.minute, v.second}) {
    *p++ = ',';
    p = putInt(p, field, 2, true);
  }
  const struct {
    double value;
    int precision;
  } decimals[] = {{v.latitude, 7}, {v.longitude, 7}, {v.altitude, 2}, {v.speed, 2},
                  {v.bearing, 2},  {v.distance, 2},  {v.mileage, 6}};
  for (const auto& d : decimals) {
    *p++ = ',';
    p = putFixed(p, d.value, d.precision);
  }
  *p++ = '\r';
  *p++ = '\n';
  return static_cast<std::size_t>(p - out);
}

void CsvRowValues::appendTo(tracklog::TextBuffer& out) const {
  char* row = out.room(kCsvRowCapacity);
  out.advance(row + formatCsvRow(*this, row));
}

}  // namespace tellurix::report
