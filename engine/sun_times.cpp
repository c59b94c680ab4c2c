#include "engine/sun_times.h"

#include <cmath>
#include <cstdio>

#include "engine/astronomy.h"

namespace tovani {
namespace {

// Altitudes of the Sun's centre, degrees: the upper limb on the horizon with
// standard refraction (-50'), and the end of civil twilight.
constexpr double kHorizonAltitude = -50.0 * 60 / 3600;
constexpr double kTwilightAltitude = -6.0;

// Half the arc of the Sun above an altitude, degrees of hour angle: -180 when
// it stays above all day, 180 when it stays below.
double HalfArc(double altitude, double declination, double latitude) {
  const double phi = latitude * Degree;
  const double q =
      (std::sin(altitude * Degree) - std::sin(declination) * std::sin(phi)) / (std::cos(declination) * std::cos(phi));
  if (q <= -1) return -180;
  if (q >= 1) return 180;
  return std::acos(q) / Degree;
}

constexpr const char* kNoEvent = "00:00:00";
constexpr const char* kWholeDay = "24:00:00";

}  // namespace

double MeanObliquity(double t) {
  const double seconds =
      84381.4088 - 46.836051 * t - 0.0001667 * t * t - 0.00199911 * t * t * t - 0.000000523 * t * t * t * t;
  return seconds / 3600 * Degree;
}

double SiderealAngle(double d, double deltaT) {
  const double tt = (d + deltaT) / 36525;
  // The Earth rotation angle in turns; the whole turns of d are dropped
  // before the multiplication so that no precision is lost far from 2000.
  double turns = 0.779057273264 + 0.00273781191135 * d + (d - std::floor(d));
  turns -= std::floor(turns);
  const double precession = (0.014506 + 4612.15739966 * tt + 1.39667721 * tt * tt - 0.00009344 * tt * tt * tt +
                             0.00001882 * tt * tt * tt * tt) /
                            3600 * Degree;
  return NormalizeRadians(2 * Pi * turns + precession);
}

Equatorial EclipticToEquatorial(double lambda, double beta, double epsilon) {
  // The two-argument arctangent keeps the quadrant of the right ascension.
  const double ra =
      std::atan2(std::cos(epsilon) * std::sin(lambda) - std::sin(epsilon) * std::tan(beta), std::cos(lambda));
  double s = std::cos(epsilon) * std::sin(beta) + std::sin(epsilon) * std::cos(beta) * std::sin(lambda);
  if (s > 1) s = 1;
  if (s < -1) s = -1;
  return {NormalizeRadians(ra), std::asin(s)};
}

std::string DayFractionToClock(double x) {
  if (!std::isfinite(x)) return {};
  double f = x - std::floor(x);
  // A tiny negative x leaves f = 1 after rounding: the end of the day before.
  if (f >= 1) f = std::nextafter(1.0, 0.0);
  const int hours = static_cast<int>(std::floor(24 * f));
  const double h1 = 24 * f - hours;
  const int minutes = static_cast<int>(std::floor(60 * h1));
  const int seconds = static_cast<int>(std::floor(60 * (60 * h1 - minutes)));
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hours, minutes, seconds);
  return buf;
}

std::string SunEventTime(DayNumber day, double longitude, double latitude, int timeZone, SunEventKind kind) {
  // The negated tests also turn away NaN.
  if (!(longitude >= -180 && longitude <= 180) || !(latitude >= -90 && latitude <= 90)) return {};
  if (timeZone < -12 || timeZone > 12 || kind < kSunrise || kind > kLightLength) return {};
  if (day < FirstValidDayNumber || day > LastValidDayNumber) return {};

  // The Sun at 00:00 UT of the date.
  const double jd0 = day - 0.5;
  const double d = jd0 - J2000;
  const double deltaT = UtToTt(jd0) - jd0;
  const Equatorial sun = EclipticToEquatorial(SunApparentLongitude(jd0 + deltaT) * Degree, 0, MeanObliquity(d / 36525));

  // Its hour angle at 00:00 UT, degrees in [0, 360).  The transit comes
  // (360 - H)/360 of a day after 00:00 UT, that is (180 - H')/360 with
  // H' = H - 180.  Every event is a fraction of a day that the clock text
  // reduces into [0, 1), which gives the true local times for every
  // longitude, also where H is below 180 (near Greenwich, west of it and
  // close to the date line).
  const double hourAngle =
      NormalizeAngle(SiderealAngle(d, deltaT) / Degree - longitude - sun.rightAscension / Degree, 180, 180);
  const double h = hourAngle - 180;
  const double z = timeZone / 24.0;

  const bool twilight = kind >= kDawn;
  const double arc = HalfArc(twilight ? kTwilightAltitude : kHorizonAltitude, sun.declination, latitude);
  if (arc == 180) return kNoEvent;  // the Sun stays below the altitude
  if (arc == -180) {                // and above it
    switch (kind) {
      case kSunrise:
      case kDawn:
        return kNoEvent;
      case kSunTransit:
        return DayFractionToClock((180 - h) / 360 + z);
      default:
        return kWholeDay;
    }
  }
  switch (kind) {
    case kSunrise:
    case kDawn:
      return DayFractionToClock((180 - arc - h) / 360 + z);
    case kSunTransit:
      return DayFractionToClock((180 - h) / 360 + z);
    case kSunset:
    case kDusk:
      return DayFractionToClock((180 + arc - h) / 360 + z);
    default:  // kDaylightLength, kLightLength
      return DayFractionToClock(2 * arc / 360);
  }
}

}  // namespace tovani
