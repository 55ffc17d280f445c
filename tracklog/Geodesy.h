#pragma once

namespace tellurix::tracklog {

// Flat-earth approximation scaled at the first point's latitude; the earlier point goes first.
double distanceMetres(double lat1, double lon1, double lat2, double lon2);

// Degrees clockwise from north, from point 1 towards point 2, in [0, 360]. No wrap at ±180°.
double bearingDegrees(double lat1, double lon1, double lat2, double lon2);

// The terms of the distance that belong to one point, worked out once for a point that many
// distances are measured from or to (the stop search measures millions): a distance from
// them is the distanceMetres of the two positions to the last bit.
struct PlanePoint {
  double lambda;     // longitude in radians
  double phi;        // latitude in radians
  double radius;     // metres, at this latitude
  double eastScale;  // metres per radian east, at this latitude
};
PlanePoint planePointOf(double lat, double lon);

double distanceMetres(const PlanePoint& from, const PlanePoint& to);
double distanceMetres(const PlanePoint& from, double lat2, double lon2);

}  // namespace tellurix::tracklog
