#include "Quorvel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <clocale>

#include "WindowFields.h"
#include "WindowReportUi.h"
#include "desktop/Command.h"
#include "desktop/CommandsHeld.h"
#include "desktop/Desktop.h"
#include "desktop/ProgramName.h"
#include "desktop/QtText.h"
#include "platform/ZoneNames.h"
#include "report/ReportRun.h"
#include "shellcore/SettingsFile.h"
#include "shellcore/ZoneList.h"

namespace tellurix::shell {
namespace {

using desktop::named;
using desktop::qtText;
using tracklog::Field;

QTimer* stoppedTimer(QObject* owner, const char* name, int intervalMs) {
  auto* timer = named(new QTimer(owner), name);
  timer->setInterval(intervalMs);
  return timer;
}

QStringList numberTexts(int first, int last) {
  QStringList texts;
  for (int n = first; n <= last; ++n) texts << QString::number(n);
  return texts;
}

// An editable time field: the list offers the usual values, any other text can be typed.
QComboBox* timeField(QWidget* parent, const char* name, const QStringList& items, const char* initial) {
  auto* box = named(new QComboBox(parent), name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);  // a typed text must not become a list item
  box->setCompleter(nullptr);                 // "1" must stay "1", not complete to "10"
  box->addItems(items);
  box->setCurrentIndex(-1);
  box->setEditText(QString::fromLatin1(initial));
  return box;
}

// Shows the text, selecting the list item of that text when there is one.
void setFieldText(QComboBox* box, const QString& text) {
  const int index = box->findText(text, Qt::MatchExactly);
  box->setCurrentIndex(index);
  if (index < 0) box->setEditText(text);
}

QColor colourOf(report::StatusColour colour) {
  switch (colour) {
    case report::StatusColour::Black:
      return QColor(0, 0, 0);
    case report::StatusColour::Red:
      return QColor(255, 0, 0);
    case report::StatusColour::Navy:
      return QColor(0, 0, 128);
  }
  return QColor(0, 0, 0);
}

}  // namespace

TfrmFilter::TfrmFilter(std::string programFolder, desktop::Desktop& desktop, QWidget* parent)
    : QWidget(parent),
      programFolder_(std::move(programFolder)),
      desktop_(desktop),
      settings_(shellcore::settingsPath(programFolder_)),
      session_(std::make_unique<report::ReportSession>()),
      download_(std::make_unique<WindowDownload>(*this, desktop)) {
  // The C library formats every number of the outputs; Qt has set its locale from the
  // environment, and a decimal comma there would end up in every coordinate.
  std::setlocale(LC_NUMERIC, "C");

  setObjectName(QStringLiteral("frmFilter"));
  setWindowTitle(QString::fromUtf8(desktop::kMainWindowCaption));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  createControls();
  FillZoneList();
  layOutControls();
  connectCommands();
  LoadSettings();
}

TfrmFilter::~TfrmFilter() {
  // The reader's completion posts to this window: it has to be gone before the window goes.
  download_.reset();
  // The trip view keeps its size in the settings, a member that goes before the children.
  delete tripView_;
}

void TfrmFilter::createControls() {
  lblUserID = named(new QLabel(this), "lblUserID");
  lblUserID->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  gpbFilter = named(new QGroupBox(QStringLiteral("Report Filter"), this), "gpbFilter");
  lblStatus = named(new QLabel(QStringLiteral("Data Reading......"), gpbFilter), "lblStatus");
  lblStatus->setAlignment(Qt::AlignCenter);
  QFont statusFont = lblStatus->font();
  statusFont.setBold(true);
  lblStatus->setFont(statusFont);

  lblDataTime = named(
      new QLabel(QStringLiteral("  yyyy         mm          dd            hh          mm         ss      "),
                 gpbFilter),
      "lblDataTime");
  lblStartTime = named(new QLabel(QStringLiteral("Report Start Time:"), gpbFilter), "lblStartTime");
  lblEndTime = named(new QLabel(QStringLiteral("Report End Time:"), gpbFilter), "lblEndTime");
  const QStringList years = numberTexts(2007, 2015);
  const QStringList months = numberTexts(1, 12);
  const QStringList days = numberTexts(1, 31);
  const QStringList hours = numberTexts(0, 23);
  const QStringList sixty = numberTexts(0, 59);
  cboStartYear = timeField(gpbFilter, "cboStartYear", years, "2000");
  cboStartMonth = timeField(gpbFilter, "cboStartMonth", months, "1");
  cboStartDay = timeField(gpbFilter, "cboStartDay", days, "1");
  cboStartHour = timeField(gpbFilter, "cboStartHour", hours, "0");
  cboStartMin = timeField(gpbFilter, "cboStartMin", sixty, "0");
  cboStartSec = timeField(gpbFilter, "cboStartSec", sixty, "0");
  cboEndYear = timeField(gpbFilter, "cboEndYear", years, "2000");
  cboEndMonth = timeField(gpbFilter, "cboEndMonth", months, "1");
  cboEndDay = timeField(gpbFilter, "cboEndDay", days, "1");
  cboEndHour = timeField(gpbFilter, "cboEndHour", hours, "0");
  cboEndMin = timeField(gpbFilter, "cboEndMin", sixty, "0");
  cboEndSec = timeField(gpbFilter, "cboEndSec", sixty, "0");

  cboTimeZone = named(new QComboBox(gpbFilter), "cboTimeZone");
  cboTimeZone->setEditable(true);
  cboTimeZone->setInsertPolicy(QComboBox::NoInsert);
  cboTimeZone->setMaxVisibleItems(30);
  btnReset = named(new QPushButton(QStringLiteral("Reset"), gpbFilter), "btnReset");
  btnSetTimeZone = named(new QPushButton(QStringLiteral("SetTimeZone"), gpbFilter), "btnSetTimeZone");

  lblSpeed = named(new QLabel(QStringLiteral("    Over Speed:"), gpbFilter), "lblSpeed");
  memSpeed = named(new QLineEdit(QStringLiteral("90"), gpbFilter), "memSpeed");
  memSpeed->setAlignment(Qt::AlignRight);
  memSpeed->setMaxLength(5);
  cboSpeedUnit = named(new QComboBox(gpbFilter), "cboSpeedUnit");
  cboSpeedUnit->setEditable(true);
  cboSpeedUnit->setInsertPolicy(QComboBox::NoInsert);
  cboSpeedUnit->addItems({QStringLiteral("KPH"), QStringLiteral("MPH")});
  cboSpeedUnit->setEditText(QStringLiteral("KMH"));  // replaced by the "Unit" setting at start-up
  lblStopPointTimePeriod =
      named(new QLabel(QStringLiteral("Stop Point Time Period :"), gpbFilter), "lblStopPointTimePeriod");
  memStopPointTimePeriod = named(new QLineEdit(QStringLiteral("10"), gpbFilter), "memStopPointTimePeriod");
  memStopPointTimePeriod->setAlignment(Qt::AlignRight);
  lblMinute = named(new QLabel(QStringLiteral("Minutes"), gpbFilter), "lblMinute");
  chkGpsSpeedChart = named(new QCheckBox(QStringLiteral("Excel Reports"), gpbFilter), "chkGpsSpeedChart");

  lblLog = named(new QLabel(QStringLiteral("  No. of records :"), gpbFilter), "lblLog");
  lblLogShow = named(new QLabel(gpbFilter), "lblLogShow");
  proStatus = named(new QProgressBar(gpbFilter), "proStatus");
  proStatus->setRange(0, 100);
  proStatus->setValue(0);
  proStatus->setTextVisible(false);  // the status line and lblPercentageShow carry the figures
  lblPercentage = named(new QLabel(QStringLiteral("Percentage :"), gpbFilter), "lblPercentage");
  lblPercentageShow = named(new QLabel(gpbFilter), "lblPercentageShow");

  btnClear = named(new QPushButton(QStringLiteral("Clear"), this), "btnClear");
  btnOK = named(new QPushButton(QStringLiteral("Make Report"), this), "btnOK");
  btnClose = named(new QPushButton(QStringLiteral("Close"), this), "btnClose");
  btnTagging = named(new QPushButton(QStringLiteral("Tagging"), this), "btnTagging");
  btnViewReport = named(new QPushButton(QStringLiteral("View Report"), this), "btnViewReport");
  btnMap = named(new QPushButton(QStringLiteral("Trip Map"), this), "btnMap");
  for (QWidget* button : commandButtons()) button->setEnabled(false);

  Timer2 = download_->timer(logger::DownloadTimer::Timer2);
  tmrQueryRecord = download_->timer(logger::DownloadTimer::QueryRecord);
  Timer3 = download_->timer(logger::DownloadTimer::Timer3);
  Timer1 = download_->timer(logger::DownloadTimer::Timer1);
  Timer4 = stoppedTimer(this, "Timer4", 200);

  SaveDialog1 = named(new QFileDialog(this), "SaveDialog1");
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog1->setFileMode(QFileDialog::AnyFile);
  SaveDialog1->setNameFilter(QStringLiteral("All Files (*)"));
  // The chosen name only names the report files beside it; nothing overwrites it.
  SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite);
  SaveDialog1->setDirectory(QDir::homePath());  // later runs start where the last one saved

