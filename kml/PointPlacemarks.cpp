#include "PointPlacemarks.h"

#include "KmlText.h"
#include "PlacemarkParts.h"
#include "tracklog/TextFile.h"

namespace tellurix::kml {

using parts::TimeStampForm;
using tracklog::TrackPoint;
using tracklog::writeLine;
using tracklog::writeText;

void writeBeginPlacemark(std::FILE* out, const KmlContext& context, const TrackPoint& point) {
  writeText(out, "\t<Placemark>");
  writeText(out, "\t<name>Begin</name>");
  parts::writePointDescription(out, context, point);
  parts::writePlacemarkEnd(out, point, TimeStampForm::Begin);
}

void writeStartPlacemark(std::FILE* out, const KmlContext& context, const TrackPoint& point,
                         std::uint32_t number) {
  writeText(out, "\t<Placemark>");
  writeLine(out, "\t<name>Start %u</name>", number);
  parts::writePointDescription(out, context, point);
  parts::writePlacemarkEnd(out, point, TimeStampForm::Start);
}

void writePointFolderStart(std::FILE* out, const KmlContext& context, const TrackPoint& point,
                           std::uint32_t number) {
  writeText(out, "<Folder>");
  writeLine(out, "<name>Point %u</name>", number);
  writeText(out, "<open>1</open>");
  writeStartPlacemark(out, context, point, number);
}

void writeLegStartPlacemark(std::FILE* out, const KmlContext& context, const TrackPoint& point,
                            std::uint32_t number) {
  writeText(out, "\t<Placemark>");
  writeLine(out, "    <name>Start%u</name>", number);
  parts::writePointDescription(out, context, point);
  parts::writePlacemarkEnd(out, point, TimeStampForm::Start);
}

void writeTrackPointPlacemark(std::FILE* out, const KmlContext& context, const TrackPoint& point) {
  writeText(out, "\t<Placemark>");
  parts::writePointDescription(out, context, point);
  parts::writePlacemarkEnd(out, point, TimeStampForm::Plain, kTrackPointIcon);
}

void writeMaxSpeedPlacemark(std::FILE* out, const KmlContext& context, const TrackPoint& point) {
  writeText(out, "\t<Placemark>");
  writeText(out, "\t<name>MaxSpeed</name>");
  writeText(out, "    <styleUrl>#linestyle</styleUrl>");
  parts::writePointDescription(out, context, point);
  parts::writePlacemarkEnd(out, point, TimeStampForm::Plain, kMaxSpeedIcon);
}

void writeLabelPointPlacemark(std::FILE* out, const KmlContext& context, const TrackPoint& point) {
  writeText(out, "\t<Placemark>");
  writeText(out, "\t<styleUrl>LabelStyle</styleUrl>");
  parts::writePointDescription(out, context, point);
  parts::writePlacemarkEnd(out, point, TimeStampForm::Label);
}

}  // namespace tellurix::kml
