#include "FilterFill.h"

#include "tracklog/WholeNumber.h"

namespace tellurix::shellcore {
namespace {

tracklog::CalendarTime calendarTimeOf(const logger::LogTime& t) {
  auto number = [](const std::string& text) { return tracklog::toWholeNumber(tracklog::trimmed(text)); };
  return {number(t.year), number(t.month), number(t.day), number(t.hour), number(t.minute), number(t.second)};
}

// Fields first..first+5 from the shifted time. The second is not shifted and keeps its digits
// as the log cut them, without the padding blank: the report's validation refuses " 5", so a
// padded second would refuse every report until the user typed it again.
void fill(FilterTexts& filter, std::size_t first, const tracklog::ZoneOffset& offset,
          const logger::LogTime& texts) {
  tracklog::CalendarTime t = calendarTimeOf(texts);
  tracklog::shiftByZoneOffset(offset, t);
  filter[first + 0] = std::to_string(t.year);
  filter[first + 1] = std::to_string(t.month);
  filter[first + 2] = std::to_string(t.day);
  filter[first + 3] = std::to_string(t.hour);
  filter[first + 4] = std::to_string(t.minute);
  filter[first + 5] = std::string(tracklog::trimmed(texts.second));
}

}  // namespace

FilterTexts emptyLogFilter() {
  return {"2000", "1", "1", "0", "0", "0", "2000", "1", "1", "0", "0", "0"};
}

FilterTexts filterTextsFromLog(const tracklog::ZoneOffset& offset, const logger::LogTime& start,
                               const logger::LogTime& end) {
  FilterTexts filter;
  fill(filter, 0, offset, start);
  fill(filter, 6, offset, end);
  if (calendarTimeOf(start) == tracklog::CalendarTime{2000, 0, 0, 0, 0, 0}) return emptyLogFilter();
  return filter;
}

}  // namespace tellurix::shellcore
