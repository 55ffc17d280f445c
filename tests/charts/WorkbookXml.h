#pragma once

#include <map>
#include <string>
#include <vector>

namespace tellurix::testing {

// How a cell looks, as far as the chart tables care.
struct CellStyle {
  std::string numberFormat;  // "General", "0.00%", ...
  std::string fill;          // solid fill colour as RRGGBB, empty for none
  bool thinBorder = false;   // thin on all four sides, automatic colour
  bool centred = false;      // horizontally and vertically
};

struct Cell {
  enum class Kind { Blank, Text, Number };
  Kind kind = Kind::Blank;
  std::string text;  // the string, or the number as stored
  CellStyle style;
};

// The parts of a written workbook, read through unzip, with the references between them resolved.
class WorkbookXml {
 public:
  explicit WorkbookXml(std::string path);

  [[nodiscard]] std::string part(const std::string& name) const;
  [[nodiscard]] std::vector<std::string> sheetNames() const;
  // Sheets counted from 1 in workbook order.
  [[nodiscard]] std::string sheetXml(int sheet) const;
  [[nodiscard]] std::string drawingXml(int sheet) const;
  [[nodiscard]] std::string chartXml(int sheet) const;
  // Cells by reference ("B2").
  [[nodiscard]] std::map<std::string, Cell> cells(int sheet) const;

 private:
  [[nodiscard]] std::string sheetPath(int sheet) const;
  [[nodiscard]] std::string drawingPath(int sheet) const;

  std::string path_;
  mutable std::map<std::string, std::string> parts_;  // each part is unzipped once
};

// The first <tag ...>...</tag> element of the text (the tag with its prefix), or "" when there is none.
std::string element(const std::string& xml, const std::string& tag);
// The unescaped text inside the first <tag>...</tag>, or "".
std::string innerText(const std::string& xml, const std::string& tag);
// The value of attribute `name` in the first tag that starts with `tagStart`, or "".
std::string attribute(const std::string& xml, const std::string& tagStart, const std::string& name);
// The texts of all <a:t> runs, joined.
std::string richText(const std::string& xml);

// One line per cell: "Speed Chart!B2 0.1234 [0.00% border centred]".
std::string cellListing(const WorkbookXml& workbook);

}  // namespace tellurix::testing
