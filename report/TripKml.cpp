#include "TripKml.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "kml/KmlWriter.h"
#include "tracklog/TextFile.h"

namespace tellurix::report {
namespace {

using tracklog::Field;
using tracklog::SpeedUnit;
using tracklog::TextBuffer;
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

}  // namespace

TripKml::TripKml(const RunContext& run, const std::vector<Leg>& legs)
    : run_(run), legs_(legs), context_{run.fields, run.zone} {}

void TripKml::writePathHead(TextBuffer& path) const {
  kml::writeTripDocumentHead(path, run_.names.pathKmlName);
}

void TripKml::writePointHead(TextBuffer& points) const {
  kml::writeLabelDocumentHead(points, run_.names.pointKmlName);
}

void TripKml::writeLegFiles(TextBuffer& path) const {
  for (const Leg& leg : legs_) writeLegFile(leg, path);
}

void TripKml::writeLegFile(const Leg& leg, TextBuffer& path) const {
  const tracklog::TrackStore& store = run_.store;
  const std::string name = legFileName(leg.number, store.local(leg.last), run_.userId);
  tracklog::OutputFile file;
  tracklog::openOrFail(file, run_.names.reportFolder + name, "(1)stop_point_file file write open error");
  {
    TextBuffer out(file.get());
    kml::writeTripDocumentHead(out, name);
    kml::writePathHead(out, leg.number);
    kml::writePathHead(path, leg.number);
    for (std::uint32_t t = leg.first; t <= leg.last; ++t) {
      // Both documents carry the same line: formatted once.
      kml::writePathCoordinate(out, store.local(t));
      path.add(out.recent());
    }
    kml::writePathTail(out, store.utc(leg.first), store.utc(leg.last));
    kml::writePathTail(path, store.utc(leg.first), store.utc(leg.last));
    kml::writeLegStartPlacemark(out, context_, store.utc(leg.first), leg.number);
    kml::writeLegStopPlacemark(out, context_, store.utc(leg.last), store.utc(leg.first), mileageKm(leg),
                               stopSecondsOf(leg), leg.number);
    kml::writeDocumentTail(out);
  }
  file.closeOrFail();
}

// The points between a leg's first and last: the fastest of the run as MaxSpeed and the
// over-speed ones with the track-point icon in both documents, every other one as a label in
// the point document. The limit and the unit are read at every point.
void TripKml::writeInnerPlacemarks(const Leg& leg, TextBuffer* path, TextBuffer* points) const {
  for (std::uint32_t t = leg.first + 1; t < leg.last; ++t) {
    const TrackPoint& p = run_.store.utc(t);
    const std::int32_t limit = tracklog::wholeNumberField(run_.fields, Field::OverSpeed);
    const SpeedUnit unit = tracklog::speedUnitOf(run_.fields.text(Field::SpeedUnit));
    switch (innerPlacemarkFor(p, unit, limit, run_.stats.maxSpeed)) {
      case InnerPlacemark::MaxSpeed:
        if (path != nullptr) kml::writeMaxSpeedPlacemark(*path, context_, p);
        if (points != nullptr) kml::writeMaxSpeedPlacemark(*points, context_, p);
        break;
      case InnerPlacemark::OverSpeed:
        if (path != nullptr) kml::writeTrackPointPlacemark(*path, context_, p);
        if (points != nullptr) kml::writeTrackPointPlacemark(*points, context_, p);
        break;
      case InnerPlacemark::Label:
        if (points != nullptr) kml::writeLabelPointPlacemark(*points, context_, p);
        break;
      case InnerPlacemark::None:
        break;
    }
  }
}

void TripKml::writePlacemarks(TextBuffer* path, TextBuffer* points,
                              const std::function<void(const Leg&)>& afterStop) const {
  if (legs_.empty()) return;
  const tracklog::TrackStore& store = run_.store;
  if (path != nullptr) {
    kml::writeBeginPlacemark(*path, context_, store.utc(0));
    kml::writeStartPlacemark(*path, context_, store.utc(0), 1);
  }
  if (points != nullptr) {
    kml::writeBeginPlacemark(*points, context_, store.utc(0));
    kml::writePointFolderStart(*points, context_, store.utc(0), 1);
  }
  for (const Leg& leg : legs_) {
    writeInnerPlacemarks(leg, path, points);
    const TrackPoint& stop = store.utc(leg.last);
    const TrackPoint& begin = store.utc(leg.first);
    if (path != nullptr) {
      kml::writeStopPlacemark(*path, context_, stop, begin, mileageKm(leg), leg.number, stopSecondsOf(leg));
    }
    if (points != nullptr) {
      kml::writeStopPlacemark(*points, context_, stop, begin, mileageKm(leg), leg.number, stopSecondsOf(leg));
      points->line("</Folder>");
    }
    if (afterStop) afterStop(leg);
    if (leg.endsInStop) {
      const TrackPoint& departure = store.utc(leg.last + 1);
      if (path != nullptr) kml::writeStartPlacemark(*path, context_, departure, leg.number + 1);
      if (points != nullptr) kml::writePointFolderStart(*points, context_, departure, leg.number + 1);
    }
  }
}

void TripKml::writeEnd(TextBuffer& document) const {
  const tracklog::TrackStore& store = run_.store;
  if (store.pointCount > 0) {
    kml::writeEndPlacemark(document, context_, store.utc(store.pointCount - 1), store.utc(0),
                           run_.stats.totalDistance * 0.001);
    kml::writeDocumentTail(document);
  }
}

void TripKml::checkLimit() const {
  const bool anyInnerPoint =
      std::any_of(legs_.begin(), legs_.end(), [](const Leg& leg) { return leg.last > leg.first + 1; });
  if (anyInnerPoint) tracklog::wholeNumberField(run_.fields, Field::OverSpeed);
}

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
  const TripKml trip(run, legs);
  TextBuffer path(outputs.pathKml.get());
  TextBuffer points(outputs.pointKml.get());
  trip.writePathHead(path);
  trip.writePointHead(points);
  trip.writeLegFiles(path);
  trip.writePlacemarks(&path, &points, [&](const Leg& leg) {
    path.flush();
    points.flush();
    writeReportBlock(leg);
  });
}

void closeTripKml(ReportOutputs& outputs, const RunContext& run) {
  const std::vector<Leg> noLegs;  // the End placemark needs none
  const TripKml trip(run, noLegs);
  {
    TextBuffer points(outputs.pointKml.get());
    trip.writeEnd(points);
  }
  outputs.pointKml.closeOrFail();
  {
    TextBuffer path(outputs.pathKml.get());
    trip.writeEnd(path);
  }
  outputs.pathKml.closeOrFail();
}

}  // namespace tellurix::report
