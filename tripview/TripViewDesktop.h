#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace tellurix::tripview {

// The dialogs of the trip view; the program uses Qt's, tests answer with scripted replies.
class TripViewDesktop {
 public:
  virtual ~TripViewDesktop() = default;
  // The file chosen for a picture, starting at `suggested`; nothing when cancelled.
  virtual std::optional<QString> choosePicturePath(QWidget* parent, const QString& suggested) = 0;
  virtual void showMessage(QWidget* parent, const QString& text) = 0;
};

class QtTripViewDesktop final : public TripViewDesktop {
 public:
  std::optional<QString> choosePicturePath(QWidget* parent, const QString& suggested) override;
  void showMessage(QWidget* parent, const QString& text) override;
};

}  // namespace tellurix::tripview
