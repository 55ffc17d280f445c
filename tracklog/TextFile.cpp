#include "TextFile.h"

#include <cstdarg>

#include "Errors.h"

namespace tellurix::tracklog {

bool OutputFile::open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "wb"));
  return file_ != nullptr;
}

void OutputFile::close() { file_.reset(); }

void openOrFail(OutputFile& file, const std::string& path, const char* message) {
  if (!file.open(path)) throw FatalError(message, 1);
}

void writeLine(std::FILE* out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(out, format, args);
  va_end(args);
  std::fputs("\r\n", out);
}

void writeText(std::FILE* out, const char* text) {
  std::fputs(text, out);
  std::fputs("\r\n", out);
}

void writeText(std::FILE* out, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), out);
  std::fputs("\r\n", out);
}

}  // namespace tellurix::tracklog
