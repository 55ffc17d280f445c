#include "JobQueue.h"

namespace tellurix::logger {

JobQueue::JobQueue(std::function<void()> posted) : posted_(std::move(posted)) {}

void JobQueue::Post(WindowJob job) {
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  waiting_.notify_all();
  if (posted_) posted_();
}

PostToWindow JobQueue::Poster() {
  return [this](WindowJob job) { Post(std::move(job)); };
}

std::optional<WindowJob> JobQueue::Take() {
  const std::lock_guard lock(mutex_);
  if (jobs_.empty()) return std::nullopt;
  WindowJob job = std::move(jobs_.front());
  jobs_.pop_front();
  return job;
}

void JobQueue::Clear() {
  const std::lock_guard lock(mutex_);
  jobs_.clear();
}

void JobQueue::WaitUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  waiting_.wait_until(lock, deadline, [this] { return !jobs_.empty(); });
}

}  // namespace tellurix::logger
