#include <gtest/gtest.h>

#include <optional>

#include "tracklog/Errors.h"
#include "tracklog/WholeNumber.h"

namespace tellurix::tracklog {
namespace {

struct NumberCase {
  const char* text;
  std::optional<std::int32_t> value;
};
void PrintTo(const NumberCase& c, std::ostream* os) {
  *os << '"' << c.text << '"';
}

class WholeNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(WholeNumberTest, AcceptsSignAndDigitsOnly) {
  EXPECT_EQ(parseWholeNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WholeNumberTest,
    ::testing::Values(NumberCase{"0", 0}, NumberCase{"10", 10}, NumberCase{"-30", -30}, NumberCase{"+7", 7},
                      NumberCase{"09", 9}, NumberCase{"2147483647", 2147483647},
                      NumberCase{"-2147483648", -2147483647 - 1}, NumberCase{"2147483648", std::nullopt},
                      NumberCase{"99999999999999999999", std::nullopt}, NumberCase{"", std::nullopt},
                      NumberCase{"-", std::nullopt}, NumberCase{"0-", std::nullopt},
                      NumberCase{" 5", std::nullopt}, NumberCase{"5 ", std::nullopt},
                      NumberCase{"abc", std::nullopt}, NumberCase{"1.5", std::nullopt},
                      NumberCase{"0x10", std::nullopt}));

TEST(WholeNumberTest, ConversionErrorNamesTheText) {
  try {
    toWholeNumber("abc");
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_EQ(e.badText(), "abc");
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
}

TEST(WholeNumberTest, TrimmingRemovesBlanksAndControlBytes) {
  EXPECT_EQ(trimmed("  10\t\r\n"), "10");
  EXPECT_EQ(trimmed("   "), "");
  EXPECT_EQ(trimmed("a b"), "a b");
}

}  // namespace
}  // namespace tellurix::tracklog
