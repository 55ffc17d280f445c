#include "KmlDocument.h"

#include <string>

#include "KmlText.h"

namespace tellurix::kml {

void writeTripDocumentHead(tracklog::TextOut out, std::string_view name) {
  tracklog::TextBuffer& b = out.buffer();
  const std::string shownName = escapedText(name);
  b.line(R"(<?xml version="1.0" encoding="UTF-8"?>)");
  b.line("<kml xmlns=\"", kKmlNamespace, "\">");
  b.line("<Folder>");
  b.line("\t    <name>", shownName.c_str(), "</name>");
  b.line("\t    <open>1</open>");
  b.line("\t    <Style id=\"linestyle\">");
  b.line("                <LineStyle>");
  b.line("                  <color>ffffffff</color>");
  b.line("                  <colorMode>random</colorMode>");
  b.line("                  <width>4</width>");
  b.line("                </LineStyle>");
  b.line("                <IconStyle>");
  b.line("                  <Icon>");
  b.line("                  <href>", kIconHost, kMaxSpeedIcon, "</href>");
  b.line("                  </Icon>");
  b.line("                </IconStyle>");
  b.line("        </Style>");
}

void writeLabelDocumentHead(tracklog::TextOut out, std::string_view name) {
  tracklog::TextBuffer& b = out.buffer();
  const std::string shownName = escapedText(name);
  b.line(R"(<?xml version="1.0" encoding="UTF-8"?>)");
  b.line("<kml xmlns=\"", kKmlNamespace, "\">");
  b.line("<Folder>");
  b.line("<name>", shownName.c_str(), "</name>");
  b.line("<open>1</open>");
  b.line("<Style id='LabelStyle'>");
  b.line("<LabelStyle>");
  b.line("<scale>.7</scale>");
  b.line("</LabelStyle>");
  b.line("<IconStyle>");
  b.line("<scale>.3</scale><color>7f31ff1e</color>");
  b.line("</IconStyle>");
  b.line("</Style>");
}

void writeDocumentTail(tracklog::TextOut out) {
  tracklog::TextBuffer& b = out.buffer();
  b.line("</Folder>");
  b.line("</kml>");
}

}  // namespace tellurix::kml
