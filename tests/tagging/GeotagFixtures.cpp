#include "GeotagFixtures.h"

#include <exiv2/exiv2.hpp>
#include <filesystem>

#include "ExifFixtures.h"
#include "JpegWriter.h"
#include "support/TestFiles.h"

namespace tellurix::tagging::fixtures {
namespace {

std::string text(const Exiv2::ExifData& exif, const char* key) {
  const auto found = exif.findKey(Exiv2::ExifKey(key));
  return found == exif.end() ? "" : found->toString();
}

struct Degrees {
  double value = 0;
  bool inRange = false;
};

Degrees degrees(const Exiv2::ExifData& exif, const char* key) {
  const auto found = exif.findKey(Exiv2::ExifKey(key));
  if (found == exif.end() || found->count() != 3) return {};
  double parts[3];
  bool inRange = true;
  for (long i = 0; i < 3; ++i) {
    const Exiv2::Rational r = found->toRational(i);
    parts[i] = static_cast<double>(r.first) / r.second;
    if (i > 0 && parts[i] >= 60) inRange = false;
  }
  return {parts[0] + parts[1] / 60 + parts[2] / 3600, inRange};
}

}  // namespace

std::string cameraJpeg(const std::string& scratch, const std::string& exifDate) {
  writeJpeg(scratch, 160, 120, [](int x, int y) {
    return Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(x ^ y)};
  });
  const std::string plain = testing::readFile(scratch);
  std::filesystem::remove(scratch);
  if (exifDate.empty()) return plain;
  ExifLayout layout;
  layout.date = exifDate;
  return "\xFF\xD8" + segment(0xE1, exifPayload(layout)) + plain.substr(2);
}

std::string fullExifJpeg(const std::string& scratch, const std::string& exifDate) {
  const std::string camera = cameraJpeg(scratch, exifDate);
  auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(camera.data()),
                                         static_cast<long>(camera.size()));
  image->readMetadata();
  image->exifData()["Exif.Photo.UserComment"] = "charset=Ascii " + std::string(65300, 'x');
  image->writeMetadata();
  Exiv2::BasicIo& io = image->io();
  io.open();
  io.seek(0, Exiv2::BasicIo::beg);
  const Exiv2::DataBuf bytes = io.read(io.size());
  return {reinterpret_cast<const char*>(bytes.pData_), static_cast<std::size_t>(bytes.size_)};
}

std::string imageData(const std::string& jpeg) {
  const auto sos = jpeg.find("\xFF\xDA");
  return sos == std::string::npos ? "" : jpeg.substr(sos);
}

std::optional<ReadBack> readBack(const std::string& path) {
  auto image = Exiv2::ImageFactory::open(path);
  image->readMetadata();
  const Exiv2::ExifData& exif = image->exifData();
  const Degrees latitude = degrees(exif, "Exif.GPSInfo.GPSLatitude");
  const Degrees longitude = degrees(exif, "Exif.GPSInfo.GPSLongitude");
  if (text(exif, "Exif.GPSInfo.GPSLatitude").empty()) return std::nullopt;
  ReadBack back;
  back.versionId = text(exif, "Exif.GPSInfo.GPSVersionID");
  back.latitudeRef = text(exif, "Exif.GPSInfo.GPSLatitudeRef");
  back.latitude = latitude.value;
  back.longitudeRef = text(exif, "Exif.GPSInfo.GPSLongitudeRef");
  back.longitude = longitude.value;
  back.minutesAndSecondsInRange = latitude.inRange && longitude.inRange;
  const auto altitudeRef = exif.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSAltitudeRef"));
  if (altitudeRef != exif.end()) back.altitudeRef = static_cast<int>(altitudeRef->toLong());
  const auto altitude = exif.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSAltitude"));
  if (altitude != exif.end()) back.altitude = altitude->toFloat();
  const auto time = exif.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSTimeStamp"));
  if (time != exif.end() && time->count() == 3) {
    for (long i = 0; i < 3; ++i) {
      const Exiv2::Rational r = time->toRational(i);
      back.timeStamp += (i > 0 ? " " : "") + std::to_string(r.first / r.second);
    }
  }
  back.dateStamp = text(exif, "Exif.GPSInfo.GPSDateStamp");
  back.mapDatum = text(exif, "Exif.GPSInfo.GPSMapDatum");
  back.dateTimeOriginal = text(exif, "Exif.Photo.DateTimeOriginal");
  back.make = text(exif, "Exif.Image.Make");
  return back;
}

}  // namespace tellurix::tagging::fixtures
