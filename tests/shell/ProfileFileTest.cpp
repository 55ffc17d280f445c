#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ProfileFile.h"
#include "support/ScratchMount.h"
#include "support/TestFiles.h"

namespace tellurix::platform {
namespace {

struct WriteCase {
  const char* name;
  const char* before;
  const char* key;
  const char* value;
  const char* after;
};
void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.name;
}

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheKeyLine) {
  const WriteCase& c = GetParam();
  EXPECT_TRUE(testing::sameBytes(c.after, withProfileValue(c.before, "Setting", c.key, c.value)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    ::testing::Values(
        WriteCase{"empty_file_gets_section_and_key", "", "Over Speed", "90", "[Setting]\nOver Speed=90\n"},
        WriteCase{"key_replaced_where_it_stands", "[Setting]\nUnit=KPH\nOver Speed=80\nTime Period=10\n",
                  "Over Speed", "120", "[Setting]\nUnit=KPH\nOver Speed=120\nTime Period=10\n"},
        WriteCase{"key_names_match_without_case_and_blanks", "[setting]\n  over speed = 80\n", "Over Speed",
                  "95", "[setting]\nOver Speed=95\n"},
        WriteCase{"new_key_after_the_sections_last_line_before_the_next_section",
                  "; mine\n[Setting]\nUnit=MPH\n\n[Other]\nOver Speed=1\n", "Over Speed", "90",
                  "; mine\n[Setting]\nUnit=MPH\nOver Speed=90\n\n[Other]\nOver Speed=1\n"},
        WriteCase{"missing_section_appended_after_other_lines", "[Other]\nx=1", "Unit", "KPH",
                  "[Other]\nx=1\n\n[Setting]\nUnit=KPH\n"},
        WriteCase{"crlf_file_keeps_crlf", "[Setting]\r\nUnit=KPH\r\n", "TimeZone", "74",
                  "[Setting]\r\nUnit=KPH\r\nTimeZone=74\r\n"},
        WriteCase{"byte_order_mark_kept", "\xEF\xBB\xBF[Setting]\nUnit=KPH\n", "Unit", "MPH",
                  "\xEF\xBB\xBF[Setting]\nUnit=MPH\n"},
        WriteCase{"line_break_in_value_cannot_add_a_line", "[Setting]\n", "Unit", "KPH\n[Evil]\r\nx=1",
                  "[Setting]\nUnit=KPH [Evil]  x=1\n"},
        WriteCase{"only_the_first_of_two_keys_changes", "[Setting]\nUnit=A\nUnit=B\n", "Unit", "C",
                  "[Setting]\nUnit=C\nUnit=B\n"}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(ProfileRead, ValuesTrimmedFromTheFirstMatchingSectionAndKey) {
  const char* text =
      "[Other]\nUnit=MPH\n[Setting]\n; Unit=comment\n Unit =  KPH  "
      "\r\nUnit=second\nEmpty=\n[setting]\nLate=1\n";
  EXPECT_EQ(profileValue(text, "Setting", "Unit"), "KPH");
  EXPECT_EQ(profileValue(text, "SETTING", "unit"), "KPH");
  EXPECT_EQ(profileValue(text, "Setting", "Empty"), "");
  EXPECT_EQ(profileValue(text, "Setting", "Late"), std::nullopt);  // only the first such section counts
  EXPECT_EQ(profileValue(text, "Setting", "Missing"), std::nullopt);
  EXPECT_EQ(profileValue(text, "Nowhere", "Unit"), std::nullopt);
}

TEST(ProfileFile, WritesCreateTheFileAndReadsGetTheValuesBack) {
  testing::TempDir dir;
  const std::string path = dir.file("Tellurix.ini");
  EXPECT_EQ(readProfileString(path, "Setting", "Unit"), std::nullopt);
  ASSERT_TRUE(writeProfileString(path, "Setting", "Unit", "MPH"));
  ASSERT_TRUE(writeProfileString(path, "Setting", "Over Speed", "abc"));
  EXPECT_EQ(readProfileString(path, "Setting", "Unit"), "MPH");
  EXPECT_EQ(testing::readFile(path), "[Setting]\nUnit=MPH\nOver Speed=abc\n");
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

// A folder where the file belongs reads as no file and is never replaced; a full disk leaves
// the file as it was.
TEST(ProfileFile, AFolderOfItsNameIsNeitherReadNorReplaced) {
  testing::TempDir dir;
  const std::string path = dir.file("Tellurix.ini");
  std::filesystem::create_directory(path);
  EXPECT_EQ(readProfileString(path, "Setting", "Unit"), std::nullopt);
  EXPECT_FALSE(writeProfileString(path, "Setting", "Unit", "MPH"));
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

TEST(ProfileFile, AWriteToAFullDiskKeepsTheFileWhole) {
  testing::ScratchMount disk(64 * 1024);
  if (!disk.mounted()) GTEST_SKIP() << disk.failure();
  const std::string path = (disk.path() / "Tellurix.ini").string();
  const std::string before = "[Setting]\r\nUnit=KPH\r\nOver Speed=90\r\n";
  testing::writeFile(path, before);
  disk.fill();
  EXPECT_FALSE(writeProfileString(path, "Setting", "Unit", std::string(8000, 'M')));
  EXPECT_EQ(testing::readFile(path), before);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

}  // namespace
}  // namespace tellurix::platform
