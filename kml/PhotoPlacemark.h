#pragma once

#include <string>
#include <string_view>

#include "tracklog/TextBuffer.h"

// The photo path's own placemark: a photo shown at the track point it was taken at.
namespace tellurix::kml {

// 14 lines: the photo's name, its capture time taken from the 14-digit key text
// (YYYYMMDDhhmmss), the photo itself from the "photo" folder beside the document, and the
// position texts of its track point as the photo list prints them ("%.6f"). The coordinates
// carry no altitude.
void writePhotoPlacemark(tracklog::TextOut out, std::string_view photoName, std::string_view latitudeText,
                         std::string_view longitudeText, std::string_view keyText);

// A file name as UTF-8 text: valid UTF-8 is copied, any other byte is taken as Latin-1, the
// 8-bit set such names come from, so the document stays readable whatever the disk holds.
std::string fileNameText(std::string_view name);

// "./photo/" + the name as a relative URL: forward slashes, which every viewer resolves, and
// percent-encoded the bytes that would change the URL's meaning (% # ? \), end the image
// attribute or the CDATA section, or are no valid UTF-8. Ordinary names stay as they are.
std::string photoReference(std::string_view name);

}  // namespace tellurix::kml