  std::array<WindowFields::TextReader, tracklog::kFieldCount> readers;
  const std::array<QComboBox*, 14> boxes{cboStartYear, cboStartMonth, cboStartDay, cboStartHour, cboStartMin,
                                         cboStartSec,  cboEndYear,    cboEndMonth, cboEndDay,    cboEndHour,
                                         cboEndMin,    cboEndSec,     cboTimeZone, cboSpeedUnit};
  for (std::size_t i = 0; i < boxes.size(); ++i) readers[i] = [box = boxes[i]] { return box->currentText(); };
  readers[static_cast<std::size_t>(Field::OverSpeed)] = [this] { return memSpeed->text(); };
  readers[static_cast<std::size_t>(Field::StopPeriod)] = [this] { return memStopPointTimePeriod->text(); };
  fields_ = std::make_unique<WindowFields>(std::move(readers), chkGpsSpeedChart);
}

// The time fields sit under their column heads in lblDataTime: the heads are one caption
// spaced with blanks, so the fields are placed from the caption's own font metrics.
void TfrmFilter::placeTimeFields(QWidget* block) {
  const std::array<QComboBox*, 6> start{cboStartYear, cboStartMonth, cboStartDay,
                                        cboStartHour, cboStartMin,   cboStartSec};
  const std::array<QComboBox*, 6> end{cboEndYear, cboEndMonth, cboEndDay, cboEndHour, cboEndMin, cboEndSec};
  for (QWidget* w : std::initializer_list<QWidget*>{lblDataTime, lblStartTime, lblEndTime})
    w->setParent(block);
  for (std::size_t i = 0; i < 6; ++i) {
    start[i]->setParent(block);
    end[i]->setParent(block);
  }

  const QFontMetrics labels(lblStartTime->font());
  const int fieldsLeft =
      std::max(labels.horizontalAdvance(lblStartTime->text()), labels.horizontalAdvance(lblEndTime->text())) +
      10;
  const int yearWidth = cboStartYear->sizeHint().width();
  const int otherWidth = cboStartMonth->sizeHint().width();
  auto widthOf = [&](std::size_t i) { return i == 0 ? yearWidth : otherWidth; };
  constexpr int kGap = 6;

  // Widen the caption's blanks until neighbouring fields centred under their heads no longer touch.
  const QString caption = lblDataTime->text();
  const QStringList heads{QStringLiteral("yyyy"), QStringLiteral("mm"), QStringLiteral("dd"),
                          QStringLiteral("hh"),   QStringLiteral("mm"), QStringLiteral("ss")};
  QFont headFont = lblDataTime->font();
  std::array<int, 6> centres{};
  for (int extra = 0; extra <= 40; ++extra) {
    headFont.setWordSpacing(extra);
    const QFontMetrics metrics(headFont);
    qsizetype from = 0;
    for (std::size_t i = 0; i < 6; ++i) {
      const qsizetype at = caption.indexOf(heads[static_cast<qsizetype>(i)], from);
      from = at + heads[static_cast<qsizetype>(i)].size();
      centres[i] = fieldsLeft + metrics.horizontalAdvance(caption.left(at)) +
                   metrics.horizontalAdvance(heads[static_cast<qsizetype>(i)]) / 2;
    }
    bool roomy = true;
    for (std::size_t i = 0; i + 1 < 6; ++i) {
      roomy = roomy && centres[i + 1] - centres[i] >= (widthOf(i) + widthOf(i + 1)) / 2 + kGap;
    }
    if (roomy) break;
  }
  lblDataTime->setFont(headFont);

  const int headHeight = QFontMetrics(headFont).height();
  const int rowHeight = cboStartYear->sizeHint().height();
  const int startTop = headHeight + 2;
  const int endTop = startTop + rowHeight + 6;
  lblDataTime->setGeometry(fieldsLeft, 0, QFontMetrics(headFont).horizontalAdvance(caption) + 4, headHeight);
  lblStartTime->setGeometry(0, startTop, fieldsLeft, rowHeight);
  lblEndTime->setGeometry(0, endTop, fieldsLeft, rowHeight);
  int right = lblDataTime->geometry().right();
  for (std::size_t i = 0; i < 6; ++i) {
    const int left = centres[i] - widthOf(i) / 2;
    start[i]->setGeometry(left, startTop, widthOf(i), rowHeight);
    end[i]->setGeometry(left, endTop, widthOf(i), rowHeight);
    right = std::max(right, left + widthOf(i));
  }
  block->setFixedSize(right + 1, endTop + rowHeight);
}

