#include "engine/sun_times.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace tovani {
namespace {

DayNumber Day(int y, int m, int d) { return DateToDayNumber(y, m, d); }
double Rad(double degrees) { return degrees * std::numbers::pi / 180; }
double Deg(double radians) { return radians * 180 / std::numbers::pi; }

// Minutes since 00:00 of an "HH:MM:SS" text; -1 for anything else.
double ClockMinutes(const std::string& s) {
  if (s.size() != 8 || s[2] != ':' || s[5] != ':') return -1;
  for (int i : {0, 1, 3, 4, 6, 7}) {
    if (s[i] < '0' || s[i] > '9') return -1;
  }
  const int h = std::stoi(s.substr(0, 2)), m = std::stoi(s.substr(3, 2)), sec = std::stoi(s.substr(6, 2));
  if (h > 24 || m > 59 || sec > 59) return -1;
  return h * 60 + m + sec / 60.0;
}

// The difference of two clock times in minutes, taken the short way round the day.
double ClockDifference(double a, double b) {
  double d = std::fmod(a - b, 1440);
  if (d > 720) d -= 1440;
  if (d < -720) d += 1440;
  return d;
}

// The difference of two angles in degrees, in [-180, 180).
double AngleDifference(double a, double b) { return std::remainder(a - b, 360); }

// An independent reference: the low-precision solar coordinates and the
// equation of time of the NOAA solar calculator (Meeus, chapters 25 and 28),
// with the event times iterated on the Sun's position at the event itself.
struct ReferenceSun {
  double declination;     // degrees
  double equationOfTime;  // minutes
};

ReferenceSun ReferenceSunAt(double jd) {
  const double t = (jd - 2451545.0) / 36525;
  const double l0 = std::fmod(280.46646 + t * (36000.76983 + 0.0003032 * t), 360);
  const double m = Rad(357.52911 + t * (35999.05029 - 0.0001537 * t));
  const double e = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
  const double c = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                   std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
  const double omega = Rad(125.04 - 1934.136 * t);
  const double lambda = Rad(l0 + c - 0.00569 - 0.00478 * std::sin(omega));
  const double eps0 = 23 + (26 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60) / 60;
  const double eps = Rad(eps0 + 0.00256 * std::cos(omega));
  const double l = Rad(l0);
  const double y = std::pow(std::tan(eps / 2), 2);
  const double eot = y * std::sin(2 * l) - 2 * e * std::sin(m) + 4 * e * y * std::sin(m) * std::cos(2 * l) -
                     0.5 * y * y * std::sin(4 * l) - 1.25 * e * e * std::sin(2 * m);
  return {Deg(std::asin(std::sin(eps) * std::sin(lambda))), 4 * Deg(eot)};
}

enum Side { kRising = -1, kNoon = 0, kSetting = 1 };

// The UTC+8 clock time, in minutes, of the event of the local date at a place
// (east longitude positive here, as the reference formulas have it).
double ReferenceClockMinutes(DayNumber day, double eastLongitude, double latitude, double altitude, Side side) {
  const double jd0 = day - 0.5;
  double minutes = 720 - 4 * eastLongitude;  // about the local noon of the date
  for (int i = 0; i < 5; ++i) {
    const ReferenceSun s = ReferenceSunAt(jd0 + minutes / 1440);
    double halfArc = 0;
    if (side != kNoon) {
      const double q = (std::sin(Rad(altitude)) - std::sin(Rad(latitude)) * std::sin(Rad(s.declination))) /
                       (std::cos(Rad(latitude)) * std::cos(Rad(s.declination)));
      halfArc = Deg(std::acos(q));
    }
    minutes = 720 - 4 * eastLongitude - s.equationOfTime + side * 4 * halfArc;
  }
  return std::fmod(minutes + 8 * 60 + 2 * 1440, 1440);
}

std::string Event(int y, int m, int d, double longitude, double latitude, SunEventKind kind) {
  return SunEventTime(Day(y, m, d), longitude, latitude, TimeZoneHours, kind);
}

TEST(SunTimes, BeijingOnNewYearsDay2000) {
  // The published times for Beijing: sunrise 07:36, transit 12:17, sunset 16:59.
  const double lon = -116.3833, lat = 39.9;
  EXPECT_NEAR(ClockMinutes(Event(2000, 1, 1, lon, lat, kSunrise)), 7 * 60 + 36, 1);
  EXPECT_NEAR(ClockMinutes(Event(2000, 1, 1, lon, lat, kSunTransit)), 12 * 60 + 17, 1);
  EXPECT_NEAR(ClockMinutes(Event(2000, 1, 1, lon, lat, kSunset)), 16 * 60 + 59, 1);
}

// Sunrise, transit, sunset, dawn and dusk through the year on both sides of
// Greenwich and of the date line, against the reference.  Every time is a
// UTC+8 clock time, whatever the place.  At Greenwich the hour angle at
// 00:00 UT passes 180 degrees twice a year, at 179 E it stays just below 360,
// west of Greenwich it stays below 180.  The Sun is taken at 00:00 UT of the
// date: where the events fall late in the UT day (west of Greenwich, the
// evening at Greenwich) its motion during the day costs up to two minutes.
TEST(SunTimes, TrueLocalTimesOnBothSidesOfTheMeridians) {
  const struct Place {
    const char* name;
    double longitude;  // east negative
    double latitude;
    double tolerance;  // minutes
  } places[] = {
      {"Beijing", -116.3833, 39.9, 1}, {"Sydney", -151.21, -33.87, 1}, {"179 E", -179, -16.5, 1},
      {"Greenwich", 0, 51.48, 2.5},    {"New York", 74.0, 40.7, 2.5},  {"Quito", 78.5, -0.22, 2.5},
  };
  const struct Kind {
    SunEventKind kind;
    double altitude;
    Side side;
  } kinds[] = {{kSunrise, -50.0 / 60, kRising},
               {kSunTransit, 0, kNoon},
               {kSunset, -50.0 / 60, kSetting},
               {kDawn, -6, kRising},
               {kDusk, -6, kSetting}};
  for (const auto& p : places) {
    for (int year : {1950, 2000, 2024, 2080}) {
      for (DayNumber day = Day(year, 1, 1); day <= Day(year, 12, 31); day += 4) {
        for (const auto& k : kinds) {
          const std::string text = SunEventTime(day, p.longitude, p.latitude, TimeZoneHours, k.kind);
          const double expected = ReferenceClockMinutes(day, -p.longitude, p.latitude, k.altitude, k.side);
          ASSERT_GE(ClockMinutes(text), 0) << p.name << " " << day << " " << k.kind << " " << text;
          EXPECT_NEAR(ClockDifference(ClockMinutes(text), expected), 0, p.tolerance)
              << p.name << " day " << day << " kind " << k.kind << ": " << text;
        }
      }
    }
  }
}

TEST(SunTimes, LengthsOfDaylightAndOfTheLightPeriod) {
  const double lon = -116.3833, lat = 39.9;
  for (DayNumber day = Day(2024, 1, 1); day <= Day(2024, 12, 31); day += 7) {
    const double rise = ReferenceClockMinutes(day, -lon, lat, -50.0 / 60, kRising);
    const double set = ReferenceClockMinutes(day, -lon, lat, -50.0 / 60, kSetting);
    const double dawn = ReferenceClockMinutes(day, -lon, lat, -6, kRising);
    const double dusk = ReferenceClockMinutes(day, -lon, lat, -6, kSetting);
    EXPECT_NEAR(ClockMinutes(SunEventTime(day, lon, lat, 8, kDaylightLength)), set - rise, 2) << day;
    EXPECT_NEAR(ClockMinutes(SunEventTime(day, lon, lat, 8, kLightLength)), dusk - dawn, 2) << day;
  }
  // About twelve hours and eight minutes at the equinox (refraction and the
  // Sun's radius add the minutes).
  EXPECT_NEAR(ClockMinutes(Event(2024, 3, 20, lon, lat, kDaylightLength)), 12 * 60 + 8, 3);
}

TEST(SunTimes, WesternLongitudesGiveTheirLocalTimesInUtcPlus8) {
  // New York on 2000-01-01: sunrise 07:20 and sunset 16:39 EST, that is 20:20
  // the same day and 05:39 the next in UTC+8.
  EXPECT_NEAR(ClockMinutes(Event(2000, 1, 1, 74.0, 40.7, kSunrise)), 20 * 60 + 20, 1.5);
  EXPECT_NEAR(ClockMinutes(Event(2000, 1, 1, 74.0, 40.7, kSunset)), 5 * 60 + 39, 1.5);
  // The time zone argument moves every clock time by whole hours.
  for (SunEventKind kind : {kSunrise, kSunTransit, kSunset, kDawn, kDusk}) {
    const double utc8 = ClockMinutes(Event(2000, 1, 1, 74.0, 40.7, kind));
    const double est = ClockMinutes(SunEventTime(Day(2000, 1, 1), 74.0, 40.7, -5, kind));
    EXPECT_NEAR(ClockDifference(utc8, est + 13 * 60), 0, 1.0 / 60) << kind;
  }
  EXPECT_NEAR(ClockMinutes(SunEventTime(Day(2000, 1, 1), 74.0, 40.7, -5, kSunrise)), 7 * 60 + 20, 1.5);
}

TEST(SunTimes, PolarDayAndNight) {
  // 80 N: the Sun stays above the horizon in late June and below -6 degrees
  // in late December; 80 S the other way round.  The transit is still given
  // in the polar day.
  const struct {
    SunEventKind kind;
    const char* polarDay;
    const char* polarNight;
  } expected[] = {{kSunrise, "00:00:00", "00:00:00"},    {kSunTransit, nullptr, "00:00:00"},
                  {kSunset, "24:00:00", "00:00:00"},     {kDaylightLength, "24:00:00", "00:00:00"},
                  {kDawn, "00:00:00", "00:00:00"},       {kDusk, "24:00:00", "00:00:00"},
                  {kLightLength, "24:00:00", "00:00:00"}};
  for (int day : {20, 21, 25}) {
    for (const auto& e : expected) {
      EXPECT_EQ(Event(2024, 12, day, 0, 80, e.kind), e.polarNight) << day << " " << e.kind;
      if (e.polarDay != nullptr) {
        EXPECT_EQ(Event(2024, 6, day, 0, 80, e.kind), e.polarDay) << day << " " << e.kind;
        EXPECT_EQ(Event(2024, 12, day, 0, -80, e.kind), e.polarDay) << day << " " << e.kind;
      }
    }
    // A place's transit does not depend on its latitude.
    EXPECT_EQ(Event(2024, 6, day, -116.3833, 80, kSunTransit), Event(2024, 6, day, -116.3833, 39.9, kSunTransit));
    EXPECT_EQ(Event(2024, 12, day, 74.0, -80, kSunTransit), Event(2024, 12, day, 74.0, 40.7, kSunTransit));
  }
  // 70 N at the winter solstice: no sunrise, but the Sun climbs above -6 degrees.
  for (SunEventKind kind : {kSunrise, kSunTransit, kSunset, kDaylightLength}) {
    EXPECT_EQ(Event(2024, 12, 21, -25, 70, kind), "00:00:00") << kind;
  }
  const DayNumber day = Day(2024, 12, 21);
  EXPECT_NEAR(ClockDifference(ClockMinutes(Event(2024, 12, 21, -25, 70, kDawn)),
                              ReferenceClockMinutes(day, 25, 70, -6, kRising)),
              0, 3);
  EXPECT_NEAR(ClockDifference(ClockMinutes(Event(2024, 12, 21, -25, 70, kDusk)),
                              ReferenceClockMinutes(day, 25, 70, -6, kSetting)),
              0, 3);
}

TEST(SunTimes, ArgumentsOutOfRangeGiveNothing) {
  const DayNumber day = Day(2024, 3, 1);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double longitude, latitude;
    int zone, kind;
  } bad[] = {{0, 0, 8, 0},      {0, 0, 8, 8},  {0, 90.5, 8, 1}, {0, -90.5, 8, 1}, {180.5, 0, 8, 1},
             {-180.5, 0, 8, 1}, {0, 0, 13, 1}, {0, 0, -13, 1},  {nan, 0, 8, 1},   {0, nan, 8, 1}};
  for (const auto& b : bad) {
    EXPECT_EQ(SunEventTime(day, b.longitude, b.latitude, b.zone, static_cast<SunEventKind>(b.kind)), "")
        << b.longitude << " " << b.latitude << " " << b.zone << " " << b.kind;
  }
  const struct {
    double longitude, latitude;
    int zone;
  } edges[] = {{180, 0, 8}, {-180, 0, 8}, {0, 90, 8}, {0, -90, 8}, {0, 0, 12}, {0, 0, -12}};
  for (const auto& e : edges) {
    for (int kind = kSunrise; kind <= kLightLength; ++kind) {
      EXPECT_GE(ClockMinutes(SunEventTime(day, e.longitude, e.latitude, e.zone, static_cast<SunEventKind>(kind))), 0)
          << e.longitude << " " << e.latitude << " " << e.zone << " " << kind;
    }
  }
  EXPECT_EQ(SunEventTime(InvalidDayNumber, 0, 0, 8, kSunrise), "");
  EXPECT_EQ(SunEventTime(LastValidDayNumber + 1, 0, 0, 8, kSunrise), "");
  EXPECT_GE(ClockMinutes(SunEventTime(LastValidDayNumber, -116.3833, 39.9, 8, kSunrise)), 0);
  EXPECT_GE(ClockMinutes(SunEventTime(FirstValidDayNumber, -116.3833, 39.9, 8, kSunrise)), 0);
}

