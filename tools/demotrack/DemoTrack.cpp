#include "DemoTrack.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "tracklog/LogRecord.h"

namespace tellurix::demotrack {
namespace {

using tracklog::TrackPoint;

constexpr double kPi = 3.141592653589793;
constexpr double kMetresPerDegree = 111319.49;
// The share of halts braked into late and hard, and left as briskly: one hard braking and one
// hard acceleration each, a few dozen of each a day.
constexpr double kFirmHaltShare = 0.25;

// A small generator of our own, so the track is the same with every standard library.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed * 2654435761U + 1) {}
  double uniform() {  // [0, 1)
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 4294967296.0;
  }
  double between(double low, double high) { return low + (high - low) * uniform(); }
  int whole(int low, int high) { return low + static_cast<int>(uniform() * (high - low + 1)); }

 private:
  std::uint32_t state_;
};

class TrackBuilder {
 public:
  TrackBuilder(const DemoTrackOptions& options)
      : options_(options),
        random_(options.seed),
        latitude_(options.latitude),
        longitude_(options.longitude),
        time_(options.startUtc) {}

  std::vector<TrackPoint> build() {
    points_.reserve(options_.records);
    while (!full()) {
      drive(random_.whole(300, 2400), random_.uniform() < 0.5 ? 55.0 : 105.0);
      if (random_.uniform() < 0.08) skipTime(random_.whole(900, 2400));  // logger off while moving
      drive(random_.whole(60, 300), 25.0);
      park(random_.whole(12 * 60, 50 * 60));
    }
    points_.resize(options_.records);
    return points_;
  }

 private:
  [[nodiscard]] bool full() const { return points_.size() >= options_.records; }

  void drive(int seconds, double cruise) {
    for (int s = 0; s < seconds && !full(); ++s) {
      if (random_.uniform() < 0.004) halt(random_.whole(20, 90));
      target_ = std::clamp(target_ + random_.between(-3, 3), cruise * 0.6, cruise * 1.25);
      if (speed_ == 0) pullAway(std::min(target_, haltedFrom_));
      const double change = std::clamp(target_ - speed_, -7.0, 7.0);
      speed_ = std::max(0.0, speed_ + change * random_.between(0.3, 1.0));
      heading_ += random_.between(-4, 4) * (speed_ < 40 ? 2 : 1);
      move(speed_ / 3.6);
      emit(speed_);
    }
  }

  // One second of a halt or a start: 3 to 9 km/h, or 15 to 20 for the firm one.
  double speedStep(bool& firm) {
    if (!firm) return random_.between(3, 9);
    firm = false;
    return random_.between(15, 20);
  }

  // The driver pulls away from a halt as briskly as they braked into it, back to the speed
  // they halted from; now and then late and hard, with one firm second each way.
  void halt(int seconds) {
    if (speed_ > 0) {
      haltedFrom_ = speed_;
      firmHalt_ = random_.uniform() < kFirmHaltShare;
    }
    bool firm = firmHalt_;
    while (speed_ > 0 && !full()) {
      speed_ = std::max(0.0, speed_ - speedStep(firm));
      move(speed_ / 3.6);
      emit(speed_);
    }
    for (int s = 0; s < seconds && !full(); ++s) emit(0);
  }

  void pullAway(double upTo) {
    bool firm = firmHalt_;
    while (speed_ < upTo && !full()) {
      speed_ = std::min(upTo, speed_ + speedStep(firm));
      heading_ += random_.between(-4, 4) * 2;
      move(speed_ / 3.6);
      emit(speed_);
    }
  }

  void park(int seconds) {
    halt(0);
    const double lat = latitude_;
    const double lon = longitude_;
    for (int s = 0; s < seconds && !full(); ++s) {
      latitude_ = lat + random_.between(-2.5, 2.5) / kMetresPerDegree;
      longitude_ = lon + random_.between(-2.5, 2.5) / kMetresPerDegree;
      emit(0);
    }
    latitude_ = lat;
    longitude_ = lon;
    heading_ += random_.between(90, 270);
  }

  void skipTime(int seconds) {
    move(seconds * 20.0);
    time_ = tracklog::addSeconds(time_, seconds);
  }

  void move(double metres) {
    const double rad = heading_ * kPi / 180;
    latitude_ += metres * std::cos(rad) / kMetresPerDegree;
    longitude_ += metres * std::sin(rad) / (kMetresPerDegree * std::cos(latitude_ * kPi / 180));
  }

  void emit(double speed) {
    TrackPoint p;
    p.latitude = latitude_;
    p.longitude = longitude_;
    altitude_ = std::clamp(altitude_ + random_.between(-0.6, 0.6), 2.0, 900.0);
    p.altitude = static_cast<float>(std::round(altitude_));
    p.speed = static_cast<float>(std::round(speed));
    tracklog::setCalendarTime(p, time_);
    points_.push_back(p);
    time_ = tracklog::addSeconds(time_, 1);
  }

  DemoTrackOptions options_;
  Random random_;
  double latitude_;
  double longitude_;
  double heading_ = 30;
  double speed_ = 0;
  double target_ = 0;
  double haltedFrom_ = 25;  // the speed out of a parking place
  bool firmHalt_ = false;
  double altitude_ = 12;
  tracklog::CalendarTime time_;
  std::vector<TrackPoint> points_;
};

}  // namespace

std::vector<TrackPoint> makeDemoTrack(const DemoTrackOptions& options) {
  return TrackBuilder(options).build();
}

bool writeLogFile(const std::string& path, const std::vector<TrackPoint>& points) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  for (const TrackPoint& p : points) {
    const tracklog::LogRecord record = tracklog::encodeLogRecord(p);
    if (std::fwrite(record.data(), 1, record.size(), file.get()) != record.size()) return false;
  }
  return std::fclose(file.release()) == 0;
}

}  // namespace tellurix::demotrack
