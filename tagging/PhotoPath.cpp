#include "PhotoPath.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "PhotoCommands.h"
#include "PhotoGeotag.h"
#include "PhotoTimeKey.h"
#include "kml/KmlWriter.h"
#include "report/Legs.h"
#include "report/TripKml.h"
#include "tracklog/TextFile.h"

namespace tellurix::tagging {
namespace {

using report::Leg;
using tracklog::Field;
using tracklog::TrackPoint;

std::string degreesText(double degrees) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", degrees);
  return text;
}

std::uint32_t stopSecondsOf(const Leg& leg) {
  return leg.endsInStop ? static_cast<std::uint32_t>(leg.stopSeconds) : 0;
}

// One pass over the legs, writing the document and handing out the photos in date order.
class PhotoPathWalk {
 public:
  PhotoPathWalk(std::FILE* out, const std::vector<PhotoEntry>& photos, report::ReportSession& session,
                tracklog::FieldSource& fields, TaggingUi& ui)
      : out_(out),
        photos_(photos),
        store_(session.store),
        stats_(session.stats),
        fields_(fields),
        context_{fields, session.zone},
        ui_(ui) {}
  PhotoPathWalk(const PhotoPathWalk&) = delete;
  PhotoPathWalk& operator=(const PhotoPathWalk&) = delete;

  std::vector<PhotoPlacement> write(const std::string& documentName) {
    kml::writeLabelDocumentHead(out_, documentName);
    kml::writeBeginPlacemark(out_, context_, store_.utc(0));
    kml::writePointFolderStart(out_, context_, store_.utc(0), 1);
    const std::vector<Leg> legs = report::findLegs(store_.localPoints(), store_.pointCount, fields_);
    for (const Leg& leg : legs) {
      ui_.processEvents();
      for (std::uint32_t v = leg.first + 1; v < leg.last; ++v) {
        ui_.processEvents();
        placePhotos(v, v);
        writePointPlacemark(store_.utc(v));
      }
      kml::writeStopPlacemark(out_, context_, store_.utc(leg.last), store_.utc(leg.first),
                              leg.mileage * 0.001, leg.number, stopSecondsOf(leg));
      if (leg.endsInStop) {
        // The photos up to the departure go where the leg's body ended, normally the stop
        // point; after a leg of one point that is the departure point itself.
        placePhotos(leg.last + 1, std::max(leg.first + 1, leg.last));
        tracklog::writeText(out_, "</Folder>");
        kml::writePointFolderStart(out_, context_, store_.utc(leg.last + 1), leg.number + 1);
      } else {
        tracklog::writeText(out_, "</Folder>");
        kml::writeEndPlacemark(out_, context_, store_.utc(store_.pointCount - 1), store_.utc(0),
                               stats_.totalDistance * 0.001);
        kml::writeDocumentTail(out_);
      }
    }
    return std::move(placements_);
  }

 private:
  // Every waiting photo up to the time of point `compared` (report time) goes to the position
  // of point `at`.
  void placePhotos(std::uint32_t compared, std::uint32_t at) {
    const double key = trackTimeKey(store_.local(compared));
    while (next_ < photos_.size()) {
      ui_.processEvents();
      const PhotoEntry& photo = photos_[next_];
      // A date that is no number fails here, when the photo is first compared.
      if (!nextKey_) nextKey_ = photoTimeKey(photo.date);
      if (*nextKey_ > key) return;
      const TrackPoint& point = store_.utc(at);
      kml::writePhotoPlacemark(out_, photo.name, degreesText(point.latitude), degreesText(point.longitude),
                               dateKeyText(photo.date));
      placements_.push_back({photo.name, at});
      ++next_;
      nextKey_.reset();
    }
  }

  // The fastest point of the run, an over-speed point or a label, with the limit and the unit
  // read at every point as the report does.
  void writePointPlacemark(const TrackPoint& point) {
    const std::int32_t limit = tracklog::wholeNumberField(fields_, Field::OverSpeed);
    const tracklog::SpeedUnit unit = tracklog::speedUnitOf(fields_.text(Field::SpeedUnit));
    switch (report::innerPlacemarkFor(point, unit, limit, stats_.maxSpeed)) {
      case report::InnerPlacemark::MaxSpeed:
        kml::writeMaxSpeedPlacemark(out_, context_, point);
        break;
      case report::InnerPlacemark::OverSpeed:
        kml::writeTrackPointPlacemark(out_, context_, point);
        break;
      case report::InnerPlacemark::Label:
        kml::writeLabelPointPlacemark(out_, context_, point);
        break;
      case report::InnerPlacemark::None:
        break;
    }
  }

  std::FILE* out_;
  const std::vector<PhotoEntry>& photos_;
  const tracklog::TrackStore& store_;
  const report::TravelStats& stats_;
  tracklog::FieldSource& fields_;
  const kml::KmlContext context_;
  TaggingUi& ui_;
  std::size_t next_ = 0;
  std::optional<double> nextKey_;
  std::vector<PhotoPlacement> placements_;
};

}  // namespace

std::string makeCompleteText(std::size_t notTagged) {
  if (notTagged == 0) return "Make complete";
  return "Make complete (" + std::to_string(notTagged) + (notTagged == 1 ? " photo" : " photos") +
         " not tagged)";
}

std::string photoPathFileOf(const report::ReportNames& names) {
  return names.reportFolder + "photo_" + names.pointKmlName;
}

PhotoPathResult makePhotoPath(PhotoList& list, report::ReportSession& session, tracklog::FieldSource& fields,
                              TaggingUi& ui, PhotoPositions positions) {
  if (session.store.pointCount == 0) return {PhotoPathOutcome::NoTrack, {}, {}};
  ui.setStatusText("Integrating pictures with trip track ...");
  ui.processEvents();
  list.sortBy(PhotoColumn::Date);
  // The walk works on the photos as sorted here: whatever runs while it processes events, it
  // hands out every photo at most once and never one that is gone.
  const std::vector<PhotoEntry> photos = list.rows();

  tracklog::OutputFile file;
  tracklog::openOrFail(file, photoPathFileOf(session.names), "file write open error");
  PhotoPathWalk walk(file.get(), photos, session, fields, ui);
  PhotoPathResult result{PhotoPathOutcome::Complete, walk.write("photo_" + session.names.pointKmlName), {}};
  file.closeOrFail();
  if (positions == PhotoPositions::Write) {
    for (const PhotoPlacement& placed : result.placements) {
      ui.processEvents();
      const std::string copy = photoCopyPath(session.names, placed.name);
      if (writePhotoPosition(copy, session.store.utc(placed.point)) != GeotagOutcome::Tagged) {
        result.notTagged.push_back(placed.name);
      }
    }
  }
  ui.setStatusText(makeCompleteText(result.notTagged.size()));
  return result;
}

}  // namespace tellurix::tagging
