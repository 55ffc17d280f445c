#include <gtest/gtest.h>

#include <set>

#include "platform/ZoneNames.h"
#include "shell/ZoneList.h"

namespace tellurix::shell {
namespace {

TEST(ZoneOrder, GroupsByPrefixTableKeepingOrderInsideAGroupAndLeavesOutUnknownPrefixes) {
  // One name for each of the groups 0..13, listed backwards, so "(GMT) " must come 15th.
  std::vector<std::string> names;
  for (int group = 13; group >= 0; --group) {
    const std::string_view prefix = group % 2 == 0 ? GmtPrefixTable[group] : UtcPrefixTable[group];
    names.push_back(std::string(prefix) + " Place " + std::to_string(group));
  }
  names.insert(names.begin() + 3, "(GMT) Greenwich Mean Time");
  names.insert(names.begin(), "(UTC+08:00) Taipei");
  names.emplace_back("(UTC+12:45) Chatham Islands");
  names.emplace_back("(UTC+14:00) Kiritimati");
  names.emplace_back("(UTC-09:30) Marquesas Islands");
  names.emplace_back("(GMT+08:00) Perth");
  names.emplace_back("(UTC) Coordinated Universal Time");
  names.emplace_back("GMT+08:00 Beijing");  // no parenthesis: no group

  const std::vector<std::string> ordered = orderZoneNames(names);
  ASSERT_EQ(ordered.size(), 18U);
  for (int group = 0; group <= 13; ++group) {
    EXPECT_EQ(ordered[group].substr(0, ordered[group].find(' ')),
              group % 2 == 0 ? GmtPrefixTable[group] : UtcPrefixTable[group]);
  }
  EXPECT_EQ(ordered[14], "(GMT) Greenwich Mean Time");
  EXPECT_EQ(ordered[15], "(UTC) Coordinated Universal Time");
  EXPECT_EQ(ordered[16], "(UTC+08:00) Taipei");  // equal groups keep their order
  EXPECT_EQ(ordered[17], "(GMT+08:00) Perth");
}

TEST(ZoneOrder, TheBuiltInNamesAreAllListedCoverEveryGroupAndSelectTaipeiByDefault) {
  const std::vector<std::string>& names = platform::zoneDisplayNames();
  const std::vector<std::string> ordered = orderZoneNames(names);
  EXPECT_EQ(ordered.size(), names.size()) << "a built-in name with a prefix of no group";
  ASSERT_GE(ordered.size(), 75U);
  EXPECT_EQ(ordered[74], "(UTC+08:00) Taipei");  // users' settings files store this index

  std::set<std::string> groups;
  for (const std::string& name : ordered) groups.insert(name.substr(0, name.find(' ')));
  EXPECT_EQ(groups.size(), GmtPrefixTable.size());
}

}  // namespace
}  // namespace tellurix::shell
