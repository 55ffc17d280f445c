#include "CsvExport.h"

#include <memory>
#include <optional>
#include <string>

#include "CsvRow.h"
#include "tracklog/Geodesy.h"
#include "tracklog/TextBuffer.h"
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

// A part file and the buffer its lines gather in.
class CsvPart {
 public:
  CsvPart(const RunContext& run, int part) {
    tracklog::openOrFail(
        file_, run.names.reportFolder + run.names.reportBaseName + "-" + std::to_string(part) + ".csv",
        kOpenError);
    text_.emplace(file_.get());
    switch (unitOf(run)) {
      case SpeedUnit::Kph:
        text_->line(
            "Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Altitude(m),Speed(KPH),Bearing,"
            "Distance(m),Mileage(Km)");
        break;
      case SpeedUnit::Mph:
        text_->line(
            "Year,Month,Day,Hour,Minute,Second,Latitude,Longitude,Altitude(ft),Speed(MPH),Bearing,"
            "Distance(ft),Mileage(Mi)");
        break;
      case SpeedUnit::Other:
        break;
    }
  }

  tracklog::TextBuffer& text() { return *text_; }

  void closeOrFail() {
    text_.reset();
    file_.closeOrFail();
  }

 private:
  tracklog::OutputFile file_;
  std::optional<tracklog::TextBuffer> text_;
};

// The stored point keeps metres and km/h; only the row shows feet, mph and miles.
void writeRow(tracklog::TextBuffer& out, SpeedUnit unit, const TrackPoint& p, double bearing, double metres,
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
  out.add(v);
}

}  // namespace

void writeCsvFiles(const RunContext& run) {
  const tracklog::TrackStore& store = run.store;
  auto part = std::make_unique<CsvPart>(run, 1);
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
    writeRow(part->text(), unitOf(run), p, bearing, metres, running);
    const std::uint32_t written = i + 1;
    if (written % kRowsPerFile == 0 && (written / kRowsPerFile == 1 || written / kRowsPerFile == 2)) {
      part->closeOrFail();
      part = std::make_unique<CsvPart>(run, static_cast<int>(written / kRowsPerFile) + 1);
    }
  }
  part->closeOrFail();
}

}  // namespace tellurix::report
