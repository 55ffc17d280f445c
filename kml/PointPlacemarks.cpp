#include "PointPlacemarks.h"

#include "KmlText.h"
#include "PlacemarkParts.h"

namespace tellurix::kml {

using parts::TimeStampForm;
using tracklog::TextBuffer;
using tracklog::TextOut;
using tracklog::TrackPoint;

void writeBeginPlacemark(TextOut out, const KmlContext& context, const TrackPoint& point) {
  TextBuffer& b = out.buffer();
  b.line("\t<Placemark>");
  b.line("\t<name>Begin</name>");
  parts::writePointBody(b, context, point, TimeStampForm::Begin);
}

void writeStartPlacemark(TextOut out, const KmlContext& context, const TrackPoint& point,
                         std::uint32_t number) {
  TextBuffer& b = out.buffer();
  b.line("\t<Placemark>");
  b.line("\t<name>Start ", number, "</name>");
  parts::writePointBody(b, context, point, TimeStampForm::Start);
}

void writePointFolderStart(TextOut out, const KmlContext& context, const TrackPoint& point,
                           std::uint32_t number) {
  TextBuffer& b = out.buffer();
  b.line("<Folder>");
  b.line("<name>Point ", number, "</name>");
  b.line("<open>1</open>");
  writeStartPlacemark(b, context, point, number);
}

void writeLegStartPlacemark(TextOut out, const KmlContext& context, const TrackPoint& point,
                            std::uint32_t number) {
  TextBuffer& b = out.buffer();
  b.line("\t<Placemark>");
  b.line("    <name>Start", number, "</name>");
  parts::writePointBody(b, context, point, TimeStampForm::Start);
}

void writeTrackPointPlacemark(TextOut out, const KmlContext& context, const TrackPoint& point) {
  TextBuffer& b = out.buffer();
  b.line("\t<Placemark>");
  parts::writePointBody(b, context, point, TimeStampForm::Plain, kTrackPointIcon);
}

void writeMaxSpeedPlacemark(TextOut out, const KmlContext& context, const TrackPoint& point) {
  TextBuffer& b = out.buffer();
  b.line("\t<Placemark>");
  b.line("\t<name>MaxSpeed</name>");
  b.line("    <styleUrl>#linestyle</styleUrl>");
  parts::writePointBody(b, context, point, TimeStampForm::Plain, kMaxSpeedIcon);
}

void writeLabelPointPlacemark(TextOut out, const KmlContext& context, const TrackPoint& point) {
  TextBuffer& b = out.buffer();
  b.line("\t<Placemark>");
  b.line("\t<styleUrl>LabelStyle</styleUrl>");
  parts::writePointBody(b, context, point, TimeStampForm::Label);
}

}  // namespace tellurix::kml
