// Sunrise, transit, sunset, dawn and dusk, as clock texts HH:MM:SS.
//
// Longitude is degrees with east NEGATIVE, latitude north positive; the time
// zone is whole hours (every caller passes TimeZoneHours).  "00:00:00" and
// "24:00:00" mark events that do not happen (polar day and night).
#pragma once

#include <string>

#include "engine/dates.h"

namespace tovani {

enum SunEventKind {
  kSunrise = 1,
  kSunTransit = 2,
  kSunset = 3,
  kDaylightLength = 4,  // sunrise to sunset
  kDawn = 5,
  kDusk = 6,
  kLightLength = 7,  // dawn to dusk
};

// Empty when longitude is outside -180..180, latitude outside -90..90, the
// time zone outside -12..12 or the kind outside 1..7.
std::string SunEventTime(DayNumber day, double longitude, double latitude, int timeZone, SunEventKind kind);

// Helpers.
double MeanObliquity(double centuries);  // radians
double SiderealAngle(double daysFromJ2000, double deltaTDays);  // radians
struct Equatorial {
  double rightAscension, declination;  // radians; right ascension in [0, 2 pi)
};
Equatorial EclipticToEquatorial(double longitude, double latitude, double obliquity);
// HH:MM:SS of the fraction of a day (truncated, not rounded).
std::string DayFractionToClock(double x);

}  // namespace tovani
