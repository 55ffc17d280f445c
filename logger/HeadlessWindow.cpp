#include "HeadlessWindow.h"

#include <algorithm>

namespace tellurix::logger {

const char* NameOf(DownloadTimer timer) {
  switch (timer) {
    case DownloadTimer::Timer2:
      return "Timer2";
    case DownloadTimer::QueryRecord:
      return "tmrQueryRecord";
    case DownloadTimer::Timer3:
      return "Timer3";
    case DownloadTimer::Timer1:
      return "Timer1";
  }
  return "?";
}

const char* NameOf(CommandButton button) {
  switch (button) {
    case CommandButton::Ok:
      return "btnOK";
    case CommandButton::Close:
      return "btnClose";
    case CommandButton::SetTimeZone:
      return "btnSetTimeZone";
    case CommandButton::Clear:
      return "btnClear";
    case CommandButton::Reset:
      return "btnReset";
  }
  return "?";
}

PostToWindow HeadlessWindow::Poster() {
  return [this](WindowJob job) {
    {
      const std::lock_guard lock(mutex_);
      jobs_.push_back(std::move(job));
    }
    posted_.notify_one();
  };
}

bool HeadlessWindow::runPosted() {
  for (;;) {
    WindowJob job;
    {
      const std::lock_guard lock(mutex_);
      if (jobs_.empty()) return true;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    try {
      job();
    } catch (const tracklog::FatalError& error) {
      fatal = error;
      return false;
    }
  }
}

void HeadlessWindow::fire(DownloadSequence& sequence, DownloadTimer timer) {
  switch (timer) {
    case DownloadTimer::Timer2:
      sequence.Timer2Tick();
      break;
    case DownloadTimer::QueryRecord:
      sequence.QueryRecordTick();
      break;
    case DownloadTimer::Timer3:
      sequence.Timer3Tick();
      break;
    case DownloadTimer::Timer1:
      sequence.Timer1Tick();
      break;
  }
}

bool HeadlessWindow::RunUntil(DownloadSequence& sequence, const std::function<bool()>& done,
                              std::chrono::milliseconds limit) {
  const Clock::time_point deadline = Clock::now() + limit;
  for (;;) {
    if (!runPosted() || done()) return done();
    const Clock::time_point now = Clock::now();
    if (now >= deadline) return false;

    const auto next = std::min_element(due_.begin(), due_.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (next != due_.end() && next->second <= now) {
      const DownloadTimer timer = next->first;
      // Like a window's timer: a late tick is not made up for.
      next->second = std::max(next->second + IntervalOf(timer), now);
      try {
        fire(sequence, timer);
      } catch (const tracklog::FatalError& error) {
        fatal = error;
        return done();
      }
      continue;
    }
    const Clock::time_point wake = next == due_.end() ? deadline : std::min(next->second, deadline);
    std::unique_lock lock(mutex_);
    posted_.wait_until(lock, wake, [this] { return !jobs_.empty(); });
  }
}

void HeadlessWindow::note(std::string event) {
  if (observer) observer(event);
  events.push_back(std::move(event));
}

void HeadlessWindow::StartTimer(DownloadTimer timer) {
  due_[timer] = Clock::now() + IntervalOf(timer);
  note(std::string("StartTimer ") + NameOf(timer));
}

void HeadlessWindow::StopTimer(DownloadTimer timer) {
  due_.erase(timer);
  note(std::string("StopTimer ") + NameOf(timer));
}

void HeadlessWindow::EnableButton(CommandButton button) {
  enabled.push_back(button);
  note(std::string("Enable ") + NameOf(button));
}

void HeadlessWindow::LoadChartPreference() {
  chartPreferenceLoaded = true;
  note("LoadChartPreference");
}

void HeadlessWindow::SetStatusText(std::string_view text) {
  status = text;
  if (!status.ends_with("% Reading...... ")) note("Status " + status);
}

void HeadlessWindow::SetStatusColour(StatusColour colour) {
  if (colour != statusColour) note(colour == StatusColour::Red ? "StatusColour red" : "StatusColour black");
  statusColour = colour;
}

void HeadlessWindow::SetProgress(int percent) {
  progress = percent;
}

void HeadlessWindow::SetRecordCountText(std::string_view text) {
  recordCount = text;
  note("Records " + recordCount);
}

void HeadlessWindow::SetPercentageText(std::string_view text) {
  percentage = text;
  note("Percentage " + percentage);
}

void HeadlessWindow::SetUserId(std::string_view text) {
  userId = text;
  note("UserId " + userId);
}

void HeadlessWindow::FillFilterFromLog(const LogTime& start, const LogTime& end) {
  filter = {start.year, start.month, start.day, start.hour, start.minute, start.second,
            end.year,   end.month,   end.day,   end.hour,   end.minute,   end.second};
  note("FillFilterFromLog");
}

void HeadlessWindow::SaveResetSnapshot(FilterSnapshot& snapshot) {
  snapshot.fields = filter;
  snapshot.zoneIndex = -1;
  note("SaveResetSnapshot");
}

bool HeadlessWindow::Ask(std::string_view text, std::string_view caption) {
  questions.push_back(std::string(caption) + ": " + std::string(text));
  return answer;
}

}  // namespace tellurix::logger
