#include "Legend.h"

#include <cstdio>

#include "MarkerTexts.h"
#include "report/SpeedClasses.h"

namespace tellurix::map {

std::vector<std::string> legendLabels(tracklog::SpeedUnit unit) {
  const bool mph = shownUnit(unit) == tracklog::SpeedUnit::Mph;
  const char* unitText = mph ? "MPH" : "KPH";
  std::vector<std::string> labels;
  for (const report::SpeedClass& c : report::kSpeedClasses) {
    const int from = mph ? c.fromMph : c.fromKmh;
    const int to = mph ? c.toMph : c.toKmh;
    char text[64];
    if (to == 0) {
      std::snprintf(text, sizeof text, "%s %d+ %s", c.name, from, unitText);
    } else {
      std::snprintf(text, sizeof text, "%s %d-%d %s", c.name, from, to, unitText);
    }
    labels.emplace_back(text);
  }
  return labels;
}

}  // namespace tellurix::map
