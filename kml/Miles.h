#pragma once

namespace tellurix::kml {

// Miles (and MPH) have always been km (km/h) × the reciprocal of 1.6 held at extended
// precision; printed values are that product rounded to double, so 18.75 MPH shows as 19 and
// 12.5 MPH as 12 (printf's tie rule).
inline constexpr long double kMilesPerKm = 0.62499999999999996530L;

// In extended precision, for comparisons with a limit in MPH.
inline long double milesExact(double km) {
  return static_cast<long double>(km) * kMilesPerKm;
}

// Rounded to double, as printed.
inline double inMiles(double km) {
  return static_cast<double>(milesExact(km));
}

}  // namespace tellurix::kml
