#include "ZonesCommand.h"

#include <iostream>

#include "CliArguments.h"
#include "platform/ZoneNames.h"
#include "shellcore/ZoneList.h"

namespace tellurix::cli {

int zonesCommand(const std::vector<std::string>& args) {
  const CliArguments parsed(args, {}, {});
  if (!parsed.positional().empty()) throw UsageError("zones takes no arguments");
  for (const std::string& name : shellcore::orderZoneNames(platform::zoneDisplayNames())) {
    std::cout << name << '\n';
  }
  return 0;
}

}  // namespace tellurix::cli
