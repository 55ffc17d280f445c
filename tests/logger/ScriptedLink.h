#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "logger/DownloadView.h"
#include "logger/LoggerLink.h"

namespace tellurix::testing {

using Bytes = std::vector<std::uint8_t>;

// A logger link that plays a script: each poll of the bytes waiting first lets the next
// scripted block arrive, so every read takes exactly one block. Safe to use from the reader
// thread and the test at once.
class ScriptedLink final : public logger::LoggerLink {
 public:
  struct Written {
    Bytes bytes;  // one write call
    logger::LineSpeed speed;
  };

  void Arrive(const Bytes& block) {
    const std::lock_guard lock(mutex_);
    script_.push_back(block);
  }
  // The next poll reports this many bytes waiting, whatever has arrived.
  void ReportWaiting(std::size_t n) {
    const std::lock_guard lock(mutex_);
    forcedWaiting_ = n;
  }
  void LoseLine() {
    const std::lock_guard lock(mutex_);
    lost_ = true;
  }

  bool Configure(logger::LineSpeed speed) override {
    const std::lock_guard lock(mutex_);
    speed_ = speed;
    speeds_.push_back(speed);
    return true;
  }
  std::optional<std::size_t> BytesWaiting() override {
    const std::lock_guard lock(mutex_);
    ++polls_;
    if (lost_) return std::nullopt;
    if (!script_.empty()) {
      pending_.insert(pending_.end(), script_.front().begin(), script_.front().end());
      script_.pop_front();
    }
    if (forcedWaiting_) return std::exchange(forcedWaiting_, std::nullopt);
    return pending_.size();
  }
  bool Read(std::uint8_t* into, std::size_t n) override {
    const std::lock_guard lock(mutex_);
    if (n > pending_.size()) return false;
    std::copy_n(pending_.begin(), n, into);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    return true;
  }
  bool Write(const std::uint8_t* bytes, std::size_t n) override {
    const std::lock_guard lock(mutex_);
    writes_.push_back({Bytes(bytes, bytes + n), speed_});
    return true;
  }
  void DiscardInput() override {
    const std::lock_guard lock(mutex_);
    pending_.clear();
    ++discards_;
  }
  void Close() override {
    const std::lock_guard lock(mutex_);
    closed_ = true;
  }
  bool Closed() {
    const std::lock_guard lock(mutex_);
    return closed_;
  }

  std::vector<Written> Writes() {
    const std::lock_guard lock(mutex_);
    return writes_;
  }
  // Everything written, joined, and the number of write calls it took.
  Bytes WrittenBytes() {
    Bytes all;
    for (const Written& w : Writes()) all.insert(all.end(), w.bytes.begin(), w.bytes.end());
    return all;
  }
  std::vector<logger::LineSpeed> Speeds() {
    const std::lock_guard lock(mutex_);
    return speeds_;
  }
  int Discards() {
    const std::lock_guard lock(mutex_);
    return discards_;
  }
  int Polls() {
    const std::lock_guard lock(mutex_);
    return polls_;
  }
  bool ScriptDone() {
    const std::lock_guard lock(mutex_);
    return script_.empty() && pending_.empty();
  }

 private:
  std::mutex mutex_;
  std::deque<Bytes> script_;
  Bytes pending_;
  std::optional<std::size_t> forcedWaiting_;
  bool lost_ = false;
  bool closed_ = false;
  logger::LineSpeed speed_ = logger::LineSpeed::Baud4800;
  std::vector<logger::LineSpeed> speeds_;
  std::vector<Written> writes_;
  int discards_ = 0;
  int polls_ = 0;
};

// Keeps the waits asked for and sleeps a token millisecond, so the reader does not spin.
class RecordingClock final : public logger::Clock {
 public:
  void SleepFor(std::chrono::milliseconds duration) override {
    {
      const std::lock_guard lock(mutex_);
      if (duration != std::chrono::milliseconds(20)) waits_.push_back(duration.count());
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // The waits other than the reader's 20 ms rhythm, in ms.
  std::vector<long> Waits() {
    const std::lock_guard lock(mutex_);
    return waits_;
  }

 private:
  std::mutex mutex_;
  std::vector<long> waits_;
};

}  // namespace tellurix::testing
