#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "DownloadView.h"

namespace tellurix::logger {

// The jobs posted to the window thread: posted from any thread (the reader's completion), taken
// on the window thread in the order of posting.
class JobQueue {
 public:
  // `posted` is called after every Post, on the posting thread and outside the lock: how a
  // window learns that a job waits (the Qt window queues a call to itself).
  explicit JobQueue(std::function<void()> posted = {});
  JobQueue(const JobQueue&) = delete;
  JobQueue& operator=(const JobQueue&) = delete;
  JobQueue(JobQueue&&) = delete;
  JobQueue& operator=(JobQueue&&) = delete;
  ~JobQueue() = default;

  void Post(WindowJob job);
  // Post, as DownloadSequence takes it; the queue must outlive the sequence.
  [[nodiscard]] PostToWindow Poster();
  // The oldest job, or nothing.
  [[nodiscard]] std::optional<WindowJob> Take();
  // Drops every waiting job.
  void Clear();
  // Returns when a job waits or `deadline` has come.
  void WaitUntil(std::chrono::steady_clock::time_point deadline);

 private:
  std::function<void()> posted_;
  std::mutex mutex_;
  std::condition_variable waiting_;
  std::deque<WindowJob> jobs_;
};

}  // namespace tellurix::logger
