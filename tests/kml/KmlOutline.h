#pragma once

#include <string>

#include "support/TestFiles.h"

namespace tellurix::testing {

// A document's structure in one line: the name of every element that has one, "label" and
// "track" for the unnamed placemarks, "/Folder" where a folder closes and "." per path
// coordinate, separated by spaces.
inline std::string kmlOutline(const std::string& bytes) {
  std::string outline;
  auto add = [&](const std::string& token) { outline += (outline.empty() ? "" : " ") + token; };
  for (const std::string& line : crlfLines(bytes)) {
    const auto name = line.find("<name>");
    if (name != std::string::npos) {
      add(line.substr(name + 6, line.find("</name>") - name - 6));
    } else if (line == "\t<styleUrl>LabelStyle</styleUrl>") {
      add("label");
    } else if (line.find("icon49.png") != std::string::npos) {
      add("track");
    } else if (line == "</Folder>") {
      add("/Folder");
    } else if (line.rfind("\t\t                          ", 0) == 0) {
      add(".");
    }
  }
  return outline;
}

}  // namespace tellurix::testing
