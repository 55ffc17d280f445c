#include "ProfileFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tellurix::platform {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trimmedBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One line of the file: its content and the line end that followed it ("\n", "\r\n" or none).
struct Line {
  std::string_view content;
  std::string_view end;
};

std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = lf == std::string_view::npos ? text : text.substr(0, lf);
    std::size_t endSize = lf == std::string_view::npos ? 0 : 1;
    if (!line.empty() && line.back() == '\r' && endSize == 1) {
      line.remove_suffix(1);
      endSize = 2;
    }
    lines.push_back({line, text.substr(line.size(), endSize)});
    text.remove_prefix(line.size() + endSize);
  }
  return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> sectionName(std::string_view content) {
  const std::string_view t = trimmedBlanks(content);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const std::size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trimmedBlanks(t.substr(1, close - 1));
}

bool isKeyLine(std::string_view content, std::string_view key) {
  const std::size_t equals = content.find('=');
  return equals != std::string_view::npos && sameName(trimmedBlanks(content.substr(0, equals)), key);
}

// Where the section's lines lie: [header, end) with end the next section's header.
struct SectionRange {
  std::size_t header;
  std::size_t end;
};

std::optional<SectionRange> findSection(const std::vector<Line>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = sectionName(lines[i].content);
    if (!name || !sameName(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !sectionName(lines[end].content)) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line>& lines, const SectionRange& range,
                                   std::string_view key) {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    if (isKeyLine(lines[i].content, key)) return i;
  }
  return std::nullopt;
}

std::string singleLine(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

struct FileText {
  std::optional<std::string> text;  // nothing when the file could not be read whole
  bool missing = false;             // there is no file of that name
};

// Reads without exceptions: a folder of the name opens, and its first read fails.
FileText readFileText(const std::string& path) {
  FileText result;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) {
    result.missing = errno == ENOENT;
    return result;
  }
  std::string text;
  char block[4096];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, in)) > 0) text.append(block, got);
  const bool failed = std::ferror(in) != 0;
  std::fclose(in);
  if (!failed) result.text = std::move(text);
  return result;
}

}  // namespace

std::optional<std::string> profileValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  const std::vector<Line> lines = splitLines(text);
  const auto range = findSection(lines, section);
  if (!range) return std::nullopt;
  const auto at = findKey(lines, *range, key);
  if (!at) return std::nullopt;
  const std::string_view content = lines[*at].content;
  return std::string(trimmedBlanks(content.substr(content.find('=') + 1)));
}

std::string withProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
  std::string_view bom;
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    bom = text.substr(0, kByteOrderMark.size());
    text.remove_prefix(kByteOrderMark.size());
  }
  std::vector<Line> lines = splitLines(text);
  // New lines follow the file's own line ends.
  const std::string_view newline = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
  const std::string keyLine = std::string(key) + "=" + singleLine(value);
  const std::string header = "[" + std::string(section) + "]";

  std::vector<std::string_view> out;  // alternating contents and ends, in order
  auto emit = [&out](std::string_view content, std::string_view end) {
    out.push_back(content);
    out.push_back(end);
  };
  // The last line of the file gets a line end before anything is added after it.
  auto terminateLast = [&] {
    if (!out.empty() && out.back().empty()) out.back() = newline;
  };

  const auto range = findSection(lines, section);
  if (!range) {
    for (const Line& line : lines) emit(line.content, line.end);
    terminateLast();
    if (!lines.empty() && !trimmedBlanks(lines.back().content).empty()) emit("", newline);
    emit(header, newline);
    emit(keyLine, newline);
  } else if (const auto at = findKey(lines, *range, key)) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      emit(i == *at ? std::string_view(keyLine) : lines[i].content, lines[i].end);
    }
  } else {
    // After the section's last non-blank line, so blank lines before the next section stay there.
    std::size_t insertAt = range->header + 1;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
      if (!trimmedBlanks(lines[i].content).empty()) insertAt = i + 1;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i == insertAt) emit(keyLine, newline);
      emit(lines[i].content, lines[i].end);
      if (i + 1 == insertAt) terminateLast();
    }
    if (insertAt == lines.size()) emit(keyLine, newline);
  }

  std::string result(bom);
  for (const std::string_view part : out) result += part;
  return result;
}

std::optional<std::string> readProfileString(const std::string& path, std::string_view section,
                                             std::string_view key) {
  const FileText file = readFileText(path);
  if (!file.text) return std::nullopt;
  return profileValue(*file.text, section, key);
}

bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  const FileText file = readFileText(path);
  // A file that is there but cannot be read (a folder, no permission) is not replaced by one
  // that holds only this key: the others would be lost.
  if (!file.text && !file.missing) return false;
  const std::string updated = withProfileValue(file.text.value_or(""), section, key, value);

  const std::string temporary = path + ".new";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(updated.data(), 1, updated.size(), out) == updated.size();
  const bool closed = std::fclose(out) == 0;
  std::error_code error;
  if (!written || !closed) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace tellurix::platform
