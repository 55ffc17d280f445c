#include "Geodesy.h"

#include <cmath>

namespace tellurix::tracklog {
namespace {

constexpr double kPi = 3.141592653589793;

struct PlaneOffset {
  double dx;  // metres east
  double dy;  // metres north
};

double radians(double degrees) {
  return degrees * kPi / 180;
}

PlaneOffset planeOffset(const PlanePoint& from, double lambda2, double phi2) {
  return {(lambda2 - from.lambda) * from.eastScale, (phi2 - from.phi) * from.radius};
}

PlaneOffset planeOffset(double lat1, double lon1, double lat2, double lon2) {
  return planeOffset(planePointOf(lat1, lon1), radians(lon2), radians(lat2));
}

double length(const PlaneOffset& o) {
  return std::sqrt(o.dx * o.dx + o.dy * o.dy);
}

}  // namespace

PlanePoint planePointOf(double lat, double lon) {
  // The local radius falls linearly from the equatorial 6378137 m to the polar 6356725 m.
  const double radius = (90 - std::fabs(lat)) * 21412 / 90 + 6356725;
  const double phi = radians(lat);
  return {radians(lon), phi, radius, std::cos(phi) * radius};
}

double distanceMetres(const PlanePoint& from, const PlanePoint& to) {
  return length(planeOffset(from, to.lambda, to.phi));
}

double distanceMetres(const PlanePoint& from, double lat2, double lon2) {
  return length(planeOffset(from, radians(lon2), radians(lat2)));
}

double distanceMetres(double lat1, double lon1, double lat2, double lon2) {
  return length(planeOffset(lat1, lon1, lat2, lon2));
}

double bearingDegrees(double lat1, double lon1, double lat2, double lon2) {
  const PlaneOffset o = planeOffset(lat1, lon1, lat2, lon2);
  if (o.dy == 0) {
    if (o.dx > 0) return 90;
    if (o.dx < 0) return 270;
    return 0;
  }
  const double a = std::atan(std::fabs(o.dx / o.dy)) * 180 / kPi;
  const double dLambda = lon2 * kPi / 180 - lon1 * kPi / 180;
  const double dPhi = lat2 * kPi / 180 - lat1 * kPi / 180;
  if (dLambda >= 0 && dPhi >= 0) return a;
  if (dLambda < 0 && dPhi >= 0) return 360 - a;
  if (dLambda < 0) return 180 + a;
  return 180 - a;
}

}  // namespace tellurix::tracklog