void TfrmFilter::layOutControls() {
  auto* timeBlock = new QWidget(gpbFilter);
  placeTimeFields(timeBlock);

  // The zone beside the time fields: its list on the start row, its commands on the end row.
  // Long names show whole in the open list, which may be wider than the box.
  cboTimeZone->setMinimumContentsLength(24);
  cboTimeZone->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  int longest = 0;
  for (int i = 0; i < cboTimeZone->count(); ++i) {
    longest = std::max(longest, cboTimeZone->fontMetrics().horizontalAdvance(cboTimeZone->itemText(i)));
  }
  cboTimeZone->view()->setMinimumWidth(longest + 40);
  auto* zoneColumn = new QVBoxLayout;
  zoneColumn->setSpacing(6);
  zoneColumn->addSpacing(lblDataTime->height() + 2);
  zoneColumn->addWidget(cboTimeZone);
  // Both as wide as the longer caption with room around it, like the command buttons below.
  const int zoneButtonWidth = btnSetTimeZone->fontMetrics().horizontalAdvance(btnSetTimeZone->text()) + 24;
  btnReset->setMinimumWidth(zoneButtonWidth);
  btnSetTimeZone->setMinimumWidth(zoneButtonWidth);
  auto* zoneButtons = new QHBoxLayout;
  zoneButtons->addStretch();
  zoneButtons->addWidget(btnReset);
  zoneButtons->addWidget(btnSetTimeZone);
  zoneColumn->addLayout(zoneButtons);
  zoneColumn->addStretch();

  auto* timeRow = new QHBoxLayout;
  timeRow->addWidget(timeBlock, 0, Qt::AlignTop);
  timeRow->addSpacing(16);
  timeRow->addLayout(zoneColumn, 1);

  const QFontMetrics metrics(font());
  memSpeed->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("000000")) + 12);
  memStopPointTimePeriod->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("000000")) + 12);
  cboSpeedUnit->setFixedWidth(cboSpeedUnit->sizeHint().width());
  auto* settingsRow = new QHBoxLayout;
  settingsRow->addWidget(lblSpeed);
  settingsRow->addWidget(memSpeed);
  settingsRow->addWidget(cboSpeedUnit);
  settingsRow->addSpacing(24);
  settingsRow->addWidget(lblStopPointTimePeriod);
  settingsRow->addWidget(memStopPointTimePeriod);
  settingsRow->addWidget(lblMinute);
  settingsRow->addStretch();
  settingsRow->addWidget(chkGpsSpeedChart);

  // The value labels keep their width as figures arrive, so the fixed window never jumps.
  lblLogShow->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("0000000")));
  lblPercentageShow->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("100 %0")));
  auto* logRow = new QHBoxLayout;
  logRow->addWidget(lblLog);
  logRow->addWidget(lblLogShow);
  logRow->addSpacing(12);
  logRow->addWidget(proStatus, 1);
  logRow->addSpacing(12);
  logRow->addWidget(lblPercentage);
  logRow->addWidget(lblPercentageShow);

  lblStatus->setMinimumHeight(QFontMetrics(lblStatus->font()).height() + 6);
  auto* filter = new QVBoxLayout(gpbFilter);
  filter->setSpacing(10);
  filter->addWidget(lblStatus);
  filter->addLayout(timeRow);
  filter->addLayout(settingsRow);
  filter->addLayout(logRow);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnClear);
  buttons->addStretch();
  for (QPushButton* button : {btnOK, btnClose, btnTagging, btnViewReport, btnMap}) {
    button->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Make Report")) + 32);
    buttons->addWidget(button);
  }
  btnClear->setMinimumWidth(btnOK->minimumWidth());

  lblUserID->setMinimumHeight(metrics.height());
  auto* window = new QVBoxLayout(this);
  window->setSizeConstraint(QLayout::SetFixedSize);  // fixed size, fitted to the desktop's font
  window->addWidget(lblUserID);
  window->addWidget(gpbFilter);
  window->addLayout(buttons);
  window->activate();
}

