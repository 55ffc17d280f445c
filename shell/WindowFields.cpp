#include "WindowFields.h"

#include <QCheckBox>

namespace tellurix::shell {

WindowFields::WindowFields(std::array<TextReader, tracklog::kFieldCount> readers,
                           const QCheckBox* excelReports)
    : excelReports_(excelReports) {
  for (std::size_t i = 0; i < readers.size(); ++i) fields_[i].read = std::move(readers[i]);
}

std::string_view WindowFields::text(tracklog::Field field) {
  Cached& cached = fields_[static_cast<std::size_t>(field)];
  const QString current = cached.read();
  if (!cached.converted || current != cached.shown) {
    const QByteArray utf8 = current.toUtf8();
    cached.utf8.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    cached.shown = current;
    cached.converted = true;
  }
  return cached.utf8;
}

bool WindowFields::excelReports() {
  return excelReports_->isChecked();
}

}  // namespace tellurix::shell
