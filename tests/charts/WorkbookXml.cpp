#include "WorkbookXml.h"

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <sstream>

#include "support/TestFiles.h"

namespace tellurix::testing {

namespace {

std::string unescaped(std::string text) {
  static const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities) {
    for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::strlen(entity), plain);
    }
  }
  return text;
}

std::string attributeOf(const std::string& tagText, const std::string& name) {
  std::smatch m;
  if (std::regex_search(tagText, m, std::regex("(?:^|\\s)" + name + "=\"([^\"]*)\""))) return unescaped(m[1]);
  return "";
}

std::vector<std::string> allMatches(const std::string& text, const std::regex& pattern, int group = 1) {
  std::vector<std::string> out;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator();
       ++it) {
    out.push_back((*it)[group]);
  }
  return out;
}

// The relationship target of `id`, or of the only relationship when `id` is empty.
std::string relationshipTarget(const std::string& rels, const std::string& id) {
  for (const std::string& tag : allMatches(rels, std::regex("<Relationship ([^>]*)/>"))) {
    if (id.empty() || attributeOf(tag, "Id") == id) return attributeOf(tag, "Target");
  }
  ADD_FAILURE() << "no relationship " << id << " in " << rels;
  return "";
}

// "../drawings/drawing1.xml" seen from xl/worksheets/ is xl/drawings/drawing1.xml.
std::string fromXlFolder(const std::string& target) {
  return target.rfind("../", 0) == 0 ? "xl/" + target.substr(3) : "xl/" + target;
}

std::string fileNameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

struct Styles {
  std::vector<CellStyle> byIndex;
};

Styles stylesOf(const std::string& xml) {
  std::map<std::string, std::string> formats{{"0", "General"}, {"9", "0%"}, {"10", "0.00%"}};
  const std::regex numFmtPattern("<numFmt ([^>]*)/>");
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), numFmtPattern); it != std::sregex_iterator();
       ++it) {
    formats[attributeOf((*it)[1], "numFmtId")] = attributeOf((*it)[1], "formatCode");
  }
  std::vector<std::string> fills;
  for (const std::string& fill : allMatches(element(xml, "fills"), std::regex("<fill>([\\s\\S]*?)</fill>"))) {
    std::smatch m;
    const bool solid = fill.find("patternType=\"solid\"") != std::string::npos;
    fills.push_back(solid && std::regex_search(fill, m, std::regex("<fgColor rgb=\"FF([0-9A-F]{6})\""))
                        ? m[1].str()
                        : "");
  }
  std::vector<bool> thinBorders;
  for (const std::string& border :
       allMatches(element(xml, "borders"), std::regex("<border>([\\s\\S]*?)</border>"))) {
    bool thin = true;
    for (const char* side : {"left", "right", "top", "bottom"}) {
      thin = thin && border.find(std::string("<") + side + " style=\"thin\"><color auto=\"1\"/>") !=
                         std::string::npos;
    }
    thinBorders.push_back(thin);
  }
  Styles styles;
  const std::string xfs = element(xml, "cellXfs");
  const std::regex xfPattern("<xf ([^>]*?)(?:/>|>([\\s\\S]*?)</xf>)");
  for (auto it = std::sregex_iterator(xfs.begin(), xfs.end(), xfPattern); it != std::sregex_iterator();
       ++it) {
    const std::string tag = (*it)[1];
    CellStyle style;
    style.numberFormat = formats[attributeOf(tag, "numFmtId")];
    style.fill = fills.at(std::stoul(attributeOf(tag, "fillId")));
    style.thinBorder = thinBorders.at(std::stoul(attributeOf(tag, "borderId")));
    style.centred =
        (*it)[2].str().find("<alignment horizontal=\"center\" vertical=\"center\"/>") != std::string::npos;
    styles.byIndex.push_back(style);
  }
  return styles;
}

}  // namespace

WorkbookXml::WorkbookXml(std::string path) : path_(std::move(path)) {}

std::string WorkbookXml::part(const std::string& name) const {
  if (const auto known = parts_.find(name); known != parts_.end()) return known->second;
  const CommandResult unzip = runCommand("unzip -p " + shellQuoted(path_) + " " + shellQuoted(name));
  EXPECT_EQ(unzip.status, 0) << "no part " << name << " in " << path_ << ": " << unzip.err;
  return parts_[name] = unzip.out;
}

std::vector<std::string> WorkbookXml::sheetNames() const {
  std::vector<std::string> names;
  for (const std::string& tag : allMatches(part("xl/workbook.xml"), std::regex("<sheet ([^>]*)/>"))) {
    names.push_back(attributeOf(tag, "name"));
  }
  return names;
}

