#include "TripKml.h"

#include <cstdio>
#include <string>

#include "kml/KmlWriter.h"
#include "tracklog/TextFile.h"

namespace tellurix::report {
namespace {

using tracklog::Field;
using tracklog::SpeedUnit;
using tracklog::TrackPoint;

// "stop<k>-[<user id>-]<year>-<month>-<day>_<hour>-<minute>.kml" from the leg's last point in
// report time; the year is space-padded as the names have always been.
std::string legFileName(std::uint32_t number, const TrackPoint& lastLocal, const std::string& userId) {
  std::string name = "stop" + std::to_string(number) + "-";
  if (!userId.empty()) name += fileNameSafe(userId) + "-";
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%4d-%02d-%02d_%02d-%02d.kml", lastLocal.year, lastLocal.month,
                lastLocal.day, lastLocal.hour, lastLocal.minute);
  return name + stamp;
}

std::uint32_t stopSecondsOf(const Leg& leg) {
  return leg.endsInStop ? static_cast<std::uint32_t>(leg.stopSeconds) : 0;
}

double mileageKm(const Leg& leg) {
  return leg.mileage * 0.001;
}

// One document per leg: its path with its Start and Stop placemarks. The same path goes into
// the trip path document as it is written.
void writeLegFile(const RunContext& run, const kml::KmlContext& context, const Leg& leg, std::FILE* path) {
  const tracklog::TrackStore& store = run.store;
  const std::string name = legFileName(leg.number, store.local(leg.last), run.userId);
  tracklog::OutputFile file;
  tracklog::openOrFail(file, run.names.reportFolder + name, "(1)stop_point_file file write open error");
  std::FILE* out = file.get();

  kml::writeTripDocumentHead(out, name);
  kml::writePathHead(out, leg.number);
  kml::writePathHead(path, leg.number);
  for (std::uint32_t t = leg.first; t <= leg.last; ++t) {
    kml::writePathCoordinate(out, store.local(t));
    kml::writePathCoordinate(path, store.local(t));
  }
  kml::writePathTail(out, store.utc(leg.first), store.utc(leg.last));
  kml::writePathTail(path, store.utc(leg.first), store.utc(leg.last));
  kml::writeLegStartPlacemark(out, context, store.utc(leg.first), leg.number);
  kml::writeLegStopPlacemark(out, context, store.utc(leg.last), store.utc(leg.first), mileageKm(leg),
                             stopSecondsOf(leg), leg.number);
  kml::writeDocumentTail(out);
  file.closeOrFail();
}

// The points between a leg's first and last: the fastest of the run as MaxSpeed and the
// over-speed ones with the track-point icon in both documents, every other one as a label in
// the point document. The limit and the unit are read at every point.
void writeInnerPlacemarks(const RunContext& run, const kml::KmlContext& context, const Leg& leg,
                          std::FILE* path, std::FILE* points) {
  for (std::uint32_t t = leg.first + 1; t < leg.last; ++t) {
    const TrackPoint& p = run.store.utc(t);
    const std::int32_t limit = tracklog::wholeNumberField(run.fields, Field::OverSpeed);
    const SpeedUnit unit = tracklog::speedUnitOf(run.fields.text(Field::SpeedUnit));
    switch (innerPlacemarkFor(p, unit, limit, run.stats.maxSpeed)) {
      case InnerPlacemark::MaxSpeed:
        kml::writeMaxSpeedPlacemark(path, context, p);
        kml::writeMaxSpeedPlacemark(points, context, p);
        break;
      case InnerPlacemark::OverSpeed:
        kml::writeTrackPointPlacemark(path, context, p);
        kml::writeTrackPointPlacemark(points, context, p);
        break;
      case InnerPlacemark::Label:
        kml::writeLabelPointPlacemark(points, context, p);
        break;
      case InnerPlacemark::None:
        break;
    }
  }
}

}  // namespace

InnerPlacemark innerPlacemarkFor(const TrackPoint& point, SpeedUnit unit, std::int32_t limit, int maxSpeed) {
  if (unit == SpeedUnit::Other) return InnerPlacemark::None;
  if (tracklog::wholeSpeed(point) == maxSpeed) return InnerPlacemark::MaxSpeed;
  // MPH in extended precision: 80 km/h is just under 50 MPH there, and not over a limit of 50.
  const bool over = unit == SpeedUnit::Kph ? static_cast<double>(point.speed) > limit
                                           : kml::milesExact(static_cast<double>(point.speed)) > limit;
  return over ? InnerPlacemark::OverSpeed : InnerPlacemark::Label;
}

void writeTripKml(ReportOutputs& outputs, const RunContext& run, const std::vector<Leg>& legs,
                  const std::function<void(const Leg&)>& writeReportBlock) {
  const tracklog::TrackStore& store = run.store;
  std::FILE* path = outputs.pathKml.get();
  std::FILE* points = outputs.pointKml.get();
  const kml::KmlContext context{run.fields, run.zone};

  kml::writeTripDocumentHead(path, run.names.pathKmlName);
  kml::writeLabelDocumentHead(points, run.names.pointKmlName);
  for (const Leg& leg : legs) writeLegFile(run, context, leg, path);
  if (legs.empty()) return;

  kml::writeBeginPlacemark(path, context, store.utc(0));
  kml::writeStartPlacemark(path, context, store.utc(0), 1);
  kml::writeBeginPlacemark(points, context, store.utc(0));
  kml::writePointFolderStart(points, context, store.utc(0), 1);
  for (const Leg& leg : legs) {
    writeInnerPlacemarks(run, context, leg, path, points);
    const TrackPoint& stop = store.utc(leg.last);
    const TrackPoint& begin = store.utc(leg.first);
    kml::writeStopPlacemark(path, context, stop, begin, mileageKm(leg), leg.number, stopSecondsOf(leg));
    kml::writeStopPlacemark(points, context, stop, begin, mileageKm(leg), leg.number, stopSecondsOf(leg));
    tracklog::writeText(points, "</Folder>");
    writeReportBlock(leg);
    if (leg.endsInStop) {
      kml::writeStartPlacemark(path, context, store.utc(leg.last + 1), leg.number + 1);
      kml::writePointFolderStart(points, context, store.utc(leg.last + 1), leg.number + 1);
    }
  }
}

void closeTripKml(ReportOutputs& outputs, const RunContext& run) {
  const tracklog::TrackStore& store = run.store;
  if (store.pointCount > 0) {
    const kml::KmlContext context{run.fields, run.zone};
    const TrackPoint& end = store.utc(store.pointCount - 1);
    const TrackPoint& begin = store.utc(0);
    const double km = run.stats.totalDistance * 0.001;
    kml::writeEndPlacemark(outputs.pointKml.get(), context, end, begin, km);
    kml::writeDocumentTail(outputs.pointKml.get());
    outputs.pointKml.closeOrFail();
    kml::writeEndPlacemark(outputs.pathKml.get(), context, end, begin, km);
    kml::writeDocumentTail(outputs.pathKml.get());
  }
  outputs.pointKml.closeOrFail();
  outputs.pathKml.closeOrFail();
}

}  // namespace tellurix::report
