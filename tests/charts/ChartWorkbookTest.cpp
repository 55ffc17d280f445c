#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "WorkbookXml.h"
#include "charts/ChartWorkbook.h"
#include "support/TestFiles.h"

namespace tellurix::charts {
namespace {

namespace fs = std::filesystem;
using testing::attribute;
using testing::Cell;
using testing::element;
using testing::innerText;
using testing::richText;
using testing::WorkbookXml;

// Distinct shares per column, some of which a careless float-to-double widening would garble.
ChartTables sampleTables() {
  ChartTables tables;
  tables.speed = {0.1234F, 0.25F, 0.1F,   1.0F / 3, 0.05F, 0.04F,  0.03F,
                  0.02F,   0.01F, 0.005F, 0.0025F,  0.0F,  0.0307F};
  tables.timeOfDay = {0.0F, 0.1F, 0.2F, 0.3F, 0.25F, 0.15F};
  tables.weekday = {0.01F, 0.02F, 0.03F, 0.04F, 0.5F, 0.15F, 0.25F};
  return tables;
}

class ChartWorkbookTest : public ::testing::Test {
 protected:
  WorkbookXml write(std::string_view unit, const ChartTables& tables = sampleTables()) {
    EXPECT_TRUE(WriteChartWorkbook(tables, unit, path()));
    return WorkbookXml(path());
  }
  [[nodiscard]] std::string path() const { return dir.file("trip-SpeedChart.xls"); }

