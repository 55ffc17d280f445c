#include "IniFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace tellurix::platform {
namespace {

std::string_view trimmedView(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::optional<std::string> readIniValue(const std::string& path, std::string_view section,
                                        std::string_view key) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  bool inSection = false;
  std::string raw;
  while (std::getline(in, raw)) {
    const std::string_view line = trimmedView(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      inSection =
          close != std::string_view::npos && sameName(trimmedView(line.substr(1, close - 1)), section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos ||
        !sameName(trimmedView(line.substr(0, equals)), key)) {
      continue;
    }
    std::string_view value = trimmedView(line.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return std::nullopt;
}

}  // namespace tellurix::platform
