#include "FieldSource.h"

#include "WholeNumber.h"

namespace tellurix::tracklog {

FixedFields::FixedFields() {
  set(Field::StartYear, "2000");
  set(Field::StartMonth, "1");
  set(Field::StartDay, "1");
  set(Field::StartHour, "0");
  set(Field::StartMin, "0");
  set(Field::StartSec, "0");
  set(Field::EndYear, "2000");
  set(Field::EndMonth, "1");
  set(Field::EndDay, "1");
  set(Field::EndHour, "0");
  set(Field::EndMin, "0");
  set(Field::EndSec, "0");
  set(Field::SpeedUnit, "KPH");
  set(Field::OverSpeed, "90");
  set(Field::StopPeriod, "10");
}

FixedFields fixedCopyOf(FieldSource& fields) {
  FixedFields copy;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const auto field = static_cast<Field>(i);
    copy.set(field, std::string(fields.text(field)));
  }
  copy.setExcelReports(fields.excelReports());
  return copy;
}

SpeedUnit speedUnitOf(std::string_view text) {
  if (text == "KPH") return SpeedUnit::Kph;
  if (text == "MPH") return SpeedUnit::Mph;
  return SpeedUnit::Other;
}

std::int32_t wholeNumberField(FieldSource& fields, Field field) {
  return toWholeNumber(trimmed(fields.text(field)));
}

}  // namespace tellurix::tracklog