  testing::TempDir dir;
};

TEST_F(ChartWorkbookTest, HasTheSpeedTimeAndWeekdaySheetsInThatOrder) {
  const std::vector<std::string> expected{"Speed Chart", "Time Chart", "Weekday Chart"};
  EXPECT_EQ(write("KPH").sheetNames(), expected);
}

struct UnitCase {
  const char* name;
  const char* unit;
  const char* golden;
};
void PrintTo(const UnitCase& c, std::ostream* os) {
  *os << c.name;
}

class ChartTableCellsTest : public ChartWorkbookTest, public ::testing::WithParamInterface<UnitCase> {};

// Every cell of the three tables: texts, shares, number formats, fills, borders, centring.
TEST_P(ChartTableCellsTest, MatchTheGoldenListing) {
  EXPECT_TRUE(testing::matchesGolden(GetParam().golden, testing::cellListing(write(GetParam().unit))));
}

INSTANTIATE_TEST_SUITE_P(Units, ChartTableCellsTest,
                         ::testing::Values(UnitCase{"kph_labels", "KPH", "charts/cells-KPH.txt"},
                                           UnitCase{"mph_labels_over_the_same_shares", "MPH",
                                                    "charts/cells-MPH.txt"},
                                           UnitCase{"lower_case_unit_leaves_the_speed_labels_empty", "kph",
                                                    "charts/cells-other-unit.txt"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChartWorkbookTest, SharesAreStoredAsTheDecimalsTheyReadAs) {
  ChartTables tables;
  tables.speed = {0.1234F, 1.0F / 3, 0.1F, 1.0F, 0.0F, 2.5e-5F};
  const std::map<std::string, Cell> cells = write("KPH", tables).cells(1);
  const std::pair<const char*, double> expected[] = {{"B2", 0.1234}, {"C2", 0.33333334}, {"D2", 0.1},
                                                     {"E2", 1.0},    {"F2", 0.0},        {"G2", 2.5e-5}};
  for (const auto& [reference, value] : expected) {
    const Cell& cell = cells.at(reference);
    EXPECT_EQ(cell.kind, Cell::Kind::Number) << reference;
    EXPECT_EQ(std::stod(cell.text), value) << reference << " stored as " << cell.text;
    EXPECT_EQ(cell.style.numberFormat, "0.00%") << reference;
  }
}

TEST_F(ChartWorkbookTest, AnUnknownUnitStillGetsItsSpeedChart) {
  const std::string chart = write("kph").chartXml(1);
  EXPECT_EQ(innerText(element(chart, "c:cat"), "c:f"), "'Speed Chart'!$B$1:$N$1");
  EXPECT_EQ(innerText(element(chart, "c:val"), "c:f"), "'Speed Chart'!$B$2:$N$2");
  EXPECT_EQ(richText(element(chart, "c:title")), "GPS Speed Chart");
}

// The user's locale (the window toolkit adopts it) may print numbers with a decimal comma.
class CommaLocale {
 public:
  CommaLocale() : active_(std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {}
  ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;
  [[nodiscard]] bool active() const { return active_; }

 private:
  bool active_;
};

TEST_F(ChartWorkbookTest, NumbersKeepTheirDecimalPointUnderACommaLocale) {
  const CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no de_DE.UTF-8 locale (tools/install-deps.sh makes it)";
  const WorkbookXml workbook = write("KPH");

  EXPECT_EQ(workbook.cells(1).at("B2").text, "0.1234");
  const std::string chart = workbook.chartXml(1);
  EXPECT_EQ(attribute(chart, "<c:majorUnit ", "val"), "0.05");
  EXPECT_EQ(attribute(chart, "<c:minorUnit ", "val"), "0.01");
  const std::regex decimalComma("[\">]-?[0-9]+,[0-9]+[\"<]");
  for (int sheet = 1; sheet <= 3; ++sheet) {
    for (const std::string& xml :
         {workbook.sheetXml(sheet), workbook.chartXml(sheet), workbook.drawingXml(sheet)}) {
      std::smatch m;
      EXPECT_FALSE(std::regex_search(xml, m, decimalComma)) << "sheet " << sheet << ": " << m.str();
    }
  }
  // The rest of the program keeps the user's way of printing numbers.
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%.1f", 0.5);
  EXPECT_STREQ(text.data(), "0,5");
}

struct ChartCase {
  const char* name;
  int sheet;
  const char* categories;
  const char* values;
  const char* title;
  const char* categoryTitle;
  const char* tickSize;  // hundredths of a point
};
void PrintTo(const ChartCase& c, std::ostream* os) {
  *os << c.name;
}

class SheetChartTest : public ChartWorkbookTest, public ::testing::WithParamInterface<ChartCase> {
 protected:
  void SetUp() override { chart = write("KPH").chartXml(GetParam().sheet); }
  std::string chart;
};

TEST_P(SheetChartTest, IsOneClusteredColumnSeriesOverTheTableRows) {
  const std::string bars = element(chart, "c:barChart");
  EXPECT_EQ(attribute(bars, "<c:barDir ", "val"), "col");
  EXPECT_EQ(attribute(bars, "<c:grouping ", "val"), "clustered");
  const std::string series = element(bars, "c:ser");
  EXPECT_EQ(bars.find("<c:ser>", bars.find("</c:ser>")), std::string::npos) << "more than one series";
  EXPECT_EQ(innerText(element(series, "c:cat"), "c:f"), GetParam().categories);
  EXPECT_EQ(innerText(element(series, "c:val"), "c:f"), GetParam().values);
}

TEST_P(SheetChartTest, HasItsBoldTitleOnTurquoiseAndNoLegend) {
  const std::string title = element(chart.substr(0, chart.find("<c:plotArea>")), "c:title");
  EXPECT_EQ(richText(title), GetParam().title);
  EXPECT_NE(title.find("sz=\"2600\" b=\"1\""), std::string::npos) << title;
  EXPECT_EQ(chart.find("<c:legend>"), std::string::npos);
  const std::string chartArea = element(chart.substr(chart.find("</c:chart>")), "c:spPr");
  const std::string plotArea = element(chart.substr(chart.find("</c:valAx>")), "c:spPr");
  for (const std::string& area : {chartArea, plotArea}) {
    EXPECT_EQ(attribute(area, "<a:srgbClr ", "val"), "CCFFFF") << area;
  }
}

TEST_P(SheetChartTest, ShowsBlackColumnsWithTheirValuesOnly) {
  const std::string series = element(chart, "c:ser");
  const std::string look = element(series, "c:spPr");
  EXPECT_EQ(attribute(look, "<a:srgbClr ", "val"), "000000") << look;
  const std::string border = element(look, "a:ln");
  EXPECT_EQ(attribute(border, "<a:ln ", "w"), "9525");  // 0.75 pt
  EXPECT_EQ(attribute(border, "<a:srgbClr ", "val"), "000000") << border;

  const std::string labels = element(series, "c:dLbls");
  EXPECT_EQ(attribute(labels, "<c:showVal ", "val"), "1") << labels;
  for (const char* other : {"showLegendKey", "showCatName", "showSerName", "showPercent", "showBubbleSize"}) {
    EXPECT_NE(attribute(labels, std::string("<c:") + other + " ", "val"), "1") << other;
  }
  EXPECT_EQ(attribute(labels, "<a:defRPr ", "sz"), "900");
  EXPECT_EQ(attribute(labels, "<c:numFmt ", "formatCode"), "0.00%");
}

TEST_P(SheetChartTest, CategoryAxisHasItsTitleTickSizeAndGridlines) {
  const std::string axis = element(chart, "c:catAx");
  const std::string title = element(axis, "c:title");
  EXPECT_EQ(richText(title), GetParam().categoryTitle);
  EXPECT_EQ(attribute(title, "<a:rPr ", "sz"), "2300");
  EXPECT_EQ(attribute(element(axis, "c:txPr"), "<a:defRPr ", "sz"), GetParam().tickSize);
  EXPECT_NE(axis.find("<c:majorGridlines/>"), std::string::npos);
}

TEST_P(SheetChartTest, ValueAxisRunsFromTheAutomaticMinimumToOneInFivePercentSteps) {
  const std::string axis = element(chart, "c:valAx");
  const std::string title = element(axis, "c:title");
  EXPECT_EQ(richText(title), "Segment Percentage");
  EXPECT_EQ(attribute(title, "<a:rPr ", "sz"), "2300");
  const std::string scaling = element(axis, "c:scaling");
  EXPECT_EQ(attribute(scaling, "<c:orientation ", "val"), "minMax");
  EXPECT_EQ(attribute(scaling, "<c:max ", "val"), "1");
  EXPECT_EQ(scaling.find("<c:min "), std::string::npos) << scaling;
  EXPECT_EQ(scaling.find("<c:logBase "), std::string::npos) << scaling;
  EXPECT_EQ(attribute(axis, "<c:majorUnit ", "val"), "0.05");
  EXPECT_EQ(attribute(axis, "<c:minorUnit ", "val"), "0.01");
  EXPECT_EQ(attribute(axis, "<c:crosses ", "val"), "autoZero");
  EXPECT_EQ(axis.find("<c:dispUnits>"), std::string::npos);
  EXPECT_EQ(attribute(axis, "<c:numFmt ", "formatCode"), "0%");
  EXPECT_EQ(attribute(element(axis, "c:txPr"), "<a:defRPr ", "sz"), GetParam().tickSize);
  EXPECT_NE(axis.find("<c:majorGridlines/>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, SheetChartTest,
    ::testing::Values(ChartCase{"speed", 1, "'Speed Chart'!$B$1:$N$1", "'Speed Chart'!$B$2:$N$2",
                                "GPS Speed Chart", "Speed Segment", "900"},
                      ChartCase{"time", 2, "'Time Chart'!$B$1:$G$1", "'Time Chart'!$B$2:$G$2",
                                "GPS Time Chart", "Time Segment", "900"},
                      ChartCase{"weekday", 3, "'Weekday Chart'!$B$1:$H$1", "'Weekday Chart'!$B$2:$H$2",
                                "GPS Weekday Chart", "Weekday Segment", "1100"}),
    [](const auto& info) { return std::string(info.param.name); });

constexpr long kEmuPerPoint = 12700;
constexpr long kEmuPerPixel = 9525;
constexpr long kRowEmu = 15 * kEmuPerPoint;  // the default row height

long number(const std::string& xml, const std::string& tag) {
  return std::stol(innerText(xml, tag));
}

// Column widths as stored are whole pixels at 7 pixels per character; unlisted columns are 64 pixels.
long columnLeftEmu(const std::string& sheet, long col) {
  long px = 0;
  for (long c = 0; c < col; ++c) {
    long width = 64;
    const std::string tag = "<col min=\"" + std::to_string(c + 1) + "\" ";
    if (sheet.find(tag) != std::string::npos)
      width = std::lround(std::stod(attribute(sheet, tag, "width")) * 7);
    px += width;
  }
  return px * kEmuPerPixel;
}

TEST_F(ChartWorkbookTest, EachChartSitsBelowItsTableAt540By470PointsWithA35Selected) {
  const WorkbookXml workbook = write("KPH");
  for (int sheet = 1; sheet <= 3; ++sheet) {
    SCOPED_TRACE("sheet " + std::to_string(sheet));
    const std::string sheetXml = workbook.sheetXml(sheet);
    EXPECT_EQ(attribute(sheetXml, "<selection ", "activeCell"), "A35");
    EXPECT_EQ(attribute(sheetXml, "<selection ", "sqref"), "A35");

    const std::string drawing = workbook.drawingXml(sheet);
    const std::string from = element(drawing, "xdr:from");
    const std::string to = element(drawing, "xdr:to");
    const long left = columnLeftEmu(sheetXml, number(from, "xdr:col")) + number(from, "xdr:colOff");
    const long right = columnLeftEmu(sheetXml, number(to, "xdr:col")) + number(to, "xdr:colOff");
    const long top = number(from, "xdr:row") * kRowEmu + number(from, "xdr:rowOff");
    const long bottom = number(to, "xdr:row") * kRowEmu + number(to, "xdr:rowOff");
    EXPECT_EQ(left, 0);
    // Objects are placed in whole pixels: 53 pt is 70.67 px.
    EXPECT_LE(std::abs(top - 53 * kEmuPerPoint), kEmuPerPixel / 2) << top;
    EXPECT_EQ(right - left, 540 * kEmuPerPoint);
    EXPECT_EQ(bottom - top, 470 * kEmuPerPoint);
  }
}

TEST_F(ChartWorkbookTest, ReplacesAnEarlierFile) {
  testing::writeFile(path(), "not a workbook");
  const std::map<std::string, Cell> cells = write("MPH").cells(1);
  EXPECT_EQ(cells.at("B1").text, "0~6");
}

struct FailureCase {
  const char* name;
  const char* relativePath;
  bool makeFolder;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class ChartWorkbookFailureTest : public ChartWorkbookTest,
                                 public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ChartWorkbookFailureTest, ReportsThatNothingWasWritten) {
  const fs::path target = dir.path() / GetParam().relativePath;
  if (GetParam().makeFolder) fs::create_directories(target);
  EXPECT_FALSE(WriteChartWorkbook(sampleTables(), "KPH", target.string()));
  EXPECT_FALSE(fs::is_regular_file(target));
}

INSTANTIATE_TEST_SUITE_P(Paths, ChartWorkbookFailureTest,
                         ::testing::Values(FailureCase{"missing_folder", "gone/trip-SpeedChart.xls", false},
                                           FailureCase{"folder_in_the_way", "trip-SpeedChart.xls", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tellurix::charts
