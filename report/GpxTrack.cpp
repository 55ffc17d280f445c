#include "GpxTrack.h"

#include <libxml/xmlIO.h>
#include <libxml/xmlwriter.h>

#include <charconv>
#include <cmath>
#include <cstdio>

#include "kml/Decimal.h"
#include "tracklog/Calendar.h"
#include "tracklog/TextFile.h"

namespace tellurix::report {
namespace {

using tracklog::TrackPoint;

constexpr const char* kGpxNamespace = "http://www.topografix.com/GPX/1/1";
constexpr const char* kSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
constexpr const char* kSchemaLocation =
    "http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd";
// The logger stores 2^-23 degree steps; nine decimals keep every one of them apart.
constexpr int kCoordinateDecimals = 9;

const xmlChar* xml(const char* text) {
  return reinterpret_cast<const xmlChar*>(text);
}

// One document on an xmlTextWriter over the caller's FILE. The writer's calls return a
// negative count once the output fails: the first failure is kept and every later call skipped.
class GpxWriter {
 public:
  explicit GpxWriter(std::FILE* out) {
    xmlOutputBufferPtr buffer = xmlOutputBufferCreateFile(out, nullptr);  // leaves `out` open
    if (buffer == nullptr) return;
    writer_ = xmlNewTextWriter(buffer);
    if (writer_ == nullptr) {
      xmlOutputBufferClose(buffer);
      return;
    }
    ok_ = true;
    check(xmlTextWriterSetIndent(writer_, 1));
    check(xmlTextWriterSetIndentString(writer_, xml("  ")));
  }
  ~GpxWriter() {
    if (writer_ != nullptr) xmlFreeTextWriter(writer_);
  }
  GpxWriter(const GpxWriter&) = delete;
  GpxWriter& operator=(const GpxWriter&) = delete;
  GpxWriter(GpxWriter&&) = delete;
  GpxWriter& operator=(GpxWriter&&) = delete;

  void startDocument() { check(xmlTextWriterStartDocument(writer_, "1.0", "UTF-8", nullptr)); }
  void endDocument() {
    check(xmlTextWriterEndDocument(writer_));
    check(xmlTextWriterFlush(writer_));
  }
  void start(const char* name) { check(xmlTextWriterStartElement(writer_, xml(name))); }
  void end() { check(xmlTextWriterEndElement(writer_)); }
  void attribute(const char* name, const char* value) {
    check(xmlTextWriterWriteAttribute(writer_, xml(name), xml(value)));
  }
  // The text is escaped by the writer.
  void element(const char* name, const char* text) {
    check(xmlTextWriterWriteElement(writer_, xml(name), xml(text)));
  }

  [[nodiscard]] bool ok() const { return ok_; }

 private:
  void check(int result) {
    if (ok_ && result < 0) ok_ = false;
  }

  xmlTextWriterPtr writer_ = nullptr;
  bool ok_ = false;
};

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

// lat and lon attributes, <ele> and <time>: the part a waypoint and a track point share.
void writePosition(GpxWriter& w, const TrackPoint& p) {
  w.attribute("lat", kml::Decimal(p.latitude, kCoordinateDecimals).c_str());
  w.attribute("lon", kml::Decimal(p.longitude, kCoordinateDecimals).c_str());
  if (std::isfinite(p.altitude)) {
    char ele[64];
    const auto result = std::to_chars(ele, ele + sizeof ele - 1, p.altitude, std::chars_format::fixed);
    *result.ptr = '\0';
    w.element("ele", ele);
  }
  if (hasValidTime(p)) {
    char time[32];
    std::snprintf(time, sizeof time, "%04u-%02u-%02uT%02u:%02u:%02uZ", unsigned{p.year}, unsigned{p.month},
                  unsigned{p.day}, unsigned{p.hour}, unsigned{p.minute}, unsigned{p.second});
    w.element("time", time);
  }
}

void writeStopWaypoint(GpxWriter& w, const TrackPoint& stop, std::uint32_t number) {
  w.start("wpt");
  writePosition(w, stop);
  const std::string name = "Stop " + std::to_string(number);
  w.element("name", name.c_str());
  w.end();
}

void writeSegment(GpxWriter& w, const tracklog::TrackStore& store, const Leg& leg) {
  w.start("trkseg");
  for (std::uint32_t t = leg.first; t <= leg.last; ++t) {
    w.start("trkpt");
    writePosition(w, store.utc(t));
    w.end();
  }
  w.end();
}

}  // namespace

bool writeGpxTrack(std::FILE* out, const tracklog::TrackStore& store, const std::vector<Leg>& legs,
                   std::string_view trackName) {
  GpxWriter w(out);
  w.startDocument();
  w.start("gpx");
  w.attribute("version", "1.1");
  w.attribute("creator", "Tellurix");
  w.attribute("xmlns", kGpxNamespace);
  w.attribute("xmlns:xsi", kSchemaInstance);
  w.attribute("xsi:schemaLocation", kSchemaLocation);
  // Waypoints come before tracks in a GPX document.
  for (const Leg& leg : legs) {
    if (leg.endsInStop) writeStopWaypoint(w, store.utc(leg.last), leg.number);
  }
  w.start("trk");
  w.element("name", xmlCharacters(trackName).c_str());
  for (const Leg& leg : legs) writeSegment(w, store, leg);
  w.end();
  w.end();
  w.endDocument();
  return w.ok();
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
