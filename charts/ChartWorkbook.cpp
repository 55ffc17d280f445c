#include "ChartWorkbook.h"

#include <locale.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "ChartSheets.h"

namespace tellurix::charts {

namespace {

// The colours users know from earlier chart files.
constexpr lxw_color_t kYellow = 0xFFFF00;
constexpr lxw_color_t kBrightGreen = 0x00FF00;
constexpr lxw_color_t kLightTurquoise = 0xCCFFFF;

// The chart's box on its sheet, in points. The library places and sizes charts in pixels at
// 96 dpi, starting from a 480 x 288 pixel chart.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr double kChartTopPt = 53;
constexpr double kChartWidthPt = 540;
constexpr double kChartHeightPt = 470;
constexpr double kDefaultChartWidthPx = 480;
constexpr double kDefaultChartHeightPx = 288;

constexpr lxw_row_t kSelectedRow = 34;  // A35, below the chart

struct TableFormats {
  lxw_format* corner = nullptr;      // A1
  lxw_format* rowHeading = nullptr;  // A2
  lxw_format* label = nullptr;       // row 1 from column B
  lxw_format* share = nullptr;       // row 2 from column B
};

lxw_format* cellFormat(lxw_workbook* workbook, bool percent, lxw_color_t fill) {
  lxw_format* format = workbook_add_format(workbook);
  if (format == nullptr) return nullptr;
  format_set_border(format, LXW_BORDER_THIN);
  format_set_align(format, LXW_ALIGN_CENTER);
  format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
  if (percent) format_set_num_format(format, "0.00%");
  if (fill != LXW_COLOR_UNSET) {
    format_set_pattern(format, LXW_PATTERN_SOLID);
    format_set_bg_color(format, fill);
  }
  return format;
}

bool addFormats(lxw_workbook* workbook, TableFormats& formats) {
  formats.corner = cellFormat(workbook, false, kYellow);
  formats.rowHeading = cellFormat(workbook, true, kBrightGreen);
  formats.label = cellFormat(workbook, false, LXW_COLOR_UNSET);
  formats.share = cellFormat(workbook, true, LXW_COLOR_UNSET);
  return formats.corner != nullptr && formats.rowHeading != nullptr && formats.label != nullptr &&
         formats.share != nullptr;
}

// The decimal a share reads as: 0.1234f is stored as 0.1234, not as its binary widening
// 0.12340000271797180, so the cell holds what the user sees.
double shareValue(float share) {
  std::array<char, 32> text{};
  const auto written = std::to_chars(text.data(), text.data() + text.size(), share);
  double value = 0;
  std::from_chars(text.data(), written.ptr, value);
  return value;
}

// The library cannot measure text, so columns are fitted to the longest text they show, in
// characters of the default font, with room for the cell's margins.
double fittedWidth(std::size_t longestText) {
  return static_cast<double>(longestText) + 1.5;
}

std::size_t shownLength(float share) {
  std::array<char, 32> text{};
  const int length = std::snprintf(text.data(), text.size(), "%.2f%%", static_cast<double>(share) * 100);
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

bool writeTable(lxw_worksheet* sheet, const ChartSheet& chartSheet, const TableFormats& formats) {
  constexpr const char* kRowHeading = "Percentage";
  bool ok = worksheet_write_string(sheet, 0, 0, chartSheet.cornerText, formats.corner) == LXW_NO_ERROR;
  ok = ok && worksheet_write_string(sheet, 1, 0, kRowHeading, formats.rowHeading) == LXW_NO_ERROR;
  const std::size_t headingLength = std::max(std::strlen(chartSheet.cornerText), std::strlen(kRowHeading));
  ok = ok && worksheet_set_column(sheet, 0, 0, fittedWidth(headingLength), nullptr) == LXW_NO_ERROR;

  for (std::size_t k = 0; ok && k < chartSheet.shares.size(); ++k) {
    const auto col = static_cast<lxw_col_t>(k + 1);
    const float share = chartSheet.shares[k];
    std::size_t longest = shownLength(share);
    if (k < chartSheet.labels.size()) {
      ok = worksheet_write_string(sheet, 0, col, chartSheet.labels[k], formats.label) == LXW_NO_ERROR;
      longest = std::max(longest, std::strlen(chartSheet.labels[k]));
    } else {
      // A unit without labels still gets the bordered, centred cells of the table.
      ok = worksheet_write_blank(sheet, 0, col, formats.label) == LXW_NO_ERROR;
    }
    ok = ok && worksheet_write_number(sheet, 1, col, shareValue(share), formats.share) == LXW_NO_ERROR;
    ok = ok && worksheet_set_column(sheet, col, col, fittedWidth(longest), nullptr) == LXW_NO_ERROR;
  }
  return ok;
}

void formatChart(lxw_chart* chart, lxw_chart_series* series, const ChartSheet& chartSheet) {
  chart_title_set_name(chart, chartSheet.chartTitle);
  lxw_chart_font titleFont{};
  titleFont.bold = LXW_TRUE;
  titleFont.size = 26;
  chart_title_set_name_font(chart, &titleFont);

  lxw_chart_fill background{};
  background.color = kLightTurquoise;
  chart_chartarea_set_fill(chart, &background);
  chart_plotarea_set_fill(chart, &background);
  chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);

  // Values only, printed like the cells they come from.
  chart_series_set_labels(series);
  chart_series_set_labels_options(series, LXW_FALSE, LXW_FALSE, LXW_TRUE);
  chart_series_set_labels_num_format(series, "0.00%");
  lxw_chart_font labelFont{};
  labelFont.size = 9;
  chart_series_set_labels_font(series, &labelFont);

  lxw_chart_fill columnFill{};
  columnFill.color = LXW_COLOR_BLACK;
  chart_series_set_fill(series, &columnFill);
  lxw_chart_line columnBorder{};
  columnBorder.color = LXW_COLOR_BLACK;
  columnBorder.width = 0.75F;  // a thin line
  columnBorder.dash_type = LXW_CHART_LINE_DASH_SOLID;
  chart_series_set_line(series, &columnBorder);

  lxw_chart_font axisTitleFont{};
  axisTitleFont.bold = LXW_TRUE;
  axisTitleFont.size = 23;
  lxw_chart_font tickFont{};
  tickFont.size = chartSheet.tickLabelSize;

  lxw_chart_axis* categories = chart->x_axis;
  chart_axis_set_name(categories, chartSheet.categoryTitle);
  chart_axis_set_name_font(categories, &axisTitleFont);
  chart_axis_set_num_font(categories, &tickFont);
  chart_axis_major_gridlines_set_visible(categories, LXW_TRUE);

  // From the automatic minimum up to 100 %, labelled every 5 %.
  lxw_chart_axis* values = chart->y_axis;
  chart_axis_set_name(values, "Segment Percentage");
  chart_axis_set_name_font(values, &axisTitleFont);
  chart_axis_set_max(values, 1);
  chart_axis_set_major_unit(values, 0.05);
  chart_axis_set_minor_unit(values, 0.01);
  chart_axis_set_num_format(values, "0%");
  chart_axis_set_num_font(values, &tickFont);
}

bool addChart(lxw_workbook* workbook, lxw_worksheet* sheet, const ChartSheet& chartSheet) {
  lxw_chart* chart = workbook_add_chart(workbook, LXW_CHART_COLUMN);  // clustered columns
  if (chart == nullptr) return false;
  // One series from the table's rows: labels in row 1, shares in row 2.
  lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
  if (series == nullptr) return false;
  const auto lastCol = static_cast<lxw_col_t>(chartSheet.shares.size());
  chart_series_set_categories(series, chartSheet.name, 0, 1, 0, lastCol);
  chart_series_set_values(series, chartSheet.name, 1, 1, 1, lastCol);
  formatChart(chart, series, chartSheet);

  lxw_chart_options placement{};
  placement.x_offset = 0;
  placement.y_offset = static_cast<std::int32_t>(std::lround(kChartTopPt * kPixelsPerPoint));
  placement.x_scale = kChartWidthPt * kPixelsPerPoint / kDefaultChartWidthPx;
  placement.y_scale = kChartHeightPt * kPixelsPerPoint / kDefaultChartHeightPx;
  return worksheet_insert_chart_opt(sheet, 0, 0, chart, &placement) == LXW_NO_ERROR;
}

bool buildWorkbook(lxw_workbook* workbook, const std::array<ChartSheet, 3>& chartSheets) {
  TableFormats formats;
  if (!addFormats(workbook, formats)) return false;
  for (const ChartSheet& chartSheet : chartSheets) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, chartSheet.name);
    if (sheet == nullptr) return false;
    if (!writeTable(sheet, chartSheet, formats)) return false;
    if (!addChart(workbook, sheet, chartSheet)) return false;
    worksheet_set_selection(sheet, kSelectedRow, 0, kSelectedRow, 0);
    // The chart is wider than a portrait page's print area: print each sheet on one page.
    worksheet_fit_to_pages(sheet, 1, 1);
  }
  return true;
}

