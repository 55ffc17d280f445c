#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "PhotoList.h"
#include "TaggingUi.h"
#include "tracklog/Calendar.h"
#include "tracklog/TrackStore.h"

namespace tellurix::tagging {

// The four offset fields of the camera clock group, in this order.
enum class ClockField : std::uint8_t { Day, Hour, Minute, Second };
inline constexpr std::size_t kClockFieldCount = 4;

// The offset fields as they stand at every use: the window hands in its editable lists, the
// batch tool and the tests fixed texts.
class ClockFields {
 public:
  virtual ~ClockFields() = default;
  // The view stays valid until the next text() or setText() for the same field.
  virtual std::string_view text(ClockField field) = 0;
  virtual void setText(ClockField field, std::string_view text) = 0;
};

// Fixed texts, all "0" at first like the window's fields.
class FixedClockFields final : public ClockFields {
 public:
  FixedClockFields() { texts_.fill("0"); }
  FixedClockFields(std::string day, std::string hour, std::string minute, std::string second)
      : texts_{std::move(day), std::move(hour), std::move(minute), std::move(second)} {}

  std::string_view text(ClockField field) override { return texts_[static_cast<std::size_t>(field)]; }
  void setText(ClockField field, std::string_view text) override {
    texts_[static_cast<std::size_t>(field)] = std::string(text);
  }

 private:
  std::array<std::string, kClockFieldCount> texts_;
};

// The current local date and time, whole seconds; the tests pin it.
class LocalClock {
 public:
  virtual ~LocalClock() = default;
  virtual tracklog::CalendarTime now() = 0;
};

class SystemLocalClock final : public LocalClock {
 public:
  tracklog::CalendarTime now() override;
};

// A character typed into an offset field that reaches it: a digit, the minus sign or
// backspace (8). Everything else, other control characters included, is dropped.
bool acceptsOffsetKey(char32_t character);

// Days × 86400 + hours × 3600 + minutes × 60 + seconds, in 64 bits so that no field value can
// wrap it; nothing when a field is not a whole number.
std::optional<std::int64_t> offsetSecondsOf(ClockFields& fields);

// What the two read-only time fields show after a tick.
struct ClockDisplay {
  std::string systemTime;
  std::string cameraTime;
};

struct ApplyOutcome {
  std::size_t rowsShifted = 0;
  bool complete = true;  // false: a row's date could not be read or shifted, it and later rows kept theirs
};

// The camera clock: the offset that camera time + offset = system time, shown live, and the
// part of it already applied to the photo list. Lives as long as the program.
class CameraClock {
 public:
  CameraClock() = default;
  CameraClock(const CameraClock&) = delete;
  CameraClock& operator=(const CameraClock&) = delete;

  // One tick of the 10 ms timer. Fields that do not convert are all reset to "0", and the
  // offset of the last good reading is kept for this tick.
  ClockDisplay tick(ClockFields& fields, LocalClock& clock);

  // Apply Adjustment: every date moves by the change of the offset since the last Apply, and
  // every position is looked up again. A field that does not convert throws ConversionError
  // before anything changes. Processes events once per row.
  ApplyOutcome applyAdjustment(ClockFields& fields, PhotoList& list, const tracklog::TrackStore& store,
                               TaggingUi& ui);

  [[nodiscard]] std::int64_t cameraOffsetSeconds() const { return cameraOffsetSeconds_; }
  [[nodiscard]] std::int64_t appliedOffsetSeconds() const { return appliedOffsetSeconds_; }

 private:
  std::int64_t cameraOffsetSeconds_ = 0;
  std::int64_t appliedOffsetSeconds_ = 0;
};

}  // namespace tellurix::tagging
