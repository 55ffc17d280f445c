#include <gtest/gtest.h>

#include <set>

#include "platform/ZoneNames.h"
#include "shellcore/ZoneList.h"

namespace tellurix::shellcore {
namespace {

TEST(ZoneOrder, GroupsByPrefixTableKeepingOrderInsideAGroupAndLeavesOutUnknownPrefixes) {
  const std::vector<std::string> names{
      "(UTC+08:00) Taipei",
      "(GMT-03:30) Newfoundland",
      "(UTC-12:00) Baker Island",
      "(GMT) Greenwich Mean Time",
      "(UTC+05:45) Kathmandu",
      "(UTC+12:45) Chatham Islands",    // no group
      "(UTC+14:00) Kiritimati",         // no group
      "(UTC-09:30) Marquesas Islands",  // no group
      "(GMT+13:00) Nuku'alofa",
      "(GMT+08:00) Perth",
      "(UTC) Coordinated Universal Time",
      "(GMT-12:00) Date Line",
      "GMT+08:00 Beijing",  // no parenthesis: no group
      "(UTC-04:30) Caracas",
      "(GMT+05:30) Chennai",
  };
  EXPECT_EQ(orderZoneNames(names), (std::vector<std::string>{
                                       "(UTC-12:00) Baker Island",
                                       "(GMT-12:00) Date Line",  // equal groups keep their order
                                       "(UTC-04:30) Caracas",
                                       "(GMT-03:30) Newfoundland",
                                       "(GMT) Greenwich Mean Time",  // "(GMT) " and "(UTC) " are group 14
                                       "(UTC) Coordinated Universal Time",
                                       "(GMT+05:30) Chennai",
                                       "(UTC+05:45) Kathmandu",
                                       "(UTC+08:00) Taipei",
                                       "(GMT+08:00) Perth",
                                       "(GMT+13:00) Nuku'alofa",
                                   }));
}

TEST(ZoneOrder, TheBuiltInNamesAreAllListedCoverEveryGroupAndSelectTaipeiByDefault) {
  const std::vector<std::string>& names = platform::zoneDisplayNames();
  const std::vector<std::string> ordered = orderZoneNames(names);
  EXPECT_EQ(ordered.size(), names.size()) << "a built-in name with a prefix of no group";
  ASSERT_GE(ordered.size(), 75U);
  EXPECT_EQ(ordered[74], "(UTC+08:00) Taipei");  // users' settings files store this index

  std::set<std::string> groups;
  for (const std::string& name : ordered) groups.insert(name.substr(0, name.find(' ')));
  EXPECT_EQ(groups.size(), 34U) << "one name or more for each offset from -12:00 to +13:00";
}

}  // namespace
}  // namespace tellurix::shellcore
