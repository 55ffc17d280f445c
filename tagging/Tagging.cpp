#include "Tagging.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <set>
#include <utility>

#include "PhotoCommands.h"
#include "PhotoPath.h"
#include "PhotoPreview.h"
#include "desktop/Command.h"
#include "desktop/CommandsHeld.h"
#include "desktop/Desktop.h"
#include "desktop/QtText.h"
#include "shellcore/SettingsFile.h"

namespace tellurix::tagging {
namespace {

using desktop::named;
using desktop::qtText;
using desktop::shownName;

// An offset field: the integers from `largest` down to -`largest`, "0" at first.
QComboBox* offsetField(QWidget* parent, const char* name, int largest, int longestText) {
  auto* box = named(new QComboBox(parent), name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);  // a typed text must not become a list item
  box->setCompleter(nullptr);                 // "1" must stay "1", not complete to "10"
  for (int n = largest; n >= -largest; --n) box->addItem(QString::number(n));
  box->setCurrentIndex(box->findText(QStringLiteral("0")));
  box->lineEdit()->setMaxLength(longestText);
  box->setMaxVisibleItems(15);
  return box;
}

QLineEdit* timeDisplay(QWidget* parent, const char* name) {
  auto* edit = named(new QLineEdit(parent), name);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, QColor(255, 255, 0));
  palette.setColor(QPalette::Text, QColor(0, 0, 0));
  edit->setPalette(palette);
  return edit;
}

// Whether every character of a typed text may go into an offset field.
bool acceptsOffsetText(const QString& text) {
  const auto characters = text.toUcs4();
  return std::all_of(characters.begin(), characters.end(),
                     [](auto c) { return acceptsOffsetKey(static_cast<char32_t>(c)); });
}

class StripedRows final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->backgroundBrush = lsvPhotoRowColour(index.row());
  }
};

constexpr std::array<const char*, 4> kColumnTitles{"Name", "Date", "Latitude", "Longitude"};
constexpr std::array<int, 4> kColumnWidths{120, 120, 80, 80};
// The longest text of each column; with the desktop's font a column is widened to show it whole.
constexpr std::array<const char*, 4> kColumnSamples{"IMG_0000.JPG", "0000/00/00 00:00:00", "(-00.000000)",
                                                    "(-000.000000)"};

}  // namespace

QColor lsvPhotoRowColour(int row) {
  return row % 2 == 0 ? QColor(224, 255, 255) : QApplication::palette().color(QPalette::ToolTipBase);
}

// What the core's photo commands see of the window.
class TfrmTagging::Ui final : public TaggingUi {
 public:
  explicit Ui(TfrmTagging& window) : window_(window) {}
  void processEvents() override { window_.processEvents(); }
  void setStatusText(std::string_view text) override { window_.setStatusText(text); }
  void showOkCancel(std::string_view text, std::string_view caption) override {
    window_.desktop_.showOkCancel(&window_, qtText(text), qtText(caption));
  }

 private:
  TfrmTagging& window_;
};

// The four offset fields as the camera clock reads and resets them.
class TfrmTagging::OffsetFields final : public ClockFields {
 public:
  explicit OffsetFields(std::array<QComboBox*, kClockFieldCount> boxes) : boxes_(boxes) {}
  std::string_view text(ClockField field) override {
    const auto i = static_cast<std::size_t>(field);
    texts_[i] = boxes_[i]->currentText().toStdString();
    return texts_[i];
  }
  void setText(ClockField field, std::string_view text) override {
    boxes_[static_cast<std::size_t>(field)]->setEditText(qtText(text));
  }
  [[nodiscard]] const std::array<QComboBox*, kClockFieldCount>& boxes() const { return boxes_; }

 private:
  std::array<QComboBox*, kClockFieldCount> boxes_;
  std::array<std::string, kClockFieldCount> texts_;
};

