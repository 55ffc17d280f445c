#include "PhotoGeotag.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exiv2/exiv2.hpp>
#include <mutex>
#include <set>
#include <vector>

namespace tellurix::tagging {
namespace {

using Bytes = std::vector<Exiv2::byte>;

// Exiv2 reports odd files on stderr; here every failure is counted by the caller instead.
void muteExiv2() {
  static std::once_flag once;
  std::call_once(once, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
}

bool readWhole(const std::string& path, Bytes& bytes) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return false;
  bool ok = std::fseek(in, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(in) : -1;
  ok = ok && size > 0 && std::fseek(in, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
  }
  std::fclose(in);
  return ok;
}

// The new file goes beside the old one and takes its place by a rename, with the old one's
// permission bits: a full disk or a crash leaves the copy as it was, never half written.
bool replaceWhole(const std::string& path, const Exiv2::byte* data, std::size_t size, mode_t mode) {
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  bool ok = true;
  for (std::size_t done = 0; ok && done < size;) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ::fchmod(fd, mode) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

bool isJpeg(const Bytes& bytes) {
  try {
    return Exiv2::ImageFactory::getType(bytes.data(), static_cast<long>(bytes.size())) ==
           Exiv2::ImageType::jpeg;
  } catch (...) {
    return false;  // some format probes give up on odd bytes by throwing
  }
}

Exiv2::AsciiValue ascii(const char* text) {
  return Exiv2::AsciiValue(text);
}

Exiv2::DataValue byteValues(const char* numbers) {
  Exiv2::DataValue value(Exiv2::unsignedByte);
  value.read(numbers);
  return value;
}

// Degrees, minutes and seconds in millionths: read back within 1.5e-10 degree.
Exiv2::URationalValue degreesMinutesSeconds(double degrees) {
  constexpr std::uint64_t kPerDegree = 3'600'000'000;
  constexpr std::uint64_t kPerMinute = 60'000'000;
  const auto micro = static_cast<std::uint64_t>(std::llround(std::fabs(degrees) * 3.6e9));
  const std::uint64_t rest = micro % kPerDegree;
  Exiv2::URationalValue value;
  value.value_.emplace_back(static_cast<std::uint32_t>(micro / kPerDegree), 1);
  value.value_.emplace_back(static_cast<std::uint32_t>(rest / kPerMinute), 1);
  value.value_.emplace_back(static_cast<std::uint32_t>(rest % kPerMinute), 1'000'000);
  return value;
}

Exiv2::URationalValue rationals(std::initializer_list<Exiv2::URational> parts) {
  Exiv2::URationalValue value;
  value.value_.assign(parts.begin(), parts.end());
  return value;
}

void setGpsTags(Exiv2::ExifData& exif, const tracklog::TrackPoint& p) {
  // A tag the camera wrote already takes our value and type; GPS tags we do not write stay.
  exif["Exif.GPSInfo.GPSVersionID"] = byteValues("2 2 0 0");
  exif["Exif.GPSInfo.GPSLatitudeRef"] = ascii(p.latitude < 0 ? "S" : "N");
  exif["Exif.GPSInfo.GPSLatitude"] = degreesMinutesSeconds(p.latitude);
  exif["Exif.GPSInfo.GPSLongitudeRef"] = ascii(p.longitude < 0 ? "W" : "E");
  exif["Exif.GPSInfo.GPSLongitude"] = degreesMinutesSeconds(p.longitude);
  exif["Exif.GPSInfo.GPSAltitudeRef"] = byteValues(p.altitude < 0 ? "1" : "0");
  const auto centimetres = static_cast<std::uint32_t>(std::lround(std::fabs(p.altitude) * 100.0F));
  exif["Exif.GPSInfo.GPSAltitude"] = rationals({{centimetres, 100}});
  exif["Exif.GPSInfo.GPSTimeStamp"] = rationals({{p.hour, 1}, {p.minute, 1}, {p.second, 1}});
  char date[32];
  std::snprintf(date, sizeof date, "%04u:%02u:%02u", unsigned{p.year}, unsigned{p.month}, unsigned{p.day});
  exif["Exif.GPSInfo.GPSDateStamp"] = ascii(date);
  exif["Exif.GPSInfo.GPSMapDatum"] = ascii("WGS-84");
}

// What has to come through the rewrite: every Exif tag by name, and as many IPTC and XMP entries.
struct MetadataNames {
  std::set<std::string> exif;
  long iptcCount = 0;
  long xmpCount = 0;
};

MetadataNames namesOf(Exiv2::Image& image) {
  MetadataNames names;
  for (const Exiv2::Exifdatum& datum : image.exifData()) names.exif.insert(datum.key());
  names.iptcCount = image.iptcData().count();
  names.xmpCount = image.xmpData().count();
  return names;
}

// Exiv2 drops large tags (a long user comment, a maker note) without a word when the Exif
// block would outgrow its 64 KiB segment; a photo that would lose any is not tagged at all.
bool keepsEverything(const Exiv2::byte* data, long size, const MetadataNames& before) {
  auto written = Exiv2::ImageFactory::open(data, size);
  written->readMetadata();
  const MetadataNames after = namesOf(*written);
  if (after.iptcCount != before.iptcCount || after.xmpCount != before.xmpCount) return false;
  for (const std::string& key : before.exif) {
    if (!after.exif.contains(key)) return false;
  }
  return true;
}

}  // namespace

GeotagOutcome writePhotoPosition(const std::string& copyPath, const tracklog::TrackPoint& utcPoint) {
  muteExiv2();
  struct stat status {};
  if (::stat(copyPath.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return GeotagOutcome::Unreadable;
  // The write bit counts, not only what the system allows us: a copy the user marked
  // read-only is left alone even when the program runs with the rights to replace it.
  if ((status.st_mode & S_IWUSR) == 0 || ::access(copyPath.c_str(), W_OK) != 0)
    return GeotagOutcome::ReadOnly;
  if (!std::isfinite(utcPoint.latitude) || !std::isfinite(utcPoint.longitude) ||
      std::fabs(utcPoint.latitude) > 360.0 || std::fabs(utcPoint.longitude) > 360.0 ||
      !std::isfinite(utcPoint.altitude) || std::fabs(utcPoint.altitude) > 1.0e6F) {
    return GeotagOutcome::NotWritten;
  }
  Bytes bytes;
  if (!readWhole(copyPath, bytes)) return GeotagOutcome::Unreadable;
  if (!isJpeg(bytes)) return GeotagOutcome::NotJpeg;
  try {
    // In memory: Exiv2 copies the segments it does not know and the image data unchanged.
    auto image = Exiv2::ImageFactory::open(bytes.data(), static_cast<long>(bytes.size()));
    try {
      image->readMetadata();
    } catch (...) {
      return GeotagOutcome::Unreadable;
    }
    const MetadataNames before = namesOf(*image);
    setGpsTags(image->exifData(), utcPoint);
    image->writeMetadata();
    Exiv2::BasicIo& io = image->io();
    if (io.open() != 0) return GeotagOutcome::NotWritten;
    const Exiv2::byte* data = io.mmap(false);
    const bool replaced =
        keepsEverything(data, io.size(), before) &&
        replaceWhole(copyPath, data, static_cast<std::size_t>(io.size()), status.st_mode & 07777);
    io.munmap();
    io.close();
    return replaced ? GeotagOutcome::Tagged : GeotagOutcome::NotWritten;
  } catch (...) {
    return GeotagOutcome::NotWritten;
  }
}

}  // namespace tellurix::tagging
