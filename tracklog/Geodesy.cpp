#include "Geodesy.h"

#include <cmath>

namespace tellurix::tracklog {
namespace {

constexpr double kPi = 3.141592653589793;

struct PlaneOffset {
  double dx;  // metres east
  double dy;  // metres north
};

PlaneOffset planeOffset(double lat1, double lon1, double lat2, double lon2) {
  const double lambda1 = lon1 * kPi / 180;
  const double phi1 = lat1 * kPi / 180;
  const double lambda2 = lon2 * kPi / 180;
  const double phi2 = lat2 * kPi / 180;
  // The local radius falls linearly from the equatorial 6378137 m to the polar 6356725 m.
  const double radius = (90 - std::fabs(lat1)) * 21412 / 90 + 6356725;
  const double eastScale = std::cos(phi1) * radius;
  return {(lambda2 - lambda1) * eastScale, (phi2 - phi1) * radius};
}

}  // namespace

double distanceMetres(double lat1, double lon1, double lat2, double lon2) {
  const PlaneOffset o = planeOffset(lat1, lon1, lat2, lon2);
  return std::sqrt(o.dx * o.dx + o.dy * o.dy);
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
