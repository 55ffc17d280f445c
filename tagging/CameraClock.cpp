#include "CameraClock.h"

#include <ctime>

#include "DateTimeText.h"
#include "PhotoPosition.h"
#include "tracklog/WholeNumber.h"

namespace tellurix::tagging {
namespace {

constexpr std::array<ClockField, kClockFieldCount> kFields{ClockField::Day, ClockField::Hour,
                                                           ClockField::Minute, ClockField::Second};
constexpr std::array<std::int64_t, kClockFieldCount> kSecondsPerUnit{86400, 3600, 60, 1};

}  // namespace

tracklog::CalendarTime SystemLocalClock::now() {
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
          // A leap second shows as the last second of its minute.
          local.tm_sec > 59 ? 59 : local.tm_sec};
}

bool acceptsOffsetKey(char32_t character) {
  return (character >= U'0' && character <= U'9') || character == U'-' || character == 8;
}

std::optional<std::int64_t> offsetSecondsOf(ClockFields& fields) {
  std::int64_t total = 0;
  for (std::size_t i = 0; i < kClockFieldCount; ++i) {
    const auto value = tracklog::parseWholeNumber(fields.text(kFields[i]));
    if (!value) return std::nullopt;
    total += *value * kSecondsPerUnit[i];
  }
  return total;
}

ClockDisplay CameraClock::tick(ClockFields& fields, LocalClock& clock) {
  const tracklog::CalendarTime now = clock.now();
  if (const auto offset = offsetSecondsOf(fields)) {
    cameraOffsetSeconds_ = *offset;
  } else {
    for (const ClockField field : kFields) fields.setText(field, "0");
  }
  return {dateTimeText(now), dateTimeText(tracklog::addSeconds(now, -cameraOffsetSeconds_))};
}

ApplyOutcome CameraClock::applyAdjustment(ClockFields& fields, PhotoList& list,
                                          const tracklog::TrackStore& store, TaggingUi& ui) {
  std::int64_t total = 0;
  for (std::size_t i = 0; i < kClockFieldCount; ++i) {
    total += std::int64_t{tracklog::toWholeNumber(fields.text(kFields[i]))} * kSecondsPerUnit[i];
  }
  const std::int64_t delta = total - appliedOffsetSeconds_;
  appliedOffsetSeconds_ = total;

  ApplyOutcome outcome;
  // The list is checked afresh after every event pass: a command run meanwhile may shorten it.
  for (std::size_t row = 0; row < list.size(); ++row) {
    ui.processEvents();
    if (row >= list.size()) break;
    const auto date = readDateTime(list.row(row).date);
    if (!date) {
      outcome.complete = false;
      break;
    }
    const tracklog::CalendarTime shifted = tracklog::addSeconds(*date, delta);
    // A date the layout cannot show is treated like one that cannot be read.
    if (!inShownYears(shifted)) {
      outcome.complete = false;
      break;
    }
    std::string text = dateTimeText(shifted);
    list.setDate(row, text);
    const auto position = lookupPhotoPosition(text, store, ui);
    if (row < list.size() && list.row(row).date == text) list.setPosition(row, position);
    ++outcome.rowsShifted;
  }
  return outcome;
}

}  // namespace tellurix::tagging
