#include "WindowDownload.h"

#include <QTimer>
#include <QWidget>

#include "desktop/Command.h"
#include "tracklog/Errors.h"

namespace tellurix::shell {

WindowDownload::WindowDownload(QWidget& window, desktop::Desktop& desktop)
    : window_(window), desktop_(desktop), jobs_([this] {
        QMetaObject::invokeMethod(
            this, [this] { runPostedJobs(); }, Qt::QueuedConnection);
      }) {
  for (const logger::DownloadTimerEntry& entry : logger::kDownloadTimers) {
    auto* timer = new QTimer(&window_);
    timer->setObjectName(QString::fromLatin1(entry.name));
    timer->setInterval(entry.interval);
    connect(timer, &QTimer::timeout, this, [this, t = entry.timer] { tick(t); });
    timers_[static_cast<std::size_t>(entry.timer)] = timer;
  }
}

WindowDownload::~WindowDownload() {
  // The reader posts to this queue: it has to be gone first.
  sequence_.reset();
}

std::optional<logger::LinkFailure> WindowDownload::Start(const LinkOpener& open,
                                                         const std::string& settingsFile,
                                                         logger::DownloadView& view, logger::Clock& clock,
                                                         const std::string& programFolder) {
  logger::OpenedLink opened = open(settingsFile);
  if (auto* failure = std::get_if<logger::LinkFailure>(&opened)) return *failure;
  link_ = std::move(std::get<std::unique_ptr<logger::LoggerLink>>(opened));
  sequence_ = std::make_unique<logger::DownloadSequence>(*link_, view, jobs_.Poster(), clock, programFolder);
  step([this] { sequence_->Probe(); });
  runPostedJobs();
  return std::nullopt;
}

QTimer* WindowDownload::timer(logger::DownloadTimer timer) const {
  return timers_[static_cast<std::size_t>(timer)];
}

void WindowDownload::tick(logger::DownloadTimer timer) {
  step([this, timer] { sequence_->Tick(timer); });
  runPostedJobs();
}

void WindowDownload::Run(void (logger::DownloadSequence::*entry)()) {
  step([this, entry] { (sequence_.get()->*entry)(); });
  runPostedJobs();
}

void WindowDownload::Close() {
  if (sequence_) sequence_->Close();
}

void WindowDownload::step(const std::function<void()>& entry) {
  if (!sequence_ || endedWith_) return;
  ++depth_;
  desktop::runCommand(window_, desktop_, entry, [this](const tracklog::FatalError& e) { end(e.exitCode()); });
  --depth_;
}

void WindowDownload::runPostedJobs() {
  // The running step takes them up when it has ended.
  if (depth_ > 0) return;
  while (!endedWith_) {
    std::optional<logger::WindowJob> job = jobs_.Take();
    if (!job) return;
    step(*job);
  }
}

void WindowDownload::end(int exitCode) {
  // Nothing of the download runs while the box is shown or after it: the program is ending.
  endedWith_ = exitCode;
  for (QTimer* timer : timers_) timer->stop();
  jobs_.Clear();
}

std::uint32_t WindowDownload::receivedByteCount() const {
  return sequence_ ? sequence_->Counters().ReceivedByteCount.load() : 0;
}

std::string WindowDownload::userId() const {
  return sequence_ ? sequence_->Counters().UserId : std::string();
}

}  // namespace tellurix::shell
