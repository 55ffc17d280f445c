#include "FilterFill.h"

#include "tracklog/WholeNumber.h"

namespace tellurix::shell {
namespace {

tracklog::CalendarTime calendarTimeOf(const LogTimeTexts& texts) {
  auto number = [&](std::size_t i) { return tracklog::toWholeNumber(tracklog::trimmed(texts[i])); };
  return {number(0), number(1), number(2), number(3), number(4), number(5)};
}

// Fields first..first+5 from the shifted time. The second is not shifted and keeps its digits
// as the log cut them, without the padding blank: the report's validation refuses " 5", so a
// padded second would refuse every report until the user typed it again.
void fill(FilterTexts& filter, std::size_t first, const tracklog::ZoneOffset& offset,
          const LogTimeTexts& texts) {
  tracklog::CalendarTime t = calendarTimeOf(texts);
  tracklog::shiftByZoneOffset(offset, t);
  filter[first + 0] = std::to_string(t.year);
  filter[first + 1] = std::to_string(t.month);
  filter[first + 2] = std::to_string(t.day);
  filter[first + 3] = std::to_string(t.hour);
  filter[first + 4] = std::to_string(t.minute);
  filter[first + 5] = std::string(tracklog::trimmed(texts[5]));
}

}  // namespace

FilterTexts emptyLogFilter() {
  return {"2000", "1", "1", "0", "0", "0", "2000", "1", "1", "0", "0", "0"};
}

FilterTexts filterTextsFromLog(const tracklog::ZoneOffset& offset, const LogTimeTexts& start,
                               const LogTimeTexts& end) {
  FilterTexts filter;
  fill(filter, 0, offset, start);
  fill(filter, 6, offset, end);
  if (calendarTimeOf(start) == tracklog::CalendarTime{2000, 0, 0, 0, 0, 0}) return emptyLogFilter();
  return filter;
}

}  // namespace tellurix::shell
