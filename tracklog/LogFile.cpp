#include "LogFile.h"

namespace tellurix::tracklog {

bool LogFileReader::open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "rb"));
  return file_ != nullptr;
}

bool LogFileReader::next(LogRecord& record) {
  return file_ && std::fread(record.data(), 1, record.size(), file_.get()) == record.size();
}

void LogFileReader::close() {
  file_.reset();
}

}  // namespace tellurix::tracklog