std::vector<QWidget*> TfrmFilter::commandButtons() const {
  return {btnOK, btnClose, btnSetTimeZone, btnClear, btnReset, btnViewReport, btnTagging, btnMap};
}

void TfrmFilter::connectCommands() {
  // An error escaping a command is reported and the program goes on; a fatal one ends it.
  auto on = [this](QPushButton* button, void (TfrmFilter::*command)()) {
    connect(button, &QPushButton::clicked, this, [this, command] {
      desktop::runCommand(*this, desktop_, [this, command] { (this->*command)(); });
    });
  };
  on(btnOK, &TfrmFilter::btnOKClick);
  on(btnClose, &TfrmFilter::btnCloseClick);
  on(btnSetTimeZone, &TfrmFilter::btnSetTimeZoneClick);
  on(btnReset, &TfrmFilter::btnResetClick);
  on(btnClear, &TfrmFilter::btnClearClick);
  on(btnViewReport, &TfrmFilter::btnViewReportClick);
  on(btnTagging, &TfrmFilter::btnTaggingClick);
  on(btnMap, &TfrmFilter::btnMapClick);
  connect(Timer4, &QTimer::timeout, this, &TfrmFilter::Timer4Timer);
}

// --- Zones, filter and settings ---

void TfrmFilter::FillZoneList() {
  for (const std::string& name : shellcore::orderZoneNames(platform::zoneDisplayNames())) {
    cboTimeZone->addItem(QString::fromStdString(name));
  }
}

