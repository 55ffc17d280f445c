#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "LogRecord.h"

namespace tellurix::tracklog {

// Reads a log file sequentially in whole records; the bytes of an incomplete last record are
// never returned.
class LogFileReader {
 public:
  LogFileReader() = default;
  LogFileReader(const LogFileReader&) = delete;
  LogFileReader& operator=(const LogFileReader&) = delete;

  bool open(const std::string& path);
  bool next(LogRecord& record);
  void close();
  [[nodiscard]] bool isOpen() const { return file_ != nullptr; }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
};

// The number of bytes of whole records in a log file of `size` bytes.
constexpr std::uint64_t wholeRecordBytes(std::uint64_t size) {
  return size - size % kLogRecordSize;
}

}  // namespace tellurix::tracklog
