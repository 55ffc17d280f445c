#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "logger/DownloadSequence.h"
#include "logger/JobQueue.h"
#include "logger/LoggerLink.h"

class QTimer;
class QWidget;

namespace tellurix::desktop {
class Desktop;
}

namespace tellurix::shell {

// How the window gets its line; it hands in its settings file, where "Port" may name one.
using LinkOpener = std::function<logger::OpenedLink(const std::string& settingsFile)>;

// The download as the main window runs it (logger/Readrs232.h has the wiring): the four timers,
// named and timed as logger::kDownloadTimers says, the jobs the reader posts and the sequence's
// entries, all on the window thread and one at a time. A FatalError of an entry or a job stops
// the timers and the jobs for good and ends the program; any other error is shown and the
// download goes on.
class WindowDownload final : public QObject {
 public:
  // The timers are the window's children, stopped until the sequence starts them.
  WindowDownload(QWidget& window, desktop::Desktop& desktop);
  // Stops the reader; an unfinished transfer's file is removed.
  ~WindowDownload() override;
  WindowDownload(const WindowDownload&) = delete;
  WindowDownload& operator=(const WindowDownload&) = delete;
  WindowDownload(WindowDownload&&) = delete;
  WindowDownload& operator=(WindowDownload&&) = delete;

  // Opens the line, then runs the probe, which waits 1 to 3 s. Why the line could not be had,
  // when it could not. `view` and `clock` must outlive the download.
  std::optional<logger::LinkFailure> Start(const LinkOpener& open, const std::string& settingsFile,
                                           logger::DownloadView& view, logger::Clock& clock,
                                           const std::string& programFolder);

  [[nodiscard]] QTimer* timer(logger::DownloadTimer timer) const;
  // Runs a command's entry of the sequence (btnClear: Clear) as the timers run theirs.
  void Run(void (logger::DownloadSequence::*entry)());
  // btnClose: the reader stopped and the line closed.
  void Close();

  [[nodiscard]] const logger::DownloadSequence* sequence() const { return sequence_.get(); }
  // The exit code of the FatalError that ended the download, once one has.
  [[nodiscard]] std::optional<int> endedWith() const { return endedWith_; }
  [[nodiscard]] std::uint32_t receivedByteCount() const;
  [[nodiscard]] std::string userId() const;

 private:
  void tick(logger::DownloadTimer timer);
  // One entry or posted job.
  void step(const std::function<void()>& entry);
  // Runs the posted jobs, unless a step is running: one that processes messages in its middle
  // must not see the reader's jobs overtake its own rest.
  void runPostedJobs();
  void end(int exitCode);

  QWidget& window_;
  desktop::Desktop& desktop_;
  std::array<QTimer*, logger::kDownloadTimers.size()> timers_{};
  logger::JobQueue jobs_;
  // The line outlives the sequence that uses it.
  std::unique_ptr<logger::LoggerLink> link_;
  std::unique_ptr<logger::DownloadSequence> sequence_;
  int depth_ = 0;
  std::optional<int> endedWith_;
};

}  // namespace tellurix::shell