std::string WorkbookXml::sheetPath(int sheet) const {
  const std::vector<std::string> tags = allMatches(part("xl/workbook.xml"), std::regex("<sheet ([^>]*)/>"));
  if (sheet < 1 || static_cast<std::size_t>(sheet) > tags.size()) {
    ADD_FAILURE() << "no sheet " << sheet;
    return "";
  }
  const std::string id = attributeOf(tags[static_cast<std::size_t>(sheet - 1)], "r:id");
  return fromXlFolder(relationshipTarget(part("xl/_rels/workbook.xml.rels"), id));
}

std::string WorkbookXml::sheetXml(int sheet) const {
  return part(sheetPath(sheet));
}

std::string WorkbookXml::drawingPath(int sheet) const {
  const std::string sheetFile = sheetPath(sheet);
  const std::string id = attributeOf(element(part(sheetFile), "drawing"), "r:id");
  return fromXlFolder(relationshipTarget(part("xl/worksheets/_rels/" + fileNameOf(sheetFile) + ".rels"), id));
}

std::string WorkbookXml::drawingXml(int sheet) const {
  return part(drawingPath(sheet));
}

std::string WorkbookXml::chartXml(int sheet) const {
  const std::string drawingFile = drawingPath(sheet);
  const std::string id = attribute(part(drawingFile), "<c:chart ", "r:id");
  return part(
      fromXlFolder(relationshipTarget(part("xl/drawings/_rels/" + fileNameOf(drawingFile) + ".rels"), id)));
}

std::map<std::string, Cell> WorkbookXml::cells(int sheet) const {
  const std::vector<std::string> strings =
      allMatches(part("xl/sharedStrings.xml"), std::regex("<si><t[^>]*>([\\s\\S]*?)</t></si>"));
  const Styles styles = stylesOf(part("xl/styles.xml"));
  const std::string xml = sheetXml(sheet);
  std::map<std::string, Cell> cells;
  const std::regex cellPattern("<c r=\"([A-Z]+[0-9]+)\"([^>]*?)(?:/>|>([\\s\\S]*?)</c>)");
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), cellPattern); it != std::sregex_iterator();
       ++it) {
    Cell cell;
    const std::string attributes = (*it)[2];
    const std::string s = attributeOf(attributes, "s");
    cell.style = styles.byIndex.at(s.empty() ? 0 : std::stoul(s));
    std::smatch v;
    const std::string content = (*it)[3];
    if (std::regex_search(content, v, std::regex("<v>([^<]*)</v>"))) {
      if (attributeOf(attributes, "t") == "s") {
        cell.kind = Cell::Kind::Text;
        cell.text = unescaped(strings.at(std::stoul(v[1])));
      } else {
        cell.kind = Cell::Kind::Number;
        cell.text = v[1];
      }
    }
    cells[(*it)[1]] = cell;
  }
  return cells;
}

std::string element(const std::string& xml, const std::string& tag) {
  std::smatch m;
  if (std::regex_search(xml, m, std::regex("<" + tag + "(?:\\s[^>]*)?(?:/>|>[\\s\\S]*?</" + tag + ">)"))) {
    return m[0];
  }
  return "";
}

std::string innerText(const std::string& xml, const std::string& tag) {
  std::smatch m;
  if (std::regex_search(xml, m, std::regex("<" + tag + "(?:\\s[^>]*)?>([^<]*)</" + tag + ">")))
    return unescaped(m[1]);
  return "";
}

std::string attribute(const std::string& xml, const std::string& tagStart, const std::string& name) {
  const std::size_t at = xml.find(tagStart);
  if (at == std::string::npos) return "";
  return attributeOf(xml.substr(at, xml.find('>', at) - at), name);
}

std::string richText(const std::string& xml) {
  std::string text;
  for (const std::string& run : allMatches(xml, std::regex("<a:t>([^<]*)</a:t>"))) text += unescaped(run);
  return text;
}

std::string cellListing(const WorkbookXml& workbook) {
  std::ostringstream out;
  const std::vector<std::string> names = workbook.sheetNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    for (const auto& [reference, cell] : workbook.cells(static_cast<int>(i + 1))) {
      out << names[i] << '!' << reference << ' ';
      switch (cell.kind) {
        case Cell::Kind::Blank:
          out << "blank";
          break;
        case Cell::Kind::Text:
          out << '"' << cell.text << '"';
          break;
        case Cell::Kind::Number:
          out << cell.text;
          break;
      }
      out << " [" << cell.style.numberFormat;
      if (!cell.style.fill.empty()) out << " fill " << cell.style.fill;
      if (cell.style.thinBorder) out << " border";
      if (cell.style.centred) out << " centred";
      out << "]\n";
    }
  }
  return out.str();
}

}  // namespace tellurix::testing
