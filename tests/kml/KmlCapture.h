#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tellurix::testing {

// The bytes a writer appends, captured through a memory stream.
template <class Write>
std::string written(Write&& write) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  write(out);
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  return bytes;
}

// The lines as a writer must give them: each one ended by CR LF, the last one included.
inline std::string crlfText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace tellurix::testing
