#pragma once

#include <cstddef>

#include "tracklog/TextBuffer.h"

namespace tellurix::report {

// One data row of the CSV tables, its values already in the row's unit.
struct CsvRowValues {
  // The row as formatCsvRow writes it.
  void appendTo(tracklog::TextBuffer& out) const;

  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  double latitude = 0;
  double longitude = 0;
  double altitude = 0;
  double speed = 0;
  double bearing = 0;
  double distance = 0;
  double mileage = 0;
};

// Room for any row: seven doubles in fixed notation need at most 318 characters each.
inline constexpr std::size_t kCsvRowCapacity = 2560;

// Formats the row exactly as printf's
//   "%4d,%02d,%02d,%02d,%02d,%02d,%.7f,%.7f,%.2f,%.2f,%.2f,%.2f,%f"
// followed by CR LF, into `out` (at least kCsvRowCapacity bytes) and returns its length. A full
// log has 131071 rows, and printf's parsing and float conversion would take most of the run.
std::size_t formatCsvRow(const CsvRowValues& v, char* out);

}  // namespace tellurix::report
