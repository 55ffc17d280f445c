#include "TrackPath.h"

#include "PlacemarkParts.h"

namespace tellurix::kml {

using tracklog::Fixed;
using tracklog::TextBuffer;
using tracklog::TextOut;
using tracklog::TrackPoint;

void writePathHead(TextOut out, std::uint32_t number) {
  TextBuffer& b = out.buffer();
  b.line("\t        <Placemark>");
  b.line("\t\t<name>Path ", number, "</name>");
  b.line("\t\t<styleUrl>#linestyle</styleUrl>");
  b.line("\t\t<LineString>");
  b.line("\t\t\t\t\t<extrude>1</extrude>");
  b.line("\t\t\t\t\t<tessellate>1</tessellate>");
  b.line("\t\t\t\t\t<coordinates>");
}

void writePathCoordinate(TextOut out, const TrackPoint& point) {
  out.buffer().line("\t\t                          ", Fixed{point.longitude, 6}, ",",
                    Fixed{point.latitude, 6}, ",", Fixed{point.altitude, 1});
}

void writePathTail(TextOut out, const TrackPoint& firstPoint, const TrackPoint& lastPoint) {
  TextBuffer& b = out.buffer();
  b.line("\t\t\t\t\t</coordinates>");
  b.line("  \t\t</LineString>");
  b.line("  \t\t<TimeSpan>");
  b.line("  \t  \t<begin>", parts::UtcStamp{firstPoint}, "</begin>");
  b.line("  \t\t<end>", parts::UtcStamp{lastPoint}, "</end>");
  b.line("  \t\t</TimeSpan>");
  b.line("  \t\t</Placemark>");
}

}  // namespace tellurix::kml
