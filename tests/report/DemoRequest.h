#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tracklog/FieldSource.h"

namespace tellurix::testing {

// The window's texts for a report over the demo track's first two days (it starts on
// 2010/9/9) in `zone`: KPH, over speed 50, stops of 10 minutes.
inline std::vector<std::pair<tracklog::Field, std::string>> demoWindowTexts(const std::string& zone) {
  using tracklog::Field;
  return {{Field::StartYear, "2010"}, {Field::StartMonth, "9"},  {Field::StartDay, "9"},
          {Field::StartHour, "0"},    {Field::StartMin, "0"},    {Field::StartSec, "0"},
          {Field::EndYear, "2010"},   {Field::EndMonth, "9"},    {Field::EndDay, "11"},
          {Field::EndHour, "0"},      {Field::EndMin, "0"},      {Field::EndSec, "0"},
          {Field::TimeZone, zone},    {Field::SpeedUnit, "KPH"}, {Field::OverSpeed, "50"},
          {Field::StopPeriod, "10"}};
}

}  // namespace tellurix::testing
