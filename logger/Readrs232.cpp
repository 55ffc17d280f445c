#include "Readrs232.h"

#include <sys/resource.h>
#include <unistd.h>

namespace tellurix::logger {
namespace {

// Above normal, as far as the system lets an unprivileged program go; quietly nothing
// otherwise. Real-time scheduling is not wanted: a 20 ms sleeper needs no more.
void raisePriority() {
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), -10);
}

std::int64_t threadCpuMicros() {
  rusage usage{};
  if (::getrusage(RUSAGE_THREAD, &usage) != 0) return 0;
  const auto micros = [](const timeval& t) { return std::int64_t{t.tv_sec} * 1000000 + t.tv_usec; };
  return micros(usage.ru_utime) + micros(usage.ru_stime);
}

}  // namespace

TRead232::TRead232(LoggerLink& link, Clock& clock, PacketBuffer::PayloadSink payload,
                   std::function<void()> completion)
    : link_(link), clock_(clock), payload_(std::move(payload)), completion_(std::move(completion)) {}

TRead232::~TRead232() {
  Stop();
}

void TRead232::Resume() {
  if (thread_.joinable() || Finished()) return;
  thread_ = std::jthread([this](const std::stop_token& stop) { Execute(stop); });
}

void TRead232::Stop() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}

void TRead232::Execute(const std::stop_token& stop) {
  raisePriority();
  ReaderEnd how = ReaderEnd::LineLost;
  try {
    how = readUntilDone(stop);
  } catch (...) {
    // Nothing may escape a thread body; the download simply stalls.
  }
  cpuMicros_ = threadCpuMicros();
  end_ = how;
}

ReaderEnd TRead232::readUntilDone(const std::stop_token& stop) {
  for (;;) {
    if (stop.stop_requested()) return ReaderEnd::Stopped;
    rounds_.fetch_add(1, std::memory_order_relaxed);
    const std::optional<std::size_t> waiting = link_.BytesWaiting();
    if (!waiting) return ReaderEnd::LineLost;
    if (*waiting > PacketBuffer::kMaxBlock) {
      link_.DiscardInput();
      return ReaderEnd::Overrun;
    }
    const std::size_t n = *waiting;
    if (n > 0 && !link_.Read(block_.data(), n)) return ReaderEnd::LineLost;
    clock_.SleepFor(kRhythm);
    if (n > 0 && buffer_.Take({block_.data(), n}, payload_)) {
      completion_();
      return ReaderEnd::Completed;
    }
  }
}

}  // namespace tellurix::logger
