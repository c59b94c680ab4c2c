// Apparent longitudes of the Sun and the Moon.
//
// Julian Dates are day counts with fraction, 12:00 UT of 2000-01-01 being
// 2451545.0; the functions take terrestrial time (TT) unless they say UT.
// Every longitude returned is in degrees, in [0, 360).
#pragma once

namespace tovani {

inline constexpr double J2000 = 2451545.0;

// Terrestrial minus universal time, in seconds, for a Julian Date (UT).
double DeltaTSeconds(double jdUt);
// JD (TT) = JD (UT) + delta T.
double UtToTt(double jdUt);

// The Earth's heliocentric longitude and latitude (radians, in [0, 2*pi); a
// small negative latitude comes out as 2*pi minus its size) and radius vector (au).
double EarthHeliocentricLongitude(double jdTt);
double EarthHeliocentricLatitude(double jdTt);
double EarthRadiusVector(double jdTt);

// Nutation in longitude, degrees.
double NutationInLongitude(double jdTt);
// General precession in longitude since J2000, degrees in [0, 360).
double PrecessionInLongitude(double jdTt);
// The Sun's aberration, degrees (negative).
double SunAberration(double jdTt);

double SunApparentLongitude(double jdTt);
double MoonApparentLongitude(double jdTt);

// The Moon's apparent longitude minus the Sun's, both at one instant, in
// (-360, 360), not reduced (equal to the difference modulo 360).
double MoonMinusSunLongitude(double jdTt);

// The same from the leading terms of the series only: several times faster,
// within 0.0025 degree of the above for 2500 years either side of J2000 (the
// errors grow with the cube of the time beyond); for first approximations.
double RoughSunApparentLongitude(double jdTt);
double RoughMoonMinusSunLongitude(double jdTt);
// And from the mean elements and the largest periodic terms only: within
// 0.05 degree over the same years, for first guesses; in [0, 360).
double ApproximateSunApparentLongitude(double jdTt);
double ApproximateMoonMinusSunLongitude(double jdTt);

}  // namespace tovani
