#pragma once

namespace tellurix::tracklog {

// Flat-earth approximation scaled at the first point's latitude; the earlier point goes first.
double distanceMetres(double lat1, double lon1, double lat2, double lon2);

// Degrees clockwise from north, from point 1 towards point 2, in [0, 360]. No wrap at ±180°.
double bearingDegrees(double lat1, double lon1, double lat2, double lon2);

}  // namespace tellurix::tracklog
