#include "ZoneList.h"

namespace tellurix::shellcore {
namespace {

bool inGroup(std::string_view name, std::size_t group) {
  for (const std::string_view prefix : {GmtPrefixTable[group], UtcPrefixTable[group]}) {
    if (name.substr(0, 11) == prefix || name.substr(0, 5) == prefix) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> orderZoneNames(const std::vector<std::string>& names) {
  std::vector<std::string> ordered;
  ordered.reserve(names.size());
  for (std::size_t group = 0; group < GmtPrefixTable.size(); ++group) {
    for (const std::string& name : names) {
      if (inGroup(name, group)) ordered.push_back(name);
    }
  }
  return ordered;
}

}  // namespace tellurix::shellcore
