#include "PhotoTimeKey.h"

#include "tracklog/Errors.h"
#include "tracklog/WholeNumber.h"

namespace tellurix::tagging {
namespace {

struct Cut {
  std::size_t first;  // from 0
  std::size_t length;
};
constexpr std::array<Cut, 6> kCuts{{{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}, {17, 2}}};

// `value` followed by the digits of `field` printed with at least `width` digits.
double appendPrinted(double value, unsigned field, unsigned width) {
  unsigned digits = 1;
  double scale = 10;
  for (unsigned rest = field / 10; rest != 0; rest /= 10) {
    ++digits;
    scale *= 10;
  }
  for (; digits < width; ++digits) scale *= 10;
  return value * scale + field;
}

}  // namespace

std::array<std::string_view, 6> dateFields(std::string_view date) {
  std::array<std::string_view, 6> fields;
  for (std::size_t i = 0; i < kCuts.size(); ++i) {
    if (kCuts[i].first < date.size()) fields[i] = date.substr(kCuts[i].first, kCuts[i].length);
  }
  return fields;
}

std::string dateKeyText(std::string_view date) {
  std::string key;
  for (const std::string_view field : dateFields(date)) key += field;
  return key;
}

bool hasNumericDateField(std::string_view date) {
  for (const std::string_view field : dateFields(date)) {
    if (tracklog::parseWholeNumber(field)) return true;
  }
  return false;
}

double photoTimeKey(std::string_view date) {
  const std::string key = dateKeyText(date);
  std::size_t i = key.empty() || (key[0] != '+' && key[0] != '-') ? 0 : 1;
  if (i == key.size()) throw tracklog::ConversionError(key);
  double value = 0;
  for (; i < key.size(); ++i) {
    if (key[i] < '0' || key[i] > '9') throw tracklog::ConversionError(key);
    value = value * 10 + (key[i] - '0');
  }
  return key[0] == '-' ? -value : value;
}

double trackTimeKey(const tracklog::TrackPoint& point) {
  double key = appendPrinted(0, point.year, 4);
  key = appendPrinted(key, point.month, 2);
  key = appendPrinted(key, point.day, 2);
  key = appendPrinted(key, point.hour, 2);
  key = appendPrinted(key, point.minute, 2);
  return appendPrinted(key, point.second, 2);
}

}  // namespace tellurix::tagging
