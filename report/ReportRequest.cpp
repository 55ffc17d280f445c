#include "ReportRequest.h"

#include <array>
#include <optional>

#include "tracklog/WholeNumber.h"

namespace tellurix::report {
namespace {

using tracklog::Field;
using tracklog::FieldSource;

struct FieldGroup {
  Field year, month, day, hour, minute, second;
};

constexpr FieldGroup kStartFields{Field::StartYear, Field::StartMonth, Field::StartDay,
                                  Field::StartHour, Field::StartMin,   Field::StartSec};
constexpr FieldGroup kEndFields{Field::EndYear, Field::EndMonth, Field::EndDay,
                                Field::EndHour, Field::EndMin,   Field::EndSec};

Refusal invalidValue() {
  return {"Invalid Value", "Input Error"};
}

// Converts one field and checks its range; the refusal is set on the first failure.
class DateTimeChecker {
 public:
  DateTimeChecker(FieldSource& fields, bool leapYear) : fields_(fields), leapYear_(leapYear) {}

  std::optional<Refusal> check(const FieldGroup& group, tracklog::CalendarTime& out) {
    if (auto r = range(group.year, 0, 9999, "The Year from 0 To 9999", "Date Error", out.year)) return r;
    if (auto r = range(group.month, 1, 12, "The Month from 1 To 12", "Date Error", out.month)) return r;
    if (auto r = range(group.day, 1, 31, "The Day from 1 To 31", "Date Error", out.day)) return r;
    if (auto r = dayWithinMonth(out.month, out.day)) return r;
    if (auto r = range(group.hour, 0, 23, "The Hour from 0 To 23", "Time Error", out.hour)) return r;
    if (auto r = range(group.minute, 0, 59, "The Minute from 0 To 59", "Time Error", out.minute)) return r;
    if (auto r = range(group.second, 0, 59, "The Second from 0 To 59", "Time Error", out.second)) return r;
    return std::nullopt;
  }

 private:
  std::optional<Refusal> range(Field field, int low, int high, const char* text, const char* caption,
                               int& out) {
    const auto value = tracklog::parseWholeNumber(fields_.text(field));
    if (!value) return invalidValue();
    if (*value < low || *value > high) return Refusal{text, caption};
    out = *value;
    return std::nullopt;
  }

  [[nodiscard]] std::optional<Refusal> dayWithinMonth(int month, int day) const {
    if (month == 2) {
      const int last = leapYear_ ? 29 : 28;
      if (day > last) return Refusal{"The Day from 1 To " + std::to_string(last), "Input Error"};
    } else if ((month == 4 || month == 6 || month == 9 || month == 11) && day > 30) {
      return Refusal{"The Day from 1 To 30", "Input Error"};
    }
    return std::nullopt;
  }

  FieldSource& fields_;
  bool leapYear_;
};

}  // namespace

std::variant<ReportWindow, Refusal> validateRequest(FieldSource& fields, std::uint32_t receivedByteCount) {
  const bool startLeap = tracklog::isLeapYear(tracklog::toWholeNumber(fields.text(Field::StartYear)));
  const bool endLeap = tracklog::isLeapYear(tracklog::toWholeNumber(fields.text(Field::EndYear)));

  if (receivedByteCount == 0) return Refusal{"Empty. No report was generated.", "Empty Data"};
  if (tracklog::trimmed(fields.text(Field::StopPeriod)).empty())
    return Refusal{"Please input time period.", "Empty Data"};
  if (tracklog::trimmed(fields.text(Field::OverSpeed)).empty())
    return Refusal{"Please input over speed value.", "Empty Data"};

  ReportWindow window;
  if (auto r = DateTimeChecker(fields, startLeap).check(kStartFields, window.start)) return *r;
  if (auto r = DateTimeChecker(fields, endLeap).check(kEndFields, window.end)) return *r;
  return window;
}

Refusal endNotAfterStartRefusal() {
  return {"Invalid Setting:The \" End Time\" earlier or equal than\" Start Time\".", "Input Error"};
}

}  // namespace tellurix::report
