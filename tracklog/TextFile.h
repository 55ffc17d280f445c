#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace tellurix::tracklog {

// An output file opened with "w" semantics in binary mode, so that the CR LF line ends the
// outputs carry are written as they stand. Closed when it goes out of scope (unchecked: that
// happens when a run has already failed).
class OutputFile {
 public:
  OutputFile() = default;

  bool open(const std::string& path);
  // Opens `path` for writing or throws FatalError(message, 1); closeOrFail reports with the same
  // message.
  void openOrFail(const std::string& path, const char* message);
  // Closes the file: false when a write to it failed (a full disk, a short write) or the close
  // itself did. Closing a file that is not open is true.
  bool close();
  // Closes the file, throwing FatalError(message of openOrFail, 1) when close() is false: a file
  // that did not reach the disk whole must not pass for a finished output.
  void closeOrFail();
  [[nodiscard]] bool isOpen() const { return file_ != nullptr; }
  [[nodiscard]] std::FILE* get() const { return file_.get(); }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  const char* failureMessage_ = "file write open error";
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
