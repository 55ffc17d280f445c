#pragma once

#include <optional>
#include <string>

namespace tellurix::tagging::fixtures {

// A real JPEG (libjpeg, 160 x 120) with an APP1 Exif segment in front of its JFIF segment, as
// a camera writes it; no Exif at all when `exifDate` is empty. `scratch` is a file the
// builder may use and removes.
std::string cameraJpeg(const std::string& scratch, const std::string& exifDate);

// A camera JPEG whose Exif segment is all but full: a user comment fills it to 65,400 bytes of the 65,533 it
// can hold, leaving no room for a GPS directory.
std::string fullExifJpeg(const std::string& scratch, const std::string& exifDate = "2010:09:09 10:05:03");

// The bytes from the first start-of-scan marker on: the image data that tagging must not touch.
std::string imageData(const std::string& jpeg);

// What Exiv2 reads back from a tagged photo.
struct ReadBack {
  std::string versionId;  // "2 2 0 0"
  std::string latitudeRef;
  double latitude = 0;  // unsigned degrees from degrees, minutes and seconds
  std::string longitudeRef;
  double longitude = 0;
  int altitudeRef = -1;
  double altitude = 0;
  bool minutesAndSecondsInRange = false;  // every minute and second below 60
  std::string timeStamp;                  // "h m s" as whole numbers
  std::string dateStamp;
  std::string mapDatum;
  std::string dateTimeOriginal;  // "" when missing
  std::string make;
};

// Nothing when the file holds no GPS latitude.
std::optional<ReadBack> readBack(const std::string& path);

}  // namespace tellurix::tagging::fixtures
