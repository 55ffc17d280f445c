#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "MapSettings.h"
#include "map/TripData.h"

class QLabel;
class QFileDialog;
class QPushButton;
class QSplitter;

namespace tellurix::desktop {
class Desktop;
}

namespace tellurix::tripview {

class TileLoader;
class TripMapWidget;

struct TripViewOptions {
  MapSettings map;
  shellcore::ProfileStore* settings = nullptr;  // where the window's size is kept; null: not kept
  QString tileCacheFolder;                      // empty: $XDG_CACHE_HOME/tellurix/tiles
  int tileTimeoutMs = 10000;
};

// The trip view: the last report's trip on a map, in a window of its own. The map takes the
// window's space; panes of other views go below it or beside it, sharing the space through
// splitters.
//
// The controls are public under their own names (also their objectName), as the tests
// address them.
class TfrmTripView final : public QWidget {
 public:
  TfrmTripView(std::shared_ptr<const map::TripData> trip, TripViewOptions options, desktop::Desktop& desktop,
               QWidget* parent = nullptr);
  TfrmTripView(const TfrmTripView&) = delete;
  TfrmTripView& operator=(const TfrmTripView&) = delete;
  TfrmTripView(TfrmTripView&&) = delete;
  TfrmTripView& operator=(TfrmTripView&&) = delete;
  ~TfrmTripView() override;

  TripMapWidget* pbxMap;
  QPushButton* btnFitTrip;
  QPushButton* btnSavePicture;
  QLabel* lblTileStatus;
  QFileDialog* SavePictureDialog;

  [[nodiscard]] const std::shared_ptr<const map::TripData>& trip() const { return trip_; }
  [[nodiscard]] TileLoader* tiles() const { return tiles_.get(); }

  void addPaneBelow(QWidget* pane);
  void addPaneBeside(QWidget* pane);

  // Save Picture...: what the map shows, as PNG. The button runs it through
  // desktop::runCommand.
  void btnSavePictureClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void updateTileStatus();

  std::shared_ptr<const map::TripData> trip_;
  TripViewOptions options_;
  desktop::Desktop& desktop_;
  std::unique_ptr<TileLoader> tiles_;
  QSplitter* columns_;
  QSplitter* rows_;
};

}  // namespace tellurix::tripview
