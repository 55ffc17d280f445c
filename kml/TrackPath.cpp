#include "TrackPath.h"

#include "Decimal.h"
#include "tracklog/TextFile.h"

namespace tellurix::kml {

using tracklog::TrackPoint;
using tracklog::writeLine;
using tracklog::writeText;

void writePathHead(std::FILE* out, std::uint32_t number) {
  writeText(out, "\t        <Placemark>");
  writeLine(out, "\t\t<name>Path %u</name>", number);
  writeText(out, "\t\t<styleUrl>#linestyle</styleUrl>");
  writeText(out, "\t\t<LineString>");
  writeText(out, "\t\t\t\t\t<extrude>1</extrude>");
  writeText(out, "\t\t\t\t\t<tessellate>1</tessellate>");
  writeText(out, "\t\t\t\t\t<coordinates>");
}

void writePathCoordinate(std::FILE* out, const TrackPoint& point) {
  writeLine(out, "\t\t                          %s,%s,%s", Decimal(point.longitude, 6).c_str(),
            Decimal(point.latitude, 6).c_str(), Decimal(point.altitude, 1).c_str());
}

void writePathTail(std::FILE* out, const TrackPoint& firstPoint, const TrackPoint& lastPoint) {
  writeText(out, "\t\t\t\t\t</coordinates>");
  writeText(out, "  \t\t</LineString>");
  writeText(out, "  \t\t<TimeSpan>");
  writeLine(out, "  \t  \t<begin>%4d-%02d-%02dT%02d:%02d:%02dZ</begin>", firstPoint.year, firstPoint.month,
            firstPoint.day, firstPoint.hour, firstPoint.minute, firstPoint.second);
  writeLine(out, "  \t\t<end>%4d-%02d-%02dT%02d:%02d:%02dZ</end>", lastPoint.year, lastPoint.month,
            lastPoint.day, lastPoint.hour, lastPoint.minute, lastPoint.second);
  writeText(out, "  \t\t</TimeSpan>");
  writeText(out, "  \t\t</Placemark>");
}

}  // namespace tellurix::kml
