#include "PhotoPlacemark.h"

#include <array>

#include "KmlText.h"

namespace tellurix::kml {
namespace {

// The length of the valid UTF-8 sequence at text[at], or 0 when none starts there.
std::size_t utf8SequenceAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;   // the range of the second byte, narrowed against overlong forms,
  unsigned char high = 0xBF;  // surrogates and values beyond U+10FFFF
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

// Characters `first` (from 1) to `last` of the key text as element text; a short key gives a
// short or empty part.
std::string keyPart(std::string_view key, std::size_t first, std::size_t last) {
  if (first > key.size()) return {};
  return escapedText(key.substr(first - 1, last - first + 1));
}

}  // namespace

std::string fileNameText(std::string_view name) {
  std::string text;
  text.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    if (const std::size_t length = utf8SequenceAt(name, i)) {
      text.append(name.substr(i, length));
      i += length;
      continue;
    }
    const auto byte = static_cast<unsigned char>(name[i++]);
    text += static_cast<char>(0xC0 | (byte >> 6));
    text += static_cast<char>(0x80 | (byte & 0x3F));
  }
  return text;
}

std::string photoReference(std::string_view name) {
  static constexpr std::array<char, 16> kHex{'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  std::string reference = "./photo/";
  for (std::size_t i = 0; i < name.size();) {
    const auto byte = static_cast<unsigned char>(name[i]);
    const std::size_t length = utf8SequenceAt(name, i);
    if (length > 1) {
      reference.append(name.substr(i, length));
      i += length;
      continue;
    }
    const bool plain = length == 1 && byte >= 0x20 && byte != 0x7F && byte != '%' && byte != '#' &&
                       byte != '?' && byte != '"' && byte != '&' && byte != '<' && byte != '>' &&
                       byte != '\\';
    if (plain) {
      reference += static_cast<char>(byte);
    } else {
      reference += '%';
      reference += kHex[byte >> 4];
      reference += kHex[byte & 0x0F];
    }
    ++i;
  }
  return reference;
}

void writePhotoPlacemark(tracklog::TextOut out, std::string_view photoName, std::string_view latitudeText,
                         std::string_view longitudeText, std::string_view keyText) {
  const std::string name = escapedText(fileNameText(photoName));
  const std::string image = photoReference(photoName);
  const std::string latitude(latitudeText);
  const std::string longitude(longitudeText);
  tracklog::TextBuffer& b = out.buffer();
  b.line("<Placemark>");
  b.line("<name>", name.c_str(), "</name>");
  b.line(R"(<Snippet maxLines="2">)");
  b.line("Created on: ", keyPart(keyText, 1, 4).c_str(), "/", keyPart(keyText, 5, 6).c_str(), "/",
         keyPart(keyText, 7, 8).c_str(), " ", keyPart(keyText, 9, 10).c_str(), ":",
         keyPart(keyText, 11, 12).c_str(), ":", keyPart(keyText, 13, 14).c_str(), "</Snippet>");
  b.line("<description>");
  b.line("<![CDATA[");
  b.line(R"(<img src=")", image.c_str(), R"(" border=0 width=400>)");
  b.line("]]>");
  b.line("</description>");
  b.line("<Point>");
  b.line("<altitudeMode>relativeToGround</altitudeMode>");
  b.line("<coordinates>", longitude.c_str(), ",", latitude.c_str(), "</coordinates>");
  b.line("</Point>");
  b.line("</Placemark>");
}

}  // namespace tellurix::kml
