#include "TripView.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "TileLoader.h"
#include "TripMapWidget.h"
#include "desktop/Command.h"
#include "desktop/Desktop.h"
#include "desktop/QtText.h"

namespace tellurix::tripview {
namespace {

using desktop::named;

constexpr WindowSize kDefaultSize{1000, 700};

std::unique_ptr<TileLoader> makeTileLoader(const TripViewOptions& options) {
  TileLoaderOptions loader;
  loader.urlTemplate = options.map.tileUrl;
  loader.cacheFolder = options.tileCacheFolder.isEmpty() ? defaultTileCacheFolder() : options.tileCacheFolder;
  loader.userAgent = tileUserAgent();
  loader.timeoutMs = options.tileTimeoutMs;
  return std::make_unique<TileLoader>(std::move(loader));
}

int failedTiles(const TileLoader& tiles, const map::MapView& view) {
  const std::vector<map::TileId> shown = map::tilesToLoad(view);
  return static_cast<int>(
      std::count_if(shown.begin(), shown.end(), [&](const map::TileId& t) { return tiles.hasFailed(t); }));
}

}  // namespace

TfrmTripView::TfrmTripView(std::shared_ptr<const map::TripData> trip, TripViewOptions options,
                           desktop::Desktop& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window),
      trip_(std::move(trip)),
      options_(std::move(options)),
      desktop_(desktop),
      tiles_(makeTileLoader(options_)) {
  setObjectName(QStringLiteral("frmTripView"));
  setWindowTitle(QStringLiteral("Trip Map"));
  pbxMap = named(new TripMapWidget(trip_, tiles_->enabled() ? tiles_.get() : nullptr,
                                   {QString::fromStdString(options_.map.attribution)}),
                 "pbxMap");
  btnFitTrip = named(new QPushButton(QStringLiteral("Fit Trip")), "btnFitTrip");
  btnSavePicture = named(new QPushButton(QStringLiteral("Save Picture...")), "btnSavePicture");
  lblTileStatus = named(new QLabel, "lblTileStatus");
  SavePictureDialog = named(new QFileDialog(this, QStringLiteral("Save Picture")), "SavePictureDialog");
  SavePictureDialog->setAcceptMode(QFileDialog::AcceptSave);
  SavePictureDialog->setFileMode(QFileDialog::AnyFile);
  SavePictureDialog->setNameFilter(QStringLiteral("PNG pictures (*.png)"));
  SavePictureDialog->setDefaultSuffix(QStringLiteral("png"));

  columns_ = named(new QSplitter(Qt::Horizontal), "splMapColumns");
  columns_->addWidget(pbxMap);
  rows_ = named(new QSplitter(Qt::Vertical), "splMapRows");
  rows_->addWidget(columns_);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnFitTrip);
  buttons->addWidget(btnSavePicture);
  buttons->addStretch();
  buttons->addWidget(lblTileStatus);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(rows_, 1);

  connect(btnFitTrip, &QPushButton::clicked, pbxMap, &TripMapWidget::fitTrip);
  connect(btnSavePicture, &QPushButton::clicked, this,
          [this] { desktop::runCommand(*this, desktop_, [this] { btnSavePictureClick(); }); });
  for (auto signal : {&TileLoader::tileLoaded, &TileLoader::tileFailed, &TileLoader::idle}) {
    connect(tiles_.get(), signal, this, &TfrmTripView::updateTileStatus);
  }
  connect(pbxMap, &TripMapWidget::viewChanged, this, &TfrmTripView::updateTileStatus);

  const WindowSize size = options_.settings == nullptr
                              ? kDefaultSize
                              : readTripViewSize(*options_.settings).value_or(kDefaultSize);
  resize(size.width, size.height);
  pbxMap->setFocus();  // + and − work at once
  updateTileStatus();
}

TfrmTripView::~TfrmTripView() = default;

void TfrmTripView::addPaneBelow(QWidget* pane) {
  rows_->addWidget(pane);
}

void TfrmTripView::addPaneBeside(QWidget* pane) {
  columns_->addWidget(pane);
}

void TfrmTripView::btnSavePictureClick() {
  const report::ReportNames& names = trip_->names;
  SavePictureDialog->selectFile(desktop::shownName(names.reportFolder + names.reportBaseName + "-map.png"));
  const std::optional<std::string> path = desktop_.runSaveDialog(*SavePictureDialog);
  if (!path) return;
  if (!pbxMap->picture().save(QString::fromStdString(*path), "PNG")) {
    desktop_.showMessage(
        this, QStringLiteral("The picture could not be written to %1.").arg(QString::fromStdString(*path)),
        windowTitle());
  }
}

void TfrmTripView::closeEvent(QCloseEvent* event) {
  if (options_.settings != nullptr) writeTripViewSize(*options_.settings, {width(), height()});
  QWidget::closeEvent(event);
}

void TfrmTripView::updateTileStatus() {
  QString text;
  if (!tiles_->enabled()) {
    text = QStringLiteral("Map tiles unavailable: no tile server is set");
  } else if (const int failed = failedTiles(*tiles_, pbxMap->view()); failed > 0) {
    text = QStringLiteral("Map tiles unavailable: %1 of this view could not be loaded").arg(failed);
  } else if (tiles_->busy()) {
    text = QStringLiteral("Loading map tiles...");
  }
  lblTileStatus->setText(text);
}

}  // namespace tellurix::tripview