TEST(SunTimes, ClockTextTruncatesAndWraps) {
  const struct {
    double x;
    const char* text;
  } cases[] = {
      {(7 * 3600 + 36 * 60 + 59.9) / 86400, "07:36:59"},
      {0, "00:00:00"},
      {0.5, "12:00:00"},
      {1.75, "18:00:00"},
      {-0.25, "18:00:00"},
      {-1.0 / 86400, "23:59:59"},
      {1 - 1e-12, "23:59:59"},
      {-1e-18, "23:59:59"},  // just before midnight, however close
      {(23 * 3600 + 59 * 60 + 59.5) / 86400 + 3, "23:59:59"},
  };
  for (const auto& c : cases) EXPECT_EQ(DayFractionToClock(c.x), c.text) << c.x;
  EXPECT_EQ(DayFractionToClock(std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(DayFractionToClock(std::numeric_limits<double>::infinity()), "");
}

TEST(SunTimes, SiderealTimeAndObliquityAgreeWithPublishedValues) {
  // Greenwich mean sidereal time at 00:00 UT: 2000-01-01 6h39m52.27s
  // (Astronomical Almanac), 1987-04-10 13h10m46.3668s (Meeus, example 12.a).
  const struct {
    double jd, hours;
  } gmst[] = {{2451544.5, 6 + 39 / 60.0 + 52.27 / 3600}, {2446895.5, 13 + 10 / 60.0 + 46.3668 / 3600}};
  for (const auto& g : gmst) {
    const double d = g.jd - 2451545;
    const double seconds = Deg(SiderealAngle(d, 60.0 / 86400)) / 15 * 3600;
    EXPECT_NEAR(seconds, g.hours * 3600, 0.05) << g.jd;
  }
  for (double d : {-3e6, -1e5, 0.0, 1e5, 2.9e6}) {
    const double a = SiderealAngle(d, 0);
    EXPECT_GE(a, 0);
    EXPECT_LT(a, 2 * Pi);
  }
  // Mean obliquity 23d26m27.407s on 1987-04-10 (Meeus, example 22.a).
  EXPECT_NEAR(Deg(MeanObliquity(-0.127296372348)) * 3600, 23 * 3600 + 26 * 60 + 27.407, 0.1);
  EXPECT_NEAR(Deg(MeanObliquity(0)) * 3600, 84381.41, 0.01);
}

TEST(SunTimes, RightAscensionKeepsItsQuadrant) {
  // Pollux (Meeus, example 13.a): ecliptic 113.215630, 6.684170 with
  // obliquity 23.4392911 is right ascension 116.328942, declination 28.026183.
  const Equatorial pollux = EclipticToEquatorial(Rad(113.215630), Rad(6.684170), Rad(23.4392911));
  EXPECT_NEAR(Deg(pollux.rightAscension), 116.328942, 1e-5);
  EXPECT_NEAR(Deg(pollux.declination), 28.026183, 1e-5);

  // On the ecliptic the right ascension stays within 2.5 degrees of the
  // longitude in every quadrant, and the inverse transformation returns it.
  const double eps = Rad(23.44);
  for (double lambda = 0; lambda < 360; lambda += 7.5) {
    const Equatorial q = EclipticToEquatorial(Rad(lambda), 0, eps);
    EXPECT_GE(q.rightAscension, 0);
    EXPECT_LT(q.rightAscension, 2 * Pi);
    EXPECT_LT(std::fabs(AngleDifference(Deg(q.rightAscension), lambda)), 2.5) << lambda;
    const double back =
        Deg(std::atan2(std::sin(q.rightAscension) * std::cos(eps) + std::tan(q.declination) * std::sin(eps),
                       std::cos(q.rightAscension)));
    EXPECT_NEAR(AngleDifference(back, lambda), 0, 1e-9) << lambda;
    EXPECT_NEAR(std::sin(q.declination), std::sin(eps) * std::sin(Rad(lambda)), 1e-12) << lambda;
  }
}

}  // namespace
}  // namespace tovani
