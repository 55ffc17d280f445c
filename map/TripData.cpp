#include "TripData.h"

namespace tellurix::map {

TripData tripDataOf(const report::ReportSession& session) {
  TripData trip;
  const tracklog::TrackStore& store = session.store;
  if (!session.results.done || store.pointCount == 0) return trip;
  trip.points.assign(store.localPoints(), store.localPoints() + store.pointCount);
  trip.results = session.results;
  trip.stats = session.stats;
  trip.figures = report::travelFigures(session.stats, store);
  trip.zoneLabel = session.zone.label;
  trip.names = session.names;
  return trip;
}

}  // namespace tellurix::map
