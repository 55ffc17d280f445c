#include "TextFile.h"

#include <cstdarg>

#include "Errors.h"

namespace tellurix::tracklog {

bool OutputFile::open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "wb"));
  return file_ != nullptr;
}

void OutputFile::openOrFail(const std::string& path, const char* message) {
  failureMessage_ = message;
  if (!open(path)) throw FatalError(message, 1);
}

bool OutputFile::close() {
  std::FILE* file = file_.release();
  if (file == nullptr) return true;
  // A failed write leaves the error flag set, and may have dropped buffered bytes that the
  // final flush in fclose would not notice.
  const bool written = std::ferror(file) == 0;
  return std::fclose(file) == 0 && written;
}

void OutputFile::closeOrFail() {
  if (!close()) throw FatalError(failureMessage_, 1);
}

void openOrFail(OutputFile& file, const std::string& path, const char* message) {
  file.openOrFail(path, message);
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
