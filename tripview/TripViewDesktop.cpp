#include "TripViewDesktop.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tellurix::tripview {

std::optional<QString> QtTripViewDesktop::choosePicturePath(QWidget* parent, const QString& suggested) {
  const QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save Picture"), suggested,
                                                    QStringLiteral("PNG pictures (*.png)"));
  if (path.isEmpty()) return std::nullopt;
  return path;
}

void QtTripViewDesktop::showMessage(QWidget* parent, const QString& text) {
  QMessageBox::warning(parent, QStringLiteral("Trip Map"), text);
}

}  // namespace tellurix::tripview