void TfrmFilter::FillFilterFromLog() {
  tracklog::ReadZoneOffset(session_->zone, fields_->text(Field::TimeZone));
  setFilterTexts(shellcore::filterTextsFromLog(session_->zone.offset, logStartTime_, logEndTime_));
}

void TfrmFilter::setFilterTexts(const shellcore::FilterTexts& texts) {
  const std::array<QComboBox*, 12> boxes{cboStartYear, cboStartMonth, cboStartDay, cboStartHour,
                                         cboStartMin,  cboStartSec,   cboEndYear,  cboEndMonth,
                                         cboEndDay,    cboEndHour,    cboEndMin,   cboEndSec};
  for (std::size_t i = 0; i < boxes.size(); ++i) setFieldText(boxes[i], QString::fromStdString(texts[i]));
}

shellcore::FilterTexts TfrmFilter::filterTexts() const {
  shellcore::FilterTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = std::string(fields_->text(static_cast<Field>(i)));
  return texts;
}

void TfrmFilter::LoadSettings() {
  const shellcore::LoadedSettings settings = shellcore::readSettings(settings_);
  memSpeed->setText(QString::fromStdString(settings.overSpeed));
  setFieldText(cboSpeedUnit, QString::fromStdString(settings.unit));
  // A stored index outside the list leaves it with no selection.
  const bool listed = settings.zoneIndex >= 0 && settings.zoneIndex < cboTimeZone->count();
  cboTimeZone->setCurrentIndex(listed ? settings.zoneIndex : -1);
  memStopPointTimePeriod->setText(QString::number(settings.timePeriod));
}

