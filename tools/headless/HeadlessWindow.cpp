#include "HeadlessWindow.h"

#include <algorithm>

namespace tellurix::headless {

using logger::CommandButton;
using logger::DownloadTimer;

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

bool HeadlessWindow::runPosted() {
  while (std::optional<logger::WindowJob> job = jobs_.Take()) {
    try {
      (*job)();
    } catch (const tracklog::FatalError& error) {
      fatal = error;
      return false;
    }
  }
  return true;
}

bool HeadlessWindow::RunUntil(logger::DownloadSequence& sequence, const std::function<bool()>& done,
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
      next->second = std::max(next->second + logger::IntervalOf(timer), now);
      try {
        sequence.Tick(timer);
      } catch (const tracklog::FatalError& error) {
        fatal = error;
        return done();
      }
      continue;
    }
    jobs_.WaitUntil(next == due_.end() ? deadline : std::min(next->second, deadline));
  }
}

void HeadlessWindow::note(std::string event) {
  if (observer) observer(event);
  events.push_back(std::move(event));
}

void HeadlessWindow::StartTimer(DownloadTimer timer) {
  due_[timer] = Clock::now() + logger::IntervalOf(timer);
  note(std::string("StartTimer ") + logger::NameOf(timer));
}

void HeadlessWindow::StopTimer(DownloadTimer timer) {
  due_.erase(timer);
  note(std::string("StopTimer ") + logger::NameOf(timer));
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

void HeadlessWindow::SetStatusColour(logger::StatusColour colour) {
  if (colour != statusColour)
    note(colour == logger::StatusColour::Red ? "StatusColour red" : "StatusColour black");
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

void HeadlessWindow::FillFilterFromLog(const logger::LogTime& start, const logger::LogTime& end) {
  logStart = start;
  logEnd = end;
  filter = {start.year, start.month, start.day, start.hour, start.minute, start.second,
            end.year,   end.month,   end.day,   end.hour,   end.minute,   end.second};
  note("FillFilterFromLog");
}

void HeadlessWindow::SaveResetSnapshot() {
  resetFilter = filter;
  note("SaveResetSnapshot");
}

bool HeadlessWindow::Ask(std::string_view text, std::string_view caption) {
  questions.push_back(std::string(caption) + ": " + std::string(text));
  return answer;
}

}  // namespace tellurix::headless
