#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// One "KEY{attribute}OP\"value\"" of a udev rule.
struct RuleKey {
  std::string key;
  std::string op;
  std::string value;
};

bool isKeyChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '{' ||
         c == '}';
}

// The keys of one rule line as udev reads them; nothing when the line is not a rule udev takes.
std::optional<std::vector<RuleKey>> parseRule(const std::string& line) {
  std::vector<RuleKey> keys;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == ',')) ++at;
    if (at == line.size()) break;
    RuleKey key;
    while (at < line.size() && isKeyChar(line[at])) key.key += line[at++];
    while (at < line.size() && std::string("=!+-:").find(line[at]) != std::string::npos) key.op += line[at++];
    if (key.key.empty() || at == line.size() || line[at] != '"') return std::nullopt;
    const std::size_t close = line.find('"', at + 1);
    if (close == std::string::npos) return std::nullopt;
    key.value = line.substr(at + 1, close - at - 1);
    at = close + 1;
    if (at < line.size() && line[at] != ',' && line[at] != ' ') return std::nullopt;
    keys.push_back(key);
  }
  return keys;
}

// Match keys compare, assignment keys assign; udev ignores a rule that mixes them up.
bool isMatchKey(const std::string& key) {
  static const std::vector<std::string> matches{"ACTION", "SUBSYSTEM", "SUBSYSTEMS", "KERNEL", "KERNELS",
                                                "DRIVER", "DRIVERS",   "ATTR",       "ATTRS",  "ENV"};
  const std::string name = key.substr(0, key.find('{'));
  for (const std::string& m : matches) {
    if (name == m) return true;
  }
  return false;
}

std::vector<std::vector<RuleKey>> rulesOf(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::vector<RuleKey>> rules;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const auto keys = parseRule(line);
    EXPECT_TRUE(keys.has_value()) << file << ":" << number << " is no rule udev reads: " << line;
    if (!keys) continue;
    for (const RuleKey& key : *keys) {
      const bool compares = key.op == "==" || key.op == "!=";
      const bool assigns = key.op == "=" || key.op == "+=" || key.op == "-=" || key.op == ":=";
      EXPECT_TRUE(isMatchKey(key.key) ? compares : assigns)
          << file << ":" << number << ": " << key.key << key.op << " does nothing";
    }
    rules.push_back(*keys);
  }
  return rules;
}

std::map<std::string, std::string> byKey(const std::vector<RuleKey>& rule) {
  std::map<std::string, std::string> keys;
  for (const RuleKey& key : rule) keys[key.key + key.op] = key.value;
  return keys;
}

const fs::path kRule = TELLURIX_UDEV_RULE;

TEST(LoggerUdevRule, GivesTheSeatUserTheBridgesTerminals) {
  const auto rules = rulesOf(kRule);
  ASSERT_EQ(rules.size(), 1U);
  auto keys = byKey(rules.front());
  EXPECT_EQ(keys["SUBSYSTEM=="], "tty");  // the terminal, not the USB device above it
  EXPECT_EQ(keys["DRIVERS=="], "pl2303");
  EXPECT_EQ(keys["TAG+="], "uaccess");
  EXPECT_EQ(keys.count("MODE="), 0U) << "a mode would open the port to every user, not the one at the seat";
}

TEST(LoggerUdevRule, RunsBeforeTheSeatRulesReadTheTag) {
  // 73-seat-late.rules turns the uaccess tag into the seat user's access; a later rule is too late.
  EXPECT_LT(kRule.filename().string(), std::string("73-seat-late.rules"));
  EXPECT_EQ(kRule.extension(), ".rules");
}

}  // namespace
