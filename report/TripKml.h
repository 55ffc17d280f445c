#pragma once

#include <functional>
#include <vector>

#include "Legs.h"
#include "ReportOutputs.h"
#include "RunContext.h"
#include "kml/KmlContext.h"
#include "tracklog/FieldSource.h"
#include "tracklog/TextBuffer.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::report {

// The parts of the trip path, point and leg KML files, so that each document can be written
// on its own, side by side with the others.
class TripKml {
 public:
  TripKml(const RunContext& run, const std::vector<Leg>& legs);

  // The heads of the trip path and point documents.
  void writePathHead(tracklog::TextBuffer& path) const;
  void writePointHead(tracklog::TextBuffer& points) const;
  // One document per leg with its path, Start and Stop placemarks; the same path goes into the
  // trip path document.
  void writeLegFiles(tracklog::TextBuffer& path) const;
  // Begin, then leg by leg the Start, inner and Stop placemarks, into either document or both
  // (null for a document not written); `afterStop` runs once per leg after its Stop.
  void writePlacemarks(tracklog::TextBuffer* path, tracklog::TextBuffer* points,
                       const std::function<void(const Leg&)>& afterStop = {}) const;
  // The End placemark and the tail of either document.
  void writeEnd(tracklog::TextBuffer& document) const;

  // Reads the over-speed limit if the placemarks will: throws the ConversionError they would
  // meet at the first inner point.
  void checkLimit() const;

 private:
  void writeLegFile(const Leg& leg, tracklog::TextBuffer& path) const;
  void writeInnerPlacemarks(const Leg& leg, tracklog::TextBuffer* path, tracklog::TextBuffer* points) const;

  const RunContext& run_;
  const std::vector<Leg>& legs_;
  kml::KmlContext context_;
};

// The three documents in the order the run has always written them, with the report text's
// block of each leg in between (`writeReportBlock`).
void writeTripKml(ReportOutputs& outputs, const RunContext& run, const std::vector<Leg>& legs,
                  const std::function<void(const Leg&)>& writeReportBlock);

// How an inner point of a leg is marked: the run's fastest (whether over the limit or not), an
// over-speed point, or a plain label; nothing at all for a unit text other than "KPH" and "MPH".
// The limit is a whole number in the unit shown.
enum class InnerPlacemark { None, MaxSpeed, OverSpeed, Label };
InnerPlacemark innerPlacemarkFor(const tracklog::TrackPoint& point, tracklog::SpeedUnit unit,
                                 std::int32_t limit, int maxSpeed);

// The End placemarks and the tails of the trip path and point KML files, which it closes.
void closeTripKml(ReportOutputs& outputs, const RunContext& run);

}  // namespace tellurix::report
