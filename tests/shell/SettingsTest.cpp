#include <QCheckBox>
#include <QLineEdit>

#include "WindowFixture.h"

namespace tellurix::testing {
namespace {

struct LoadCase {
  const char* name;
  const char* file;  // empty: no settings file
  const char* overSpeed;
  const char* unit;
  int zoneIndex;
  const char* timePeriod;
};
void PrintTo(const LoadCase& c, std::ostream* os) {
  *os << c.name;
}

class SettingsLoad : public WindowTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SettingsLoad, FillsTheFields) {
  const LoadCase& c = GetParam();
  if (*c.file != '\0') writeSettings(c.file);
  shell::TfrmFilter& w = open();
  EXPECT_EQ(w.memSpeed->text().toStdString(), c.overSpeed);
  EXPECT_EQ(w.cboSpeedUnit->currentText().toStdString(), c.unit);
  EXPECT_EQ(w.cboTimeZone->currentIndex(), c.zoneIndex);
  if (c.zoneIndex < 0) {
    EXPECT_EQ(w.cboTimeZone->currentText().toStdString(), "");
  }
  EXPECT_EQ(w.memStopPointTimePeriod->text().toStdString(), c.timePeriod);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsLoad,
    ::testing::Values(
        LoadCase{"first_run_defaults", "", "90", "KPH", 74, "10"},
        LoadCase{"stored_values", "[Setting]\nOver Speed=110\nUnit=MPH\nTimeZone=3\nTime Period=25\n", "110",
                 "MPH", 3, "25"},
        LoadCase{"time_period_not_a_number_loads_the_default", "[Setting]\nTime Period=abc\n", "90", "KPH",
                 74, "10"},
        LoadCase{"time_period_shown_as_its_number", "[Setting]\nTime Period=+015\n", "90", "KPH", 74, "15"},
        LoadCase{"over_speed_and_unit_shown_as_stored", "[Setting]\nOver Speed=abc\nUnit=knots\n", "abc",
                 "knots", 74, "10"},
        LoadCase{"zone_index_beyond_the_list_selects_nothing", "[Setting]\nTimeZone=500\n", "90", "KPH", -1,
                 "10"},
        LoadCase{"zone_index_not_a_number_loads_the_default", "[Setting]\nTimeZone=x\n", "90", "KPH", 74,
                 "10"},
        LoadCase{"other_section_is_not_read", "[Other]\nUnit=MPH\n", "90", "KPH", 74, "10"}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST_F(WindowTest, MakeReportSavesTheTextsAsTypedBeforeAnyCheckAndKeepsOtherLines) {
  writeSettings("; written by hand\r\n[Setting]\r\nOver Speed=abc\r\nKeep=me\r\n\r\n[Window]\r\nx=1\r\n");
  shell::TfrmFilter& w = open();
  EXPECT_EQ(w.memSpeed->text().toStdString(), "abc");
  download(shortDrive());
  w.cboSpeedUnit->setEditText(QStringLiteral("MPH"));
  w.memStopPointTimePeriod->setText(QStringLiteral("  "));  // refused: "Please input time period."
  w.btnOK->click();
  EXPECT_EQ(desktop.of("message"), std::vector<std::string>{"Empty Data|Please input time period."});
  EXPECT_EQ(settings(),
            "; written by hand\r\n[Setting]\r\nOver Speed=abc\r\nKeep=me\r\nUnit=MPH\r\nTime Period=  \r\n"
            "ViewGpsSpeedChart=0\r\n\r\n[Window]\r\nx=1\r\n");
}

TEST_F(WindowTest, TheChartPreferenceComesBackWithTheNextDownload) {
  open();
  download(shortDrive());
  window->chkGpsSpeedChart->setChecked(true);
  desktop.savePath.reset();  // the settings are saved even when the dialog is cancelled
  window->btnOK->click();
  EXPECT_NE(settings().find("ViewGpsSpeedChart=1\n"), std::string::npos) << settings();

  open();
  EXPECT_FALSE(window->chkGpsSpeedChart->isChecked());  // read only once the logger answers
  download(shortDrive());
  EXPECT_TRUE(window->chkGpsSpeedChart->isChecked());
  window->chkGpsSpeedChart->setChecked(false);
  window->btnOK->click();

  open();
  download(shortDrive());
  EXPECT_FALSE(window->chkGpsSpeedChart->isChecked());
  EXPECT_NE(settings().find("ViewGpsSpeedChart=0\n"), std::string::npos) << settings();
}

TEST_F(WindowTest, AChartPreferenceThatIsNoNumberLeavesTheBoxAsItIs) {
  writeSettings("[Setting]\nViewGpsSpeedChart=yes\n");
  open();
  download(shortDrive());
  EXPECT_FALSE(window->chkGpsSpeedChart->isChecked());
}

}  // namespace
}  // namespace tellurix::testing
