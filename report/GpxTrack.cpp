#include "GpxTrack.h"

#include <libxml/xmlwriter.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "tracklog/Calendar.h"
#include "tracklog/TextBuffer.h"
#include "tracklog/TextFile.h"

namespace tellurix::report {
namespace {

using tracklog::Fixed;
using tracklog::TextBuffer;
using tracklog::TrackPoint;
using tracklog::ZeroPadded;

constexpr const char* kGpxNamespace = "http://www.topografix.com/GPX/1/1";
constexpr const char* kSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
constexpr const char* kSchemaLocation =
    "http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd";
// The logger stores 2^-23 degree steps; nine decimals keep every one of them apart.
constexpr int kCoordinateDecimals = 9;

const xmlChar* xml(const char* text) {
  return reinterpret_cast<const xmlChar*>(text);
}

// "<name>text</name>" with the text escaped by libxml2's text writer; nothing when the writer
// cannot be had.
std::optional<std::string> textElement(const char* name, const std::string& text) {
  xmlBufferPtr buffer = xmlBufferCreate();
  if (buffer == nullptr) return std::nullopt;
  std::optional<std::string> element;
  if (xmlTextWriterPtr writer = xmlNewTextWriterMemory(buffer, 0)) {
    const bool written = xmlTextWriterWriteElement(writer, xml(name), xml(text.c_str())) >= 0;
    xmlFreeTextWriter(writer);  // flushes into the buffer
    if (written)
      element.emplace(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                      static_cast<std::size_t>(xmlBufferLength(buffer)));
  }
  xmlBufferFree(buffer);
  return element;
}

bool allowedInXml(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// The track name carries the user id as the logger gave it. A byte outside a valid UTF-8
// sequence, or a character XML does not allow, would leave the whole document unreadable, so
// each becomes U+FFFD.
std::string xmlCharacters(std::string_view text) {
  static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC0 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF8 ? 4
                                             : 0;
    bool valid = length != 0 && i + length <= text.size();
    char32_t c = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3FU);
    }
    if (valid && c >= kShortest[length] && !(c >= 0xD800 && c <= 0xDFFF) && allowedInXml(c)) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      out += "\xEF\xBF\xBD";
      i += 1;
    }
  }
  return out;
}

// xsd:dateTime has no room for the out-of-range fields a damaged record can carry (month 13,
// minute 60): such a point keeps its place in the track and goes without a time.
bool hasValidTime(const TrackPoint& p) {
  return p.month >= 1 && p.month <= 12 && p.day >= 1 && p.day <= tracklog::monthLength(p.year, p.month) &&
         p.hour < 24 && p.minute < 60 && p.second < 60;
}

// The child elements a waypoint and a track point share: <ele> and <time>, each when the
// point has one.
struct PositionChildren {
  explicit PositionChildren(const TrackPoint& p)
      : point(p), ele(std::isfinite(p.altitude)), time(hasValidTime(p)) {}

  [[nodiscard]] bool empty() const { return !ele && !time; }
  void write(TextBuffer& out, std::string_view indent) const {
    const TrackPoint& p = point;
    if (ele) {
      char text[64];
      const char* end = std::to_chars(text, text + sizeof text, p.altitude, std::chars_format::fixed).ptr;
      out.add(indent, "<ele>", std::string_view(text, static_cast<std::size_t>(end - text)), "</ele>\n");
    }
    if (time) {
      out.add(indent, "<time>", ZeroPadded{p.year, 4}, '-', ZeroPadded{p.month, 2}, '-', ZeroPadded{p.day, 2},
              'T', ZeroPadded{p.hour, 2}, ':', ZeroPadded{p.minute, 2}, ':', ZeroPadded{p.second, 2},
              "Z</time>\n");
    }
  }

  const TrackPoint& point;
  bool ele;
  bool time;
};

// The lat and lon attributes.
struct Coordinates {
  const TrackPoint& point;
  void appendTo(TextBuffer& out) const {
    out.append(" lat=\"", Fixed{point.latitude, kCoordinateDecimals}, "\" lon=\"",
               Fixed{point.longitude, kCoordinateDecimals}, "\"");
  }
};

// The document is laid out as libxml2's text writer indents it: two spaces a level, one
// element a line, an element without children closed in its start tag.
void writeStopWaypoint(TextBuffer& out, const TrackPoint& stop, const std::string& nameElement) {
  out.add("  <wpt", Coordinates{stop}, ">\n");
  PositionChildren(stop).write(out, "    ");
  out.add("    ", nameElement, "\n");
  out.add("  </wpt>\n");
}

// One <trkpt>: every track point of the document is written here.
void writeTrackPoint(TextBuffer& out, const TrackPoint& p) {
  const PositionChildren children(p);
  if (children.empty()) {
    out.add("      <trkpt", Coordinates{p}, "/>\n");
    return;
  }
  out.add("      <trkpt", Coordinates{p}, ">\n");
  children.write(out, "        ");
  out.add("      </trkpt>\n");
}

void writeSegment(TextBuffer& out, const tracklog::TrackStore& store, const Leg& leg) {
  out.add("    <trkseg>\n");
  for (std::uint32_t t = leg.first; t <= leg.last; ++t) writeTrackPoint(out, store.utc(t));
  out.add("    </trkseg>\n");
}

}  // namespace

bool writeGpxTrack(std::FILE* out, const tracklog::TrackStore& store, const std::vector<Leg>& legs,
                   std::string_view trackName) {
  const std::optional<std::string> name = textElement("name", xmlCharacters(trackName));
  if (!name) return false;
  TextBuffer text(out);
  text.add(R"(<?xml version="1.0" encoding="UTF-8"?>)", "\n");
  text.add(R"(<gpx version="1.1" creator="Tellurix" xmlns=")", kGpxNamespace, R"(" xmlns:xsi=")",
           kSchemaInstance, R"(" xsi:schemaLocation=")", kSchemaLocation, "\">\n");
  // Waypoints come before tracks in a GPX document.
  for (const Leg& leg : legs) {
    if (!leg.endsInStop) continue;
    const std::optional<std::string> stopName = textElement("name", "Stop " + std::to_string(leg.number));
    if (!stopName) return false;
    writeStopWaypoint(text, store.utc(leg.last), *stopName);
  }
  text.add("  <trk>\n");
  text.add("    ", *name, "\n");
  for (const Leg& leg : legs) writeSegment(text, store, leg);
  text.add("  </trk>\n");
  text.add("</gpx>\n");
  return text.flush();
}

std::string gpxTrackPath(const ReportNames& names) {
  return names.reportFolder + names.reportBaseName + "-track.gpx";
}

bool writeTripGpx(const RunContext& run, const std::vector<Leg>& legs) {
  const std::string path = gpxTrackPath(run.names);
  tracklog::OutputFile file;
  if (!file.open(path)) return false;
  bool written = writeGpxTrack(file.get(), run.store, legs, run.names.pathKmlName);
  written = file.close() && written;
  if (!written) std::remove(path.c_str());
  return written;
}

}  // namespace tellurix::report
