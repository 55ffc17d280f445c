#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string>

#include "tracklog/FieldSource.h"

class QCheckBox;

namespace tellurix::shell {

// The report's fields read from the window's controls at every call. Each field keeps its last
// text twice, as Qt gave it and as UTF-8, so a text that did not change is neither converted
// nor allocated again: the zone name is read once per log record.
class WindowFields final : public tracklog::FieldSource {
 public:
  using TextReader = std::function<QString()>;

  WindowFields(std::array<TextReader, tracklog::kFieldCount> readers, const QCheckBox* excelReports);
  WindowFields(const WindowFields&) = delete;
  WindowFields& operator=(const WindowFields&) = delete;
  WindowFields(WindowFields&&) = delete;
  WindowFields& operator=(WindowFields&&) = delete;
  ~WindowFields() override = default;

  std::string_view text(tracklog::Field field) override;
  bool excelReports() override;

 private:
  struct Cached {
    TextReader read;
    QString shown;
    std::string utf8;
    bool converted = false;
  };
  std::array<Cached, tracklog::kFieldCount> fields_;
  const QCheckBox* excelReports_;
};

}  // namespace tellurix::shell