void TfrmFilter::SaveReportSettings() {
  shellcore::writeReportSettings(settings_, fields_->text(Field::OverSpeed), fields_->text(Field::SpeedUnit),
                                 fields_->text(Field::StopPeriod), chkGpsSpeedChart->isChecked());
}

void TfrmFilter::SaveZoneIndex() {
  shellcore::writeZoneIndex(settings_, cboTimeZone->currentIndex());
}

void TfrmFilter::LoadChartPreference() {
  if (const auto checked = shellcore::readChartPreference(settings_)) chkGpsSpeedChart->setChecked(*checked);
}

// --- The download ---

std::optional<int> TfrmFilter::StartDownload(const LinkOpener& open, logger::Clock& clock) {
  if (const auto failure = download_->Start(open, settingsPath(), *this, clock, programFolder_)) {
    // No owner: the window has not been shown yet.
    desktop_.showMessage(nullptr, qtText(failure->text), qtText(failure->caption));
    return failure->exitCode;
  }
  return download_->endedWith();
}

void TfrmFilter::StartTimer(logger::DownloadTimer timer) {
  download_->timer(timer)->start();
}

void TfrmFilter::StopTimer(logger::DownloadTimer timer) {
  download_->timer(timer)->stop();
}

QPushButton* TfrmFilter::buttonOf(logger::CommandButton button) const {
  switch (button) {
    case logger::CommandButton::Ok:
      return btnOK;
    case logger::CommandButton::Close:
      return btnClose;
    case logger::CommandButton::SetTimeZone:
      return btnSetTimeZone;
    case logger::CommandButton::Clear:
      return btnClear;
    case logger::CommandButton::Reset:
      return btnReset;
  }
  return btnOK;
}

void TfrmFilter::EnableButton(logger::CommandButton button) {
  buttonOf(button)->setEnabled(true);
}

void TfrmFilter::SetStatusText(std::string_view text) {
  lblStatus->setText(qtText(text));
}

void TfrmFilter::SetStatusColour(logger::StatusColour colour) {
  SetStatusColour(colour == logger::StatusColour::Red ? report::StatusColour::Red
                                                      : report::StatusColour::Black);
}

void TfrmFilter::SetStatusColour(report::StatusColour colour) {
  QPalette palette = lblStatus->palette();
  palette.setColor(QPalette::WindowText, colourOf(colour));
  lblStatus->setPalette(palette);
}

tracklog::FieldSource& TfrmFilter::fields() {
  return *fields_;
}

void TfrmFilter::ProcessMessages() {
  QCoreApplication::processEvents();
}

void TfrmFilter::SetProgress(int percent) {
  proStatus->setValue(percent);
}

