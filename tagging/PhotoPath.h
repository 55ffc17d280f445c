#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PhotoList.h"
#include "TaggingUi.h"
#include "report/ReportSession.h"
#include "tracklog/FieldSource.h"

namespace tellurix::tagging {

// The photo path document: beside the report's own point document, "photo_" + its name.
std::string photoPathFileOf(const report::ReportNames& names);

// A photo written into the photo path, and the track point whose position it was given.
struct PhotoPlacement {
  std::string name;
  std::uint32_t point = 0;  // index into the track store's points

  friend bool operator==(const PhotoPlacement&, const PhotoPlacement&) = default;
};

enum class PhotoPathOutcome {
  Complete,  // "Make complete"
  NoTrack,   // the last report run left no points: nothing was sorted or written
};

// Whether Make Photo Path also writes each placed photo's position into its copy.
enum class PhotoPositions { Leave, Write };

struct PhotoPathResult {
  PhotoPathOutcome outcome = PhotoPathOutcome::Complete;
  std::vector<PhotoPlacement> placements;  // in the document's order, which is date order
  std::vector<std::string> notTagged;      // placed photos whose copies could not take their position
};

// "Make complete", with the number of copies that could not be tagged when there are any.
std::string makeCompleteText(std::size_t notTagged);

// Make Photo Path: sorts the list by date, then writes the point document of the last report
// again (Begin, a folder per leg with its Start, point and Stop placemarks, End) with every
// photo placed at the first point of the walk at or after its time. Photos later than the
// walk's last compared point are left out. The unit, over-speed limit and stop period are read
// from `fields` as they stand now.
//
// Throws FatalError("file write open error", 1) when the document cannot be created, and
// ConversionError for a photo date, stop period or limit that is not a number; the document
// then stays as far as it was written. Processes events once per point and per photo compared.
//
// With PhotoPositions::Write, once the document is complete every placed photo's copy in the
// photo folder gets the position and UTC time of its point (processing events once per
// photo). A copy that cannot take it is listed in `notTagged` and the command goes on.
PhotoPathResult makePhotoPath(PhotoList& list, report::ReportSession& session, tracklog::FieldSource& fields,
                              TaggingUi& ui, PhotoPositions positions = PhotoPositions::Leave);

}  // namespace tellurix::tagging
