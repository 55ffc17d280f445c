#include "KmlDocument.h"

#include <string>

#include "KmlText.h"
#include "tracklog/TextFile.h"

namespace tellurix::kml {

using tracklog::writeLine;
using tracklog::writeText;

void writeTripDocumentHead(std::FILE* out, std::string_view name) {
  const std::string shownName = escapedText(name);
  writeText(out, R"(<?xml version="1.0" encoding="UTF-8"?>)");
  writeLine(out, R"(<kml xmlns="%s">)", kKmlNamespace);
  writeText(out, "<Folder>");
  writeLine(out, "\t    <name>%s</name>", shownName.c_str());
  writeText(out, "\t    <open>1</open>");
  writeText(out, "\t    <Style id=\"linestyle\">");
  writeText(out, "                <LineStyle>");
  writeText(out, "                  <color>ffffffff</color>");
  writeText(out, "                  <colorMode>random</colorMode>");
  writeText(out, "                  <width>4</width>");
  writeText(out, "                </LineStyle>");
  writeText(out, "                <IconStyle>");
  writeText(out, "                  <Icon>");
  writeLine(out, "                  <href>%s%s</href>", kIconHost, kMaxSpeedIcon);
  writeText(out, "                  </Icon>");
  writeText(out, "                </IconStyle>");
  writeText(out, "        </Style>");
}

void writeLabelDocumentHead(std::FILE* out, std::string_view name) {
  const std::string shownName = escapedText(name);
  writeText(out, R"(<?xml version="1.0" encoding="UTF-8"?>)");
  writeLine(out, R"(<kml xmlns="%s">)", kKmlNamespace);
  writeText(out, "<Folder>");
  writeLine(out, "<name>%s</name>", shownName.c_str());
  writeText(out, "<open>1</open>");
  writeText(out, "<Style id='LabelStyle'>");
  writeText(out, "<LabelStyle>");
  writeText(out, "<scale>.7</scale>");
  writeText(out, "</LabelStyle>");
  writeText(out, "<IconStyle>");
  writeText(out, "<scale>.3</scale><color>7f31ff1e</color>");
  writeText(out, "</IconStyle>");
  writeText(out, "</Style>");
}

void writeDocumentTail(std::FILE* out) {
  writeText(out, "</Folder>");
  writeText(out, "</kml>");
}

}  // namespace tellurix::kml
