#include "Markers.h"

#include "MarkerTexts.h"

namespace tellurix::map {
namespace {

using tracklog::calendarTimeOf;

class TripMarkerBuilder {
 public:
  TripMarkerBuilder(const TripData& trip, const TrackGeometry& track)
      : trip_(trip), track_(track), unit_(shownUnit(trip.results.unit)) {}

  Marker at(MarkerKind kind, std::uint32_t index, std::vector<std::string> lines) const {
    return {kind, track_.point(index), index, 0, std::move(lines)};
  }
  [[nodiscard]] std::string time(std::uint32_t index) const {
    return timeText(calendarTimeOf(trip_.points[index]));
  }
  [[nodiscard]] std::string speed(std::uint32_t index) const {
    return speedText(tracklog::wholeSpeed(trip_.points[index]), unit_);
  }
  [[nodiscard]] std::string period(const report::Leg& leg) const {
    return periodText(calendarTimeOf(trip_.points[leg.first]), calendarTimeOf(trip_.points[leg.last]));
  }

  Marker stop(const report::Leg& leg) const {
    Marker m = at(MarkerKind::Stop, leg.last,
                  {"Stop (" + std::to_string(leg.number) + "):", time(leg.last), speed(leg.last),
                   stopForText(leg.stopSeconds), period(leg), mileageText(leg.mileage, unit_)});
    m.number = static_cast<int>(leg.number);
    return m;
  }

  Marker end(const report::Leg& finalLeg) const {
    const auto last = static_cast<std::uint32_t>(trip_.points.size() - 1);
    return at(MarkerKind::End, last,
              {"End", time(last), speed(last), period(finalLeg), mileageText(finalLeg.mileage, unit_)});
  }

  Marker maxSpeed() const {
    const std::uint32_t i = trip_.results.maxSpeedPoint;
    return at(MarkerKind::MaxSpeed, i, {"Max. Speed", time(i), speedText(trip_.stats.maxSpeed, unit_)});
  }

 private:
  const TripData& trip_;
  const TrackGeometry& track_;
  tracklog::SpeedUnit unit_;
};

}  // namespace

MarkerLayer tripMarkers(const TripData& trip, const TrackGeometry& track) {
  MarkerLayer layer{kTripMarkerLayer, {}};
  if (trip.points.empty() || trip.results.legs.empty()) return layer;
  const TripMarkerBuilder build(trip, track);
  layer.markers.push_back(build.maxSpeed());
  for (const report::Leg& leg : trip.results.legs) {
    if (leg.endsInStop) layer.markers.push_back(build.stop(leg));
  }
  layer.markers.push_back(build.at(MarkerKind::Begin, 0, {"Begin", build.time(0), build.speed(0)}));
  layer.markers.push_back(build.end(trip.results.legs.back()));
  return layer;
}

}  // namespace tellurix::map