// The library prints its numbers with printf, which follows the user's locale: a decimal comma
// ("0,1234") would corrupt the workbook. While it is in use this thread formats numbers the
// "C" way; the rest of the program keeps its locale.
class CNumbersOnThisThread {
 public:
  CNumbersOnThisThread() {
    const locale_t current = duplocale(uselocale(nullptr));
    if (current == nullptr) return;
    cNumbers_ = newlocale(LC_NUMERIC_MASK, "C", current);
    if (cNumbers_ == nullptr) {
      freelocale(current);
      return;
    }
    previous_ = uselocale(cNumbers_);
  }
  ~CNumbersOnThisThread() {
    if (cNumbers_ == nullptr) return;
    uselocale(previous_);
    freelocale(cNumbers_);
  }
  CNumbersOnThisThread(const CNumbersOnThisThread&) = delete;
  CNumbersOnThisThread& operator=(const CNumbersOnThisThread&) = delete;
  CNumbersOnThisThread(CNumbersOnThisThread&&) = delete;
  CNumbersOnThisThread& operator=(CNumbersOnThisThread&&) = delete;

  [[nodiscard]] bool active() const { return cNumbers_ != nullptr; }

 private:
  locale_t cNumbers_ = nullptr;
  locale_t previous_ = nullptr;
};

}  // namespace

bool WriteChartWorkbook(const ChartTables& tables, std::string_view unitText, const std::string& path) {
  const CNumbersOnThisThread cNumbers;
  if (!cNumbers.active()) return false;
  lxw_workbook* workbook = workbook_new(path.c_str());
  if (workbook == nullptr) return false;
  if (!buildWorkbook(workbook, chartSheetsFor(tables, unitText))) {
    // Nothing half-built reaches the disk.
    lxw_workbook_free(workbook);
    return false;
  }
  // Closing writes the file and frees the workbook, also when the file cannot be written.
  return workbook_close(workbook) == LXW_NO_ERROR;
}

}  // namespace tellurix::charts
