#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tellurix::tracklog {

// The main window's fields that the core reads afresh at every use: the window hands in its
// live controls, the batch tool and the tests fixed texts.
enum class Field : std::uint8_t {
  StartYear,
  StartMonth,
  StartDay,
  StartHour,
  StartMin,
  StartSec,
  EndYear,
  EndMonth,
  EndDay,
  EndHour,
  EndMin,
  EndSec,
  TimeZone,    // the zone list's current text
  SpeedUnit,   // "KPH", "MPH" or anything typed
  OverSpeed,   // whole number in the speed unit, untrimmed
  StopPeriod,  // whole number of minutes, untrimmed
};
inline constexpr std::size_t kFieldCount = 16;

class FieldSource {
 public:
  virtual ~FieldSource() = default;
  // The field's current text; the view stays valid until the next call of text() for the same field.
  virtual std::string_view text(Field field) = 0;
  virtual bool excelReports() = 0;
};

// Fixed texts, as the batch tool and the tests give them.
class FixedFields final : public FieldSource {
 public:
  FixedFields();
  std::string_view text(Field field) override { return texts_[static_cast<std::size_t>(field)]; }
  bool excelReports() override { return excelReports_; }

  void set(Field field, std::string text) { texts_[static_cast<std::size_t>(field)] = std::move(text); }
  void setExcelReports(bool on) { excelReports_ = on; }

 private:
  std::array<std::string, kFieldCount> texts_;
  bool excelReports_ = false;
};

// What the fields hold now, for work that must not reach into the window: other threads.
FixedFields fixedCopyOf(FieldSource& fields);

enum class SpeedUnit : std::uint8_t { Kph, Mph, Other };

// Exact, case-sensitive: anything but "KPH" and "MPH" selects neither variant.
SpeedUnit speedUnitOf(std::string_view text);

// The trimmed text converted to a whole number; ConversionError when it is none.
std::int32_t wholeNumberField(FieldSource& fields, Field field);

}  // namespace tellurix::tracklog
