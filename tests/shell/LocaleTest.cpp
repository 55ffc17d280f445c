#include <clocale>
#include <cstdio>

#include "WindowFixture.h"

namespace tellurix::testing {
namespace {

// The desktop's locale reaches the C library through Qt; under a decimal-comma locale the
// window's reports must still write decimal points.
class DecimalCommaLocale : public WindowTest {
 protected:
  void SetUp() override {
    const char* current = std::setlocale(LC_ALL, nullptr);
    previous_ = current != nullptr ? current : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "generate it: tools/install-deps.sh";
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    ASSERT_STREQ(text, "1,5");
  }
  void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }

 private:
  std::string previous_;
};

TEST_F(DecimalCommaLocale, TheReportsRmcTrackHasDecimalPoints) {
  shell::TfrmFilter& w = open();
  download(shortDrive(3));
  w.btnOK->click();
  ASSERT_EQ(status(), "Report Done");
  const std::vector<std::string> rmc = crlfLines(readFile(dir.file("out/2010-09-09/trip-rmc.txt")));
  ASSERT_EQ(rmc.size(), 3U);
  // 36 km/h in knots, printed with "%05.1f".
  EXPECT_NE(rmc[0].find(",2502.0340,N,12133.8700,E,019.4,"), std::string::npos) << rmc[0];
}

}  // namespace
}  // namespace tellurix::testing
