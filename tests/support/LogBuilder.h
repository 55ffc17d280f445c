#pragma once

#include <string>
#include <vector>

#include "tracklog/TrackPoint.h"

namespace tellurix::testing {

// A fix for fixtures: position, speed and a UTC date-time.
tracklog::TrackPoint fix(double latitude, double longitude, float speed, int year, int month, int day,
                         int hour, int minute, int second, float altitude = 0);

// Points `stepMetres` apart northwards, one second apart, starting at `first`.
std::vector<tracklog::TrackPoint> straightDrive(const tracklog::TrackPoint& first, int count,
                                                double stepMetres, float speed);

// Writes the points as a log file of 16-byte records.
void writeLog(const std::string& path, const std::vector<tracklog::TrackPoint>& points);

}  // namespace tellurix::testing
