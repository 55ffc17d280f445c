#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace tellurix::tracklog {

// An output file opened with "w" semantics in binary mode, so that the CR LF line ends the
// outputs carry are written as they stand. Closed when it goes out of scope.
class OutputFile {
 public:
  OutputFile() = default;

  bool open(const std::string& path);
  void close();
  [[nodiscard]] bool isOpen() const { return file_ != nullptr; }
  [[nodiscard]] std::FILE* get() const { return file_.get(); }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
};

// Opens `path` for writing or throws FatalError(message, 1): every output the program cannot
// write ends it with its role's message.
void openOrFail(OutputFile& file, const std::string& path, const char* message);

// One printf-formatted line followed by CR LF.
void writeLine(std::FILE* out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// A fixed line (no conversions) followed by CR LF.
void writeText(std::FILE* out, const char* text);
void writeText(std::FILE* out, const std::string& text);

}  // namespace tellurix::tracklog