TfrmTagging::TfrmTagging(report::ReportSession& session, tracklog::FieldSource& fields, QWidget* mainWindow,
                         desktop::Desktop& desktop, shellcore::ProfileStore& settings)
    : QWidget(nullptr, Qt::Window),
      session_(session),
      fields_(fields),
      mainWindow_(mainWindow),
      desktop_(desktop),
      settings_(settings),
      listFolder_(session.names.reportFolder),
      ui_(std::make_unique<Ui>(*this)) {
  // FormCreate. Date-time texts are built by the program itself in 24-hour form, so the
  // desktop's time format is left alone.
  setObjectName(QStringLiteral("frmTagging"));
  setWindowTitle(QStringLiteral("Photo Tagging"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  createControls();
  layOutControls();
  connectCommands();
  clearPreview();
  tmrAdjust->start();
}

TfrmTagging::~TfrmTagging() = default;

void TfrmTagging::createControls() {
  gpbPhoto = named(new QGroupBox(QStringLiteral("Photo"), this), "gpbPhoto");
  lsvPhoto = named(new QTableWidget(0, 4, gpbPhoto), "lsvPhoto");
  QStringList titles;
  for (const char* title : kColumnTitles) titles << QString::fromLatin1(title);
  lsvPhoto->setHorizontalHeaderLabels(titles);
  for (std::size_t c = 0; c < kColumnWidths.size(); ++c) {
    const int text = lsvPhoto->fontMetrics().horizontalAdvance(QString::fromLatin1(kColumnSamples[c])) + 12;
    lsvPhoto->setColumnWidth(static_cast<int>(c), std::max(kColumnWidths[c], text));
  }
  lsvPhoto->horizontalHeader()->setStretchLastSection(false);
  lsvPhoto->horizontalHeader()->setHighlightSections(false);
  lsvPhoto->horizontalHeader()->setSectionsClickable(true);
  lsvPhoto->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lsvPhoto->verticalHeader()->hide();
  lsvPhoto->verticalHeader()->setDefaultSectionSize(lsvPhoto->fontMetrics().height() + 6);
  lsvPhoto->setShowGrid(true);
  lsvPhoto->setSelectionBehavior(QAbstractItemView::SelectRows);
  lsvPhoto->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lsvPhoto->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lsvPhoto->setWordWrap(false);
  lsvPhoto->setFrameShape(QFrame::NoFrame);
  lsvPhoto->setItemDelegate(new StripedRows(lsvPhoto));

  btnLoad = named(new QPushButton(QStringLiteral("Load ..."), gpbPhoto), "btnLoad");
  btnRemove = named(new QPushButton(QStringLiteral("Remove"), gpbPhoto), "btnRemove");
  btnMake = named(new QPushButton(QStringLiteral("Make Photo Path"), gpbPhoto), "btnMake");
  btnClose = named(new QPushButton(QStringLiteral("Close"), gpbPhoto), "btnClose");
  chkWriteExif =
      named(new QCheckBox(QStringLiteral("Write positions into photo copies"), gpbPhoto), "chkWriteExif");
  chkWriteExif->setChecked(shellcore::readPhotoPositionsPreference(settings_).value_or(true));

  gpbTime = named(new QGroupBox(QStringLiteral("Camera time Adjustment"), this), "gpbTime");
  lblDay = named(new QLabel(QStringLiteral("Day"), gpbTime), "lblDay");
  lblHour = named(new QLabel(QStringLiteral("Hour"), gpbTime), "lblHour");
  lblMinute = named(new QLabel(QStringLiteral("Minute"), gpbTime), "lblMinute");
  lblSecond = named(new QLabel(QStringLiteral("Second"), gpbTime), "lblSecond");
  cboDay = offsetField(gpbTime, "cboDay", 30, 5);
  cboHour = offsetField(gpbTime, "cboHour", 23, 3);
  cboMinute = offsetField(gpbTime, "cboMinute", 59, 3);
  cboSecond = offsetField(gpbTime, "cboSecond", 59, 3);
  lblSystemTime = named(new QLabel(QStringLiteral("System Time"), gpbTime), "lblSystemTime");
  edtSystemTime = timeDisplay(gpbTime, "edtSystemTime");
  lblCameraTime = named(new QLabel(QStringLiteral("Camera Time"), gpbTime), "lblCameraTime");
  edtCameraTime = timeDisplay(gpbTime, "edtCameraTime");
  btnApplyAdjustment =
      named(new QPushButton(QStringLiteral("Apply Adjustment"), gpbTime), "btnApplyAdjustment");
  offsetFields_ = std::make_unique<OffsetFields>(
      std::array<QComboBox*, kClockFieldCount>{cboDay, cboHour, cboMinute, cboSecond});
  // The box has the keyboard focus and hands keys and input method texts straight on to its
  // text field, past any filter there: both are filtered.
  for (QComboBox* box : offsetFields_->boxes()) {
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
  }

  gpbPriview = named(new QGroupBox(QStringLiteral("Priview"), this), "gpbPriview");
  imgPriview = named(new QLabel(gpbPriview), "imgPriview");
  imgPriview->setFixedSize(kPreviewBox.width, kPreviewBox.height);
  imgPriview->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  StatusBar1 = named(new QStatusBar(this), "StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  const std::array<int, 2> panelWidths{700, 50};
  for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
    statusPanels_[i] = new QLabel(StatusBar1);
    statusPanels_[i]->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
    statusPanels_[i]->setFixedWidth(panelWidths[i]);
    StatusBar1->addWidget(statusPanels_[i], i == 0 ? 1 : 0);
  }
  statusPanels_[0]->setText(QStringLiteral("Ready"));

  opdLoad = named(new QFileDialog(this), "opdLoad");
  opdLoad->setFileMode(QFileDialog::ExistingFiles);
  opdLoad->setAcceptMode(QFileDialog::AcceptOpen);
  opdLoad->setNameFilters({QStringLiteral("Photos (*.jpg *.jpeg)"), QStringLiteral("All Files (*)")});
  opdLoad->setWindowTitle(QStringLiteral("Open"));

  tmrAdjust = named(new QTimer(this), "tmrAdjust");
  tmrAdjust->setInterval(10);
}

void TfrmTagging::layOutControls() {
  // The list shows its four columns whole.
  int listWidth = 0;
  for (int c = 0; c < lsvPhoto->columnCount(); ++c) listWidth += lsvPhoto->columnWidth(c);
  lsvPhoto->setMinimumSize(listWidth + lsvPhoto->verticalScrollBar()->sizeHint().width() + 2, 320);
  auto* listButtons = new QHBoxLayout;
  for (QPushButton* button : {btnLoad, btnRemove, btnMake, btnClose}) listButtons->addWidget(button);
  auto* photo = new QVBoxLayout(gpbPhoto);
  photo->addWidget(lsvPhoto, 1);
  photo->addWidget(chkWriteExif);
  photo->addLayout(listButtons);

  auto* clock = new QGridLayout(gpbTime);
  clock->setHorizontalSpacing(8);
  const std::array<QLabel*, 4> labels{lblDay, lblHour, lblMinute, lblSecond};
  const std::array<QComboBox*, 4> boxes{cboDay, cboHour, cboMinute, cboSecond};
  for (int i = 0; i < 4; ++i) {
    clock->addWidget(labels[static_cast<std::size_t>(i)], 0, i);
    clock->addWidget(boxes[static_cast<std::size_t>(i)], 1, i);
  }
  const int timeWidth =
      edtSystemTime->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00:00")) + 16;
  edtSystemTime->setMinimumWidth(timeWidth);
  edtCameraTime->setMinimumWidth(timeWidth);
  clock->addWidget(lblSystemTime, 2, 0, 1, 2);
  clock->addWidget(lblCameraTime, 2, 2, 1, 2);
  clock->addWidget(edtSystemTime, 3, 0, 1, 2);
  clock->addWidget(edtCameraTime, 3, 2, 1, 2);
  clock->addWidget(btnApplyAdjustment, 4, 2, 1, 2);

  auto* preview = new QVBoxLayout(gpbPriview);
  preview->addWidget(imgPriview, 0, Qt::AlignLeft | Qt::AlignTop);
  preview->addStretch();

  auto* right = new QVBoxLayout;
  right->addWidget(gpbTime);
  right->addWidget(gpbPriview, 1);

  auto* body = new QHBoxLayout;
  body->addWidget(gpbPhoto, 1);
  body->addLayout(right);

  auto* window = new QVBoxLayout(this);
  window->setSizeConstraint(QLayout::SetFixedSize);  // fixed size, fitted to the desktop's font
  window->setContentsMargins(6, 6, 6, 0);
  window->addLayout(body, 1);
  window->addWidget(StatusBar1);
  window->activate();
  // Panel 0 gives way where the window is narrower than the two panels.
  statusPanels_[0]->setMinimumWidth(0);
  statusPanels_[0]->setMaximumWidth(700);
}

void TfrmTagging::connectCommands() {
  auto on = [this](QPushButton* button, void (TfrmTagging::*handler)()) {
    connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
  };
  on(btnLoad, &TfrmTagging::btnLoadClick);
  on(btnRemove, &TfrmTagging::btnRemoveClick);
  on(btnMake, &TfrmTagging::btnMakeClick);
  on(btnClose, &TfrmTagging::btnCloseClick);
  on(btnApplyAdjustment, &TfrmTagging::btnApplyAdjustmentClick);
  connect(lsvPhoto, &QAbstractItemView::clicked, this, [this] { lsvPhotoClick(); });
  connect(lsvPhoto->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { lsvPhotoColumnClick(column); });
  connect(tmrAdjust, &QTimer::timeout, this, &TfrmTagging::tmrAdjustTimer);
  connect(chkWriteExif, &QCheckBox::toggled, this,
          [this](bool checked) { shellcore::writePhotoPositionsPreference(settings_, checked); });
}

// --- Status, events, the list view ---

QString TfrmTagging::statusText(int panel) const {
  return statusPanels_.at(static_cast<std::size_t>(panel))->text();
}

void TfrmTagging::setStatusText(std::string_view text) {
  statusPanels_[0]->setText(qtText(text));
}

void TfrmTagging::processEvents() {
  if (sinceEvents_.isValid() && sinceEvents_.elapsed() < 10) return;
  showNewRows();
  QCoreApplication::processEvents();
  sinceEvents_.start();
}

void TfrmTagging::command(const std::function<void()>& body) {
  {
    const desktop::CommandsHeld held(
        *this, {btnLoad, btnRemove, btnMake, btnClose, btnApplyAdjustment, chkWriteExif});
    // Nor does a sort reorder the list it walks, nor a close hide it (closeEvent).
    QHeaderView* header = lsvPhoto->horizontalHeader();
    const bool sortable = header->sectionsClickable();
    header->setSectionsClickable(false);
    busy_ = true;
    sinceEvents_.invalidate();
    desktop::runCommand(*this, desktop_, body);
    busy_ = false;
    header->setSectionsClickable(sortable);
  }
  showRows();
}

void TfrmTagging::showRows() {
  std::set<std::string> selected;
  for (const QModelIndex& index : lsvPhoto->selectionModel()->selectedRows()) {
    if (const QTableWidgetItem* item = lsvPhoto->item(index.row(), 0)) {
      selected.insert(item->data(Qt::UserRole).toByteArray().toStdString());
    }
  }
  lsvPhoto->clearSelection();
  lsvPhoto->setRowCount(0);
  showNewRows();
  for (int row = 0; row < lsvPhoto->rowCount(); ++row) {
    if (selected.contains(list_.row(static_cast<std::size_t>(row)).name)) lsvPhoto->selectRow(row);
  }
}

// Appends the rows the list has and the view does not show yet.
void TfrmTagging::showNewRows() {
  const auto shown = static_cast<std::size_t>(lsvPhoto->rowCount());
  if (shown >= list_.size()) return;
  lsvPhoto->setRowCount(static_cast<int>(list_.size()));
  for (std::size_t row = shown; row < list_.size(); ++row) {
    const PhotoEntry& entry = list_.row(row);
    const std::array<QString, 4> texts{shownName(entry.name), qtText(entry.date), qtText(entry.latitude),
                                       qtText(entry.longitude)};
    for (std::size_t column = 0; column < texts.size(); ++column) {
      auto* item = new QTableWidgetItem(texts[column]);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      if (column == 0) item->setData(Qt::UserRole, QByteArray::fromStdString(entry.name));
      lsvPhoto->setItem(static_cast<int>(row), static_cast<int>(column), item);
    }
  }
}

void TfrmTagging::clearPreview() {
  QPixmap blank(kPreviewBox.width, kPreviewBox.height);
  blank.fill(Qt::white);
  imgPriview->setPixmap(blank);
}

// --- Photo list commands ---

void TfrmTagging::btnLoadClick() {
  const std::vector<std::string> chosen = desktop_.runOpenDialog(*opdLoad);
  if (chosen.empty()) return;
  command([&] { loadPhotos(list_, chosen, session_, *ui_); });
}

void TfrmTagging::lsvPhotoClick() {
  const QModelIndexList rows = lsvPhoto->selectionModel()->selectedRows();
  if (rows.isEmpty()) return;
  int first = rows.front().row();
  for (const QModelIndex& index : rows) first = std::min(first, index.row());
  if (static_cast<std::size_t>(first) >= list_.size()) return;
  const PreviewResult preview =
      decodePreview(photoCopyPath(session_.names, list_.row(static_cast<std::size_t>(first)).name));
  if (!preview.image) {
    desktop_.showError(this, QString::fromStdString(preview.error));
    return;
  }
  const PreviewImage& image = *preview.image;
  const QImage decoded(image.rgb.data(), image.size.width, image.size.height, image.size.width * 3,
                       QImage::Format_RGB888);
  QPixmap canvas(kPreviewBox.width, kPreviewBox.height);
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  painter.drawImage(0, 0, decoded);
  painter.end();
  imgPriview->setPixmap(canvas);
}

void TfrmTagging::btnRemoveClick() {
  std::vector<std::size_t> selected;
  for (const QModelIndex& index : lsvPhoto->selectionModel()->selectedRows()) {
    selected.push_back(static_cast<std::size_t>(index.row()));
  }
  if (!removePhotos(list_, selected, session_.names)) return;
  lsvPhoto->clearSelection();
  showRows();
  clearPreview();
}

void TfrmTagging::lsvPhotoColumnClick(int column) {
  if (busy_ || column < 0 || column > 3) return;
  list_.sortBy(static_cast<PhotoColumn>(column));
  showRows();
}

void TfrmTagging::btnCloseClick() {
  close();
  if (mainWindow_) {
    mainWindow_->show();
    mainWindow_->setEnabled(true);
  }
}

void TfrmTagging::closeEvent(QCloseEvent* event) {
  // A command still walking the list finishes first; the main window must not start a report
  // over the track it reads.
  if (busy_) {
    event->ignore();
    return;
  }
  if (mainWindow_) mainWindow_->setEnabled(true);
  event->accept();
}

void TfrmTagging::forgetPhotosOfAnotherReport() {
  // Preview, Remove and Make Photo Path look for the copies in the last report's photo folder;
  // those of a report in another folder stay where they are, and the list starts anew.
  if (session_.names.reportFolder == listFolder_) return;
  listFolder_ = session_.names.reportFolder;
  list_.clear();
  showRows();
  clearPreview();
}

void TfrmTagging::showEvent(QShowEvent* event) {
  // Reports run only while this window is hidden.
  forgetPhotosOfAnotherReport();
  // Kept above the main window it belongs to, as a dialog would be, without being its child.
  if (mainWindow_ && windowHandle() != nullptr && mainWindow_->windowHandle() != nullptr) {
    windowHandle()->setTransientParent(mainWindow_->windowHandle());
  }
  QWidget::showEvent(event);
}

// --- Make Photo Path ---

void TfrmTagging::btnMakeClick() {
  command([&] {
    const PhotoPositions positions =
        chkWriteExif->isChecked() ? PhotoPositions::Write : PhotoPositions::Leave;
    const PhotoPathResult result = makePhotoPath(list_, session_, fields_, *ui_, positions);
    if (result.outcome == PhotoPathOutcome::NoTrack) setStatusText("No track points in the last report");
  });
}

// --- Camera clock ---

void TfrmTagging::tmrAdjustTimer() {
  const ClockDisplay shown = clock_.tick(*offsetFields_, *localClock_);
  const QString system = qtText(shown.systemTime);
  const QString camera = qtText(shown.cameraTime);
  if (edtSystemTime->text() != system) edtSystemTime->setText(system);
  if (edtCameraTime->text() != camera) edtCameraTime->setText(camera);
}

void TfrmTagging::btnApplyAdjustmentClick() {
  command([&] { clock_.applyAdjustment(*offsetFields_, list_, session_.store, *ui_); });
}

bool TfrmTagging::eventFilter(QObject* watched, QEvent* event) {
  const bool offsetField =
      std::any_of(offsetFields_->boxes().begin(), offsetFields_->boxes().end(),
                  [watched](const QComboBox* box) { return box == watched || box->lineEdit() == watched; });
  if (offsetField && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    // Tab moves on to the next control and never reaches the text.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
      return QWidget::eventFilter(watched, event);
    // Only characters are filtered; keys without one (arrows, Home) move as usual.
    if (!acceptsOffsetText(key->text())) return true;
  }
  if (offsetField && event->type() == QEvent::InputMethod &&
      !acceptsOffsetText(static_cast<QInputMethodEvent*>(event)->commitString())) {
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tellurix::tagging
