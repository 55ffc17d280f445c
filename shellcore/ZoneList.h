#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tellurix::shellcore {

// The zone list's order: entry i of either table is the i-th group of the list.
inline constexpr std::array<std::string_view, 34> GmtPrefixTable{
    "(GMT-12:00)", "(GMT-11:00)", "(GMT-10:00)", "(GMT-09:00)", "(GMT-08:00)", "(GMT-07:00)", "(GMT-06:00)",
    "(GMT-05:00)", "(GMT-04:30)", "(GMT-04:00)", "(GMT-03:30)", "(GMT-03:00)", "(GMT-02:00)", "(GMT-01:00)",
    "(GMT)",       "(GMT+01:00)", "(GMT+02:00)", "(GMT+03:00)", "(GMT+03:30)", "(GMT+04:00)", "(GMT+04:30)",
    "(GMT+05:00)", "(GMT+05:30)", "(GMT+05:45)", "(GMT+06:00)", "(GMT+06:30)", "(GMT+07:00)", "(GMT+08:00)",
    "(GMT+09:00)", "(GMT+09:30)", "(GMT+10:00)", "(GMT+11:00)", "(GMT+12:00)", "(GMT+13:00)",
};
inline constexpr std::array<std::string_view, 34> UtcPrefixTable{
    "(UTC-12:00)", "(UTC-11:00)", "(UTC-10:00)", "(UTC-09:00)", "(UTC-08:00)", "(UTC-07:00)", "(UTC-06:00)",
    "(UTC-05:00)", "(UTC-04:30)", "(UTC-04:00)", "(UTC-03:30)", "(UTC-03:00)", "(UTC-02:00)", "(UTC-01:00)",
    "(UTC)",       "(UTC+01:00)", "(UTC+02:00)", "(UTC+03:00)", "(UTC+03:30)", "(UTC+04:00)", "(UTC+04:30)",
    "(UTC+05:00)", "(UTC+05:30)", "(UTC+05:45)", "(UTC+06:00)", "(UTC+06:30)", "(UTC+07:00)", "(UTC+08:00)",
    "(UTC+09:00)", "(UTC+09:30)", "(UTC+10:00)", "(UTC+11:00)", "(UTC+12:00)", "(UTC+13:00)",
};

// The names grouped by the prefix tables, group 0 first; inside a group they keep their order.
// A name matches group i when its first 11 characters, or its first 5 (the "(GMT) " and
// "(UTC) " names), equal an entry of group i. Names of no group ("(UTC+12:45) ...",
// "(UTC+14:00) ...") are left out.
std::vector<std::string> orderZoneNames(const std::vector<std::string>& names);

}  // namespace tellurix::shellcore
