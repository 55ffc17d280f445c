#include "CsvExport.h"

#include <string>

#include "CsvRow.h"
#include "tracklog/Geodesy.h"
#include "tracklog/TextFile.h"

namespace tellurix::report {
namespace {

using tracklog::Field;
using tracklog::SpeedUnit;
using tracklog::TrackPoint;

constexpr std::uint32_t kRowsPerFile = 65535;  // what older spreadsheets hold below the header
constexpr double kFeetPerMetre = 3.28;
constexpr double kMilesPerKm = 0.625;
constexpr const char* kOpenError = "csv file read open error in Quorvel";

SpeedUnit unitOf(const RunContext& run) {
  return tracklog::speedUnitOf(run.fields.text(Field::SpeedUnit));
}

void openPart(tracklog::OutputFile& file, const RunContext& run, int part) {
  tracklog::openOrFail(
      file, run.names.reportFolder + run.names.reportBaseName + "-" + std::to_string(part) + ".csv",
      kOpenError);
  switch (unitOf(run)) {
    case SpeedUnit::Kph:
      tracklog::writeText(
          file.get(),
          "Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Altitude(m),Speed(KPH),Bearing,"
          "Distance(m),Mileage(Km)");
      break;
    case SpeedUnit::Mph:
      tracklog::writeText(
          file.get(),
          "Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Altitude(ft),Speed(MPH),Bearing,"
          "Distance(ft),Mileage(Mi)");
      break;
    case SpeedUnit::Other:
      break;
  }
}

// The stored point keeps metres and km/h; only the row shows feet, mph and miles.
void writeRow(std::FILE* out, SpeedUnit unit, const TrackPoint& p, double bearing, double metres,
              double running) {
  if (unit == SpeedUnit::Other) return;
  CsvRowValues v{p.year,      p.month,    p.day,   p.hour,  p.minute, p.second,       p.latitude,
                 p.longitude, p.altitude, p.speed, bearing, metres,   running * 0.001};
  if (unit == SpeedUnit::Mph) {
    v.altitude *= kFeetPerMetre;
    v.speed *= kMilesPerKm;
    v.distance *= kFeetPerMetre;
    v.mileage *= kMilesPerKm;
  }
  char row[kCsvRowCapacity];
  std::fwrite(row, 1, formatCsvRow(v, row), out);
}

}  // namespace

void writeCsvFiles(const RunContext& run) {
  const tracklog::TrackStore& store = run.store;
  tracklog::OutputFile file;
  openPart(file, run, 1);
  double running = 0;  // metres from the first point, whatever the unit
  for (std::uint32_t i = 0; i < store.pointCount; ++i) {
    const TrackPoint& p = store.local(i);
    double metres = 0;
    double bearing = 0;
    if (i > 0) {
      const TrackPoint& q = store.local(i - 1);
      metres = tracklog::distanceMetres(q.latitude, q.longitude, p.latitude, p.longitude);
      bearing = tracklog::bearingDegrees(q.latitude, q.longitude, p.latitude, p.longitude);
      running += metres;
    }
    writeRow(file.get(), unitOf(run), p, bearing, metres, running);
    const std::uint32_t written = i + 1;
    if (written % kRowsPerFile == 0 && (written / kRowsPerFile == 1 || written / kRowsPerFile == 2)) {
      file.closeOrFail();
      openPart(file, run, static_cast<int>(written / kRowsPerFile) + 1);
    }
  }
  file.closeOrFail();
}

}  // namespace tellurix::report
