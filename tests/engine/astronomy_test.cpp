#include "engine/astronomy.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/dates.h"
#include "engine/series_tables.h"

namespace tovani {
namespace {

using series::MoonTerm;
using series::Term;

// Julian Date of a fractional year, the way delta T reckons years.
double JdOfYear(double y) { return J2000 + (y - 2000) * 365.25; }

struct TableCheck {
  const char* name;
  const Term* terms;
  std::size_t count, expectedCount;
  Term first;
};

TEST(SeriesTables, CountsAndFirstTermsMatchThePublishedSeries) {
  using namespace series;
  const TableCheck tables[] = {
      {"L0", EarthL0, std::size(EarthL0), 160, {1.75347045673, 0, 0}},
      {"L0b", EarthL0b, std::size(EarthL0b), 30, {9.4e-10, 0.6899787606, 7834.1210726394}},
      {"L1", EarthL1, std::size(EarthL1), 80, {6283.31966747491, 0, 0}},
      {"L2", EarthL2, std::size(EarthL2), 40, {0.0005291887, 0, 0}},
      {"L3", EarthL3, std::size(EarthL3), 8, {2.89226e-06, 5.84384198723, 6283.0758499914}},
      {"L4", EarthL4, std::size(EarthL4), 8, {1.14084e-06, 3.14159265359, 0}},
      {"L5", EarthL5, std::size(EarthL5), 4, {8.78e-09, 3.14159265359, 0}},
      {"B0", EarthB0, std::size(EarthB0), 80, {2.7962e-06, 3.19870156017, 84334.66158130829}},
      {"B1", EarthB1, std::size(EarthB1), 40, {9.03e-08, 3.8972906189, 5507.5532386674}},
      {"B2", EarthB2, std::size(EarthB2), 20, {1.662e-08, 1.62703209173, 84334.66158130829}},
      {"B3", EarthB3, std::size(EarthB3), 8, {1.1e-10, 0.23877262399, 7860.4193924392}},
      {"B4", EarthB4, std::size(EarthB4), 4, {4e-11, 0.79662198849, 6438.4962494256}},
      {"R0", EarthR0, std::size(EarthR0), 120, {1.00013988799, 0, 0}},
      {"R1", EarthR1, std::size(EarthR1), 60, {0.00103018608, 1.10748969588, 6283.0758499914}},
      {"R2", EarthR2, std::size(EarthR2), 40, {4.359385e-05, 5.78455133738, 6283.0758499914}},
      {"R3", EarthR3, std::size(EarthR3), 6, {1.44595e-06, 4.27319435148, 6283.0758499914}},
      {"R4", EarthR4, std::size(EarthR4), 6, {3.858e-08, 2.56384387339, 6283.0758499914}},
      {"R5", EarthR5, std::size(EarthR5), 2, {8.6e-10, 1.21579741687, 6283.0758499914}},
  };
  std::size_t total = 0;
  for (const auto& t : tables) {
    SCOPED_TRACE(t.name);
    EXPECT_EQ(t.count, t.expectedCount);
    EXPECT_DOUBLE_EQ(t.terms[0].a, t.first.a);
    EXPECT_DOUBLE_EQ(t.terms[0].b, t.first.b);
    EXPECT_DOUBLE_EQ(t.terms[0].c, t.first.c);
    total += t.count;
  }
  EXPECT_EQ(total, 716u);  // 330 for L, 152 for B, 234 for R

  struct MoonCheck {
    const MoonTerm& term;
    MoonTerm expected;
  };
  const MoonCheck moon[] = {
      {MoonS0[0], {22639.58588, 2.3555545723, 8328.6914247251, 0.00015231275, 2.5041111e-07, -1.1863391e-09}},
      {MoonS0[1], {4586.4383203, 8.0413790709, 7214.0628654588, -0.00021850087, -1.8646419e-07, 8.7760973e-10}},
      {MoonS0[54], {1.2618162, 7.5108957121, 16728.3705250656, 0.00011655481, 2.8300097e-07, -1.3951435e-09}},
      {MoonS1[0], {1.6768, -0.0431256817, 628.3019552485, -2.6638815e-06, 6.1639211e-10, -5.4439728e-11}},
      {MoonS2[0], {0.00487, -0.0431256817, 628.3019552485, -2.6638815e-06, 6.1639211e-10, -5.4439728e-11}},
      {MoonS2[1], {0.00228, -27.1705318325, -2.3011998397, 0.00015231275, 2.5041111e-07, -1.1863391e-09}},
  };
  for (const auto& m : moon) {
    EXPECT_DOUBLE_EQ(m.term.a, m.expected.a);
    EXPECT_DOUBLE_EQ(m.term.p, m.expected.p);
    EXPECT_DOUBLE_EQ(m.term.n, m.expected.n);
    EXPECT_DOUBLE_EQ(m.term.d, m.expected.d);
    EXPECT_DOUBLE_EQ(m.term.e, m.expected.e);
    EXPECT_DOUBLE_EQ(m.term.f, m.expected.f);
  }
  EXPECT_EQ(std::size(MoonS0) + std::size(MoonS1) + std::size(MoonS2), 66u);
}

TEST(DeltaT, ValuesAtTheIntervalBounds) {
  struct Case {
    double year, seconds, tolerance;
  };
  const Case cases[] = {
      {1600, 120, 1e-9}, {1700, 8.83, 1e-9}, {2000, 63.86, 1e-9}, {1800, 13.72, 1e-9}, {1900, -2.79, 1e-9},
      {2050, 93.0, 0.1}, {2150, -20 + 31 * 3.3 * 3.3, 1e-6}, {-600, -20 + 32 * 24.2 * 24.2, 1e-6},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(DeltaTSeconds(JdOfYear(c.year)), c.seconds, c.tolerance) << c.year;
  }
  // Steps at the bounds stay under half a second, except the drop at 2150.
  const double bounds[] = {-500, 500, 1600, 1700, 1800, 1860, 1900, 1920, 1941, 1961, 1986, 2005, 2050};
  for (double b : bounds) {
    const double step = DeltaTSeconds(JdOfYear(b)) - DeltaTSeconds(JdOfYear(b) - 1e-6);
    EXPECT_LT(std::fabs(step), 0.5) << b;
  }
  EXPECT_NEAR(DeltaTSeconds(JdOfYear(1700)) - DeltaTSeconds(JdOfYear(1700) - 1e-6), -0.44, 0.01);
  EXPECT_NEAR(DeltaTSeconds(JdOfYear(2150)) - DeltaTSeconds(JdOfYear(2150) - 1e-6), -10.9, 0.1);
  EXPECT_DOUBLE_EQ(UtToTt(J2000), J2000 + 63.86 / 86400);
}

// The truncated Earth series summed independently, term by term from the
// published VSOP87D file in full double precision (a short script, not this
// code): longitude and latitude in radians reduced to [0, 2 pi), radius in au.
TEST(Positions, EarthSeriesAgreeWithAnIndependentSum) {
  struct Case {
    double jd, longitude, latitude, radius;
  };
  const Case cases[] = {
      {2448908.50, 0.347447773576015, 6.283181703425035, 0.997608519000299},
      {1000000.50, 0.518742983706616, 0.000000052916190, 0.981955260706996},
      {2100000.25, 4.901720729996960, 0.000001774840285, 1.016513189544672},
      {4000000.75, 5.128091186434084, 6.283184275252740, 1.006526999189435},
  };
  for (const auto& c : cases) {
    // (The longitude reaches some 25000 radians before it is reduced; the
    // program's value of pi, 3.14159265358979, moves it by a few 1e-11.)
    EXPECT_NEAR(EarthHeliocentricLongitude(c.jd), c.longitude, 1e-10) << c.jd;
    EXPECT_NEAR(EarthHeliocentricLatitude(c.jd), c.latitude, 1e-11) << c.jd;
    EXPECT_NEAR(EarthRadiusVector(c.jd), c.radius, 1e-12) << c.jd;
  }
}

// Published examples (Meeus, Astronomical Algorithms) computed with the full
// theories; the truncated series stay within seconds of arc.
TEST(Positions, AgreeWithPublishedExamples) {
  // The Sun on 1992-10-13 0h TD: 199 deg 54' 21.8".
  EXPECT_NEAR(SunApparentLongitude(2448908.5), 199.906060, 0.0003);
  // The Moon on 1992-04-12 0h TD: 133.162655 (the neglected lunar terms are a
  // few seconds of arc each).
  EXPECT_NEAR(MoonApparentLongitude(2448724.5), 133.162655, 0.006);
  // Nutation in longitude on 1987-04-10 0h TD: -3.788".
  EXPECT_NEAR(NutationInLongitude(2446895.5) * 3600, -3.788, 0.005);
  // Aberration is about -20.5" and scales with the distance.
  EXPECT_NEAR(SunAberration(2448908.5) * 3600, -20.49, 0.05);
}

TEST(Positions, PrecessionDropsHighPowersFarFromJ2000) {
  EXPECT_DOUBLE_EQ(PrecessionInLongitude(J2000), 0.0);
  // tau = 1 and -1 use all seven powers.
  EXPECT_NEAR(PrecessionInLongitude(J2000 + 365250), 50402.00379 / 3600, 1e-9);
  EXPECT_NEAR(PrecessionInLongitude(J2000 - 365250), 360 - 50179.98489 / 3600, 1e-9);
  // Just beyond tau = 1 the seventh power (0.00001") is left out.
  const double tau = 1.0001;
  double six = 2.9965 * tau;
  const double p[] = {50287.92262, 111.24406, 0.07699, -0.23479, -0.00178, 0.00018};
  for (int i = 0; i < 6; ++i) six += p[i] * std::pow(tau, i + 1);
  EXPECT_NEAR(PrecessionInLongitude(J2000 + tau * 365250), six / 3600, 1e-9);
}

TEST(Positions, LongitudesStayInRangeAcrossTheCalendar) {
  for (double jd = -1930711.0; jd < 5373485.0; jd += 9999.123) {
    for (double value : {SunApparentLongitude(jd), MoonApparentLongitude(jd), PrecessionInLongitude(jd)}) {
      ASSERT_GE(value, 0.0) << jd;
      ASSERT_LT(value, 360.0) << jd;
    }
    const double l = EarthHeliocentricLongitude(jd), b = EarthHeliocentricLatitude(jd);
    ASSERT_GE(l, 0.0);
    ASSERT_LT(l, 2 * Pi + 1e-12);
    ASSERT_GE(b, 0.0);
  }
}

// The solver takes the bounds of the rough and approximate longitudes on
// trust within 2500 years of J2000 (with a margin of four and two).
TEST(Positions, RoughAndApproximateLongitudesKeepTheirBounds) {
  const auto apart = [](double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); };
  for (double jd = J2000 - 2500 * 365.25; jd < J2000 + 2500 * 365.25; jd += 29.123) {
    const double sun = SunApparentLongitude(jd), elongation = MoonMinusSunLongitude(jd);
    ASSERT_LT(apart(RoughSunApparentLongitude(jd), sun), 0.0025) << jd;
    ASSERT_LT(apart(RoughMoonMinusSunLongitude(jd), elongation), 0.0025) << jd;
    ASSERT_LT(apart(ApproximateSunApparentLongitude(jd), sun), 0.05) << jd;
    ASSERT_LT(apart(ApproximateMoonMinusSunLongitude(jd), elongation), 0.05) << jd;
  }
}

TEST(Positions, ElongationIsMoonMinusSunModulo360) {
  for (double jd = 1500000.125; jd < 3000000; jd += 7654.321) {
    const double expected = MoonApparentLongitude(jd) - SunApparentLongitude(jd);
    const double elongation = MoonMinusSunLongitude(jd);
    ASSERT_GT(elongation, -360.0);
    ASSERT_LT(elongation, 360.0);
    const double turns = (elongation - expected) / 360;
    EXPECT_NEAR(turns, std::round(turns), 1e-11) << jd;
  }
}

}  // namespace
}  // namespace tovani