void TfrmFilter::SetRecordCountText(std::string_view text) {
  lblLogShow->setText(qtText(text));
}

void TfrmFilter::SetPercentageText(std::string_view text) {
  lblPercentageShow->setText(qtText(text));
}

void TfrmFilter::SetUserId(std::string_view text) {
  lblUserID->setText(qtText(text));
}

void TfrmFilter::FillFilterFromLog(const logger::LogTime& start, const logger::LogTime& end) {
  logStartTime_ = start;
  logEndTime_ = end;
  FillFilterFromLog();
}

void TfrmFilter::SaveResetSnapshot() {
  resetSnapshot_ = {filterTexts(), cboTimeZone->currentIndex()};
}

bool TfrmFilter::Ask(std::string_view text, std::string_view caption) {
  return desktop_.askYesNo(this, qtText(text), qtText(caption));
}

void TfrmFilter::setTaggingWindow(QWidget* window) {
  taggingWindow_ = window;
}

// --- Commands ---

report::ReportEnvironment TfrmFilter::reportSource() const {
  return {logPath(), download_->receivedByteCount(), download_->userId()};
}

void TfrmFilter::reportDone() {
  btnViewReport->setEnabled(true);
  btnTagging->setEnabled(true);
  btnMap->setEnabled(true);
  lastTrip_ = std::make_shared<const map::TripData>(map::tripDataOf(*session_));
}

void TfrmFilter::btnOKClick() {
  bool done = false;
  {
    const desktop::CommandsHeld held(*this, commandButtons());
    WindowReportUi ui(*this, desktop_);
    done = report::ReportRun(*session_, *fields_, ui, reportSource()).run() == report::RunOutcome::Done;
  }
  if (done) reportDone();
}

void TfrmFilter::btnCloseClick() {
  download_->Close();
  desktop::endProgram(0);
}

void TfrmFilter::btnSetTimeZoneClick() {
  FillFilterFromLog();
  SaveZoneIndex();
  SaveResetSnapshot();
}

void TfrmFilter::btnResetClick() {
  setFilterTexts(resetSnapshot_.fields);
  cboTimeZone->setCurrentIndex(resetSnapshot_.zoneIndex);
}

void TfrmFilter::btnClearClick() {
  download_->Run(&logger::DownloadSequence::Clear);
}

void TfrmFilter::btnViewReportClick() {
  desktop_.openFolder(session_->names.reportFolder);
}

void TfrmFilter::btnTaggingClick() {
  if (!taggingWindow_) return;  // the photo window is not part of this program yet
  // A hide is no close: the photo window is also hidden when it is minimised, and only its
  // close enables this window again (TfrmTagging::closeEvent).
  setEnabled(false);
  taggingWindow_->show();
}

void TfrmFilter::btnMapClick() {
  if (!lastTrip_) return;
  // A view of an earlier report goes; it keeps its size for the next one.
  if (tripView_ && tripView_->trip() != lastTrip_) {
    tripView_->close();
    tripView_ = nullptr;
  }
  if (!tripView_) {
    tripview::TripViewOptions options;
    options.map = tripview::readMapSettings(settings_);
    options.settings = &settings_;
    tripView_ = new tripview::TfrmTripView(lastTrip_, std::move(options), desktop_, this);
    tripView_->setAttribute(Qt::WA_DeleteOnClose);
  }
  tripView_->show();
  tripView_->raise();
  tripView_->activateWindow();
}

void TfrmFilter::Timer4Timer() {
  SetStatusText("Making Report...");
  SetStatusColour(blinkTicks_ % 2 == 0 ? report::StatusColour::Black : report::StatusColour::Red);
  ++blinkTicks_;
}

void TfrmFilter::reportRecordRead() {
  if (sinceEvents_.isValid() && sinceEvents_.elapsed() < 10) return;
  QCoreApplication::processEvents();
  sinceEvents_.start();
}

}  // namespace tellurix::shell
