#include "ChartSheets.h"

#include "tracklog/FieldSource.h"

namespace tellurix::charts {

namespace {

using Labels13 = std::array<const char*, 13>;

constexpr Labels13 kKphLabels{"0~10",  "10~20", "20~30",  "30~40",   "40~50",   "50~60",    "60~70",
                              "70~80", "80~90", "90~100", "100~110", "110~120", ">120(KPH)"};
// The same 10 km/h buckets named in miles per hour, as users' existing workbooks name them.
constexpr Labels13 kMphLabels{"0~6",   "6~13",  "13~18", "18~25", "25~31", "31~37",   "37~44",
                              "44~50", "50~56", "56~63", "63~69", "69~75", ">75(MPH)"};
constexpr std::array<const char*, 6> kTimeLabels{"Early Morning", "Morning", "Noon",
                                                 "Afternoon",     "Evening", "Night"};
// "Firday" is the text users' files already carry.
constexpr std::array<const char*, 7> kWeekdayLabels{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                    "Thursday", "Firday", "Saturday"};

std::span<const char* const> speedLabelsFor(std::string_view unitText) {
  switch (tracklog::speedUnitOf(unitText)) {
    case tracklog::SpeedUnit::Kph:
      return kKphLabels;
    case tracklog::SpeedUnit::Mph:
      return kMphLabels;
    case tracklog::SpeedUnit::Other:
      break;
  }
  return {};
}

}  // namespace

std::array<ChartSheet, 3> chartSheetsFor(const ChartTables& tables, std::string_view unitText) {
  return {{
      {"Speed Chart", "Speed", "GPS Speed Chart", "Speed Segment", 9, speedLabelsFor(unitText), tables.speed},
      {"Time Chart", "Time", "GPS Time Chart", "Time Segment", 9, kTimeLabels, tables.timeOfDay},
      {"Weekday Chart", "Weekly", "GPS Weekday Chart", "Weekday Segment", 11, kWeekdayLabels, tables.weekday},
  }};
}

}  // namespace tellurix::charts
