#include "engine/astronomy.h"

#include <cmath>
#include <array>
#include <cstddef>
#include <vector>

#include "engine/dates.h"
#include "engine/math_batch.h"
#include "engine/series_tables.h"

namespace tovani {
namespace {

using series::MoonTerm;
using series::Term;

constexpr double kArcSecond = 1.0 / 3600.0;

double Centuries(double jd) { return (jd - J2000) / 36525.0; }
double Millennia(double jd) { return (jd - J2000) / 365250.0; }

// The 18 Earth tables in one padded structure-of-arrays, so that one batch of
// cosines serves the longitude, the latitude and the radius.  Each table's
// terms start at a multiple of eight (whole vectors of every path); padding
// terms have zero amplitude.
enum EarthTable { L0, L0b, L1, L2, L3, L4, L5, B0, B1, B2, B3, B4, R0, R1, R2, R3, R4, R5, kEarthTables };

struct EarthSeries {
  std::vector<double> a, b, c;
  std::array<std::size_t, kEarthTables + 1> start{};
};

// Appends the terms of one table of at least the given amplitude.
template <std::size_t N>
void Append(EarthSeries& s, const Term (&terms)[N], double least) {
  for (const Term& t : terms) {
    if (std::fabs(t.a) < least) continue;
    s.a.push_back(t.a);
    s.b.push_back(t.b);
    s.c.push_back(t.c);
  }
  while (s.a.size() % 8 != 0) {
    s.a.push_back(0);
    s.b.push_back(0);
    s.c.push_back(0);
  }
}

// The series with every term of at least the given size (radians, au) in
// the longitude, latitude and radius tables.
EarthSeries EarthWith(double leastL, double leastB, double leastR) {
  using namespace series;
  EarthSeries s;
  int table = 0;
  const auto add = [&](const auto& terms, double smallest) {
    s.start[table++] = s.a.size();
    Append(s, terms, smallest);
  };
  add(EarthL0, leastL), add(EarthL0b, leastL), add(EarthL1, leastL), add(EarthL2, leastL), add(EarthL3, leastL),
      add(EarthL4, leastL), add(EarthL5, leastL);
  add(EarthB0, leastB), add(EarthB1, leastB), add(EarthB2, leastB), add(EarthB3, leastB), add(EarthB4, leastB);
  add(EarthR0, leastR), add(EarthR1, leastR), add(EarthR2, leastR), add(EarthR3, leastR), add(EarthR4, leastR),
      add(EarthR5, leastR);
  s.start[table] = s.a.size();
  return s;
}

const EarthSeries& Earth() {
  static const EarthSeries earth = EarthWith(0, 0, 0);
  return earth;
}

// For the Sun's apparent longitude, where the latitude enters only the FK5
// correction, 0.055" times the latitude in radians: the latitude terms below
// 1e-8 together move it by less than 1e-11 degree.
const EarthSeries& EarthForSun() {
  static const EarthSeries earth = EarthWith(0, 1e-8, 0);
  return earth;
}

// The leading terms only: about a seventh of the work, longitudes within
// 0.0011 degree of the whole series over the calendar's range.
const EarthSeries& RoughEarth() {
  static const EarthSeries earth = EarthWith(1e-6, HUGE_VAL, 1e-5);
  return earth;
}

// The sum A*cos(B + C*tau) of every Earth table.
std::array<double, kEarthTables> EarthSums(double tau, const EarthSeries& s = Earth()) {
  std::array<double, kEarthTables> sums{};
  CosineSeriesSums(s.a.data(), s.b.data(), s.c.data(), s.start.data(), kEarthTables, tau, sums.data());
  return sums;
}

double Polynomial(const std::array<double, kEarthTables>& s, int first, int count, double tau) {
  double result = 0, power = 1;
  for (int i = 0; i < count; ++i) {
    result += s[first + i] * power;
    power *= tau;
  }
  return result;
}

double EarthLongitudeFrom(const std::array<double, kEarthTables>& s, double tau) {
  const double tau2 = tau * tau, tau3 = tau2 * tau, tau4 = tau3 * tau, tau5 = tau4 * tau;
  const double l = (s[L0] + s[L0b]) + s[L1] * tau + s[L2] * tau2 + s[L3] * tau3 + s[L4] * tau4 + s[L5] * tau5;
  return NormalizeRadians(l);
}

double EarthLatitudeFrom(const std::array<double, kEarthTables>& s, double tau) {
  return NormalizeRadians(Polynomial(s, B0, 5, tau));
}

double EarthRadiusFrom(const std::array<double, kEarthTables>& s, double tau) { return Polynomial(s, R0, 6, tau); }

// Multipliers of D, M, M', F, Omega; the delta-psi coefficient and its rate
// (0.0001" and 0.0001" per century); the delta-epsilon coefficient and rate,
// kept with the table although no computation here needs them.
struct NutationRow {
  double d, m, mp, f, om, psi0, psi1, eps0, eps1;
};

constexpr NutationRow kNutationTable[40] = {
    {0, 0, 0, 0, 1, -171996, -174.2, 92025, 8.9}, {-2, 0, 0, 2, 2, -13187, -1.6, 5736, -3.1},
    {0, 0, 0, 2, 2, -2274, -0.2, 977, -0.5},      {0, 0, 0, 0, 2, 2062, 0.2, -895, 0.5},
    {0, 1, 0, 0, 0, 1426, -3.4, 54, -0.1},        {0, 0, 1, 0, 0, 712, 0.1, -7, 0},
    {-2, 1, 0, 2, 2, -517, 1.2, 224, -0.6},       {0, 0, 0, 2, 1, -386, -0.4, 200, 0},
    {0, 0, 1, 2, 2, -301, 0, 129, -0.1},          {-2, -1, 0, 2, 2, 217, -0.5, -95, 0.3},
    {-2, 0, 1, 0, 0, -158, 0, 0, 0},              {-2, 0, 0, 2, 1, 129, 0.1, -70, 0},
    {0, 0, -1, 2, 2, 123, 0, -53, 0},             {2, 0, 0, 0, 0, 63, 0, 0, 0},
    {0, 0, 1, 0, 1, 63, 0.1, -33, 0},             {2, 0, -1, 2, 2, -59, 0, 26, 0},
    {0, 0, -1, 0, 1, -58, -0.1, 32, 0},           {0, 0, 1, 2, 1, -51, 0, 27, 0},
    {-2, 0, 2, 0, 0, 48, 0, 0, 0},                {0, 0, -2, 2, 1, 46, 0, -24, 0},
    {2, 0, 0, 2, 2, -38, 0, 16, 0},               {0, 0, 2, 2, 2, -31, 0, 13, 0},
    {0, 0, 2, 0, 0, 29, 0, 0, 0},                 {-2, 0, 1, 2, 2, 29, 0, -12, 0},
    {0, 0, 0, 2, 0, 26, 0, 0, 0},                 {-2, 0, 0, 2, 0, -22, 0, 0, 0},
    {0, 0, -1, 2, 1, 21, 0, -10, 0},              {0, 2, 0, 0, 0, 17, -0.1, 0, 0},
    {2, 0, -1, 0, 1, 16, 0, -8, 0},               {-2, 2, 0, 2, 2, -16, 0.1, 7, 0},
    {0, 1, 0, 0, 1, -15, 0, 9, 0},                {-2, 0, 1, 0, 1, -13, 0, 7, 0},
    {0, -1, 0, 0, 1, -12, 0, 6, 0},               {0, 0, 2, -2, 0, 11, 0, 0, 0},
    {2, 0, -1, 2, 1, -10, 0, 5, 0},               {2, 0, 1, 2, 2, -8, 0, 3, 0},
    {0, 1, 0, 2, 2, 7, 0, -3, 0},                 {-2, 1, 1, 0, 0, -7, 0, 0, 0},
    {0, -1, 0, 2, 2, -7, 0, 3, 0},                {2, 0, 0, 2, 1, -7, 0, 3, 0},
};

// Arc seconds per tau^1 .. tau^7.
constexpr double kPrecessionCoefficients[7] = {50287.92262, 111.24406, 0.07699, -0.23479,
                                               -0.00178,    0.00018,   0.00001};

double NutationAt(double t) {
  const double t2 = t * t, t3 = t2 * t;
  const double d = NormalizeAngle(297.8502042 + 445267.1115168 * t - 0.0016300 * t2 + t3 / 545868, 180, 180);
  const double m = NormalizeAngle(357.5291092 + 35999.0502909 * t - 0.0001536 * t2 - t3 / 24490000, 180, 180);
  const double mp = NormalizeAngle(134.9634114 + 477198.8676313 * t + 0.008997 * t2 + t3 / 69699, 180, 180);
  const double f = NormalizeAngle(93.2720993 + 483202.0175273 * t - 0.0034029 * t2 - t3 / 3526000, 180, 180);
  const double om = NormalizeAngle(125.04452 - 1934.136261 * t + 0.0020708 * t2 + t3 / 450000, 180, 180);
  double args[40], sines[40];
  for (std::size_t i = 0; i < 40; ++i) {
    const NutationRow& r = kNutationTable[i];
    args[i] = (r.d * d + r.m * m + r.mp * mp + r.f * f + r.om * om) * Degree;
  }
  SinBatch(args, sines, 40);
  double psi = 0;
  for (std::size_t i = 0; i < 40; ++i) psi += (kNutationTable[i].psi0 + kNutationTable[i].psi1 * t) * sines[i] * 0.0001;
  return psi * kArcSecond;
}

double PrecessionAt(double tau) {
  const double a = std::fabs(tau);
  const int n = a <= 1 ? 7 : a <= 3 ? 6 : a <= 5 ? 5 : 4;
  double p = 0, power = 1;
  for (int i = 0; i < n; ++i) {
    power *= tau;
    p += kPrecessionCoefficients[i] * power;
  }
  p += 2.9965 * tau;
  return NormalizeAngle(p * kArcSecond, 180, 180);
}

// The daily variation of the Sun's longitude: amplitude (arc seconds), phase
// and rate (degrees, degrees per millennium), for the powers 0..3 of tau.
struct AberrationTerm {
  double amplitude, phase, rate;
};

constexpr AberrationTerm kAberration[21] = {
    {118.568, 87.5287, 359993.7286},  {2.476, 85.0561, 719987.4571},   {1.376, 27.8502, 4452671.1152},
    {0.119, 73.1375, 450368.8564},    {0.114, 337.2264, 329644.6718},  {0.086, 222.54, 659289.3436},
    {0.078, 162.8136, 9224659.7915},  {0.054, 82.5823, 1079981.1857},  {0.052, 171.5189, 225184.4282},
    {0.034, 30.3214, 4092677.3866},   {0.033, 119.8105, 337181.4711},  {0.023, 247.5418, 299295.6151},
    {0.023, 325.1526, 315559.556},    {0.021, 155.1241, 675553.2846},
    {7.311, 333.4515, 359993.7286},   {0.305, 330.9814, 719987.4571},  {0.010, 328.517, 1079981.1857},
    {0.309, 241.4518, 359993.7286},   {0.021, 205.0482, 719987.4571},  {0.004, 297.861, 4452671.1152},
    {0.010, 154.7066, 359993.7286},
};
constexpr std::size_t kAberrationGroupEnd[4] = {14, 17, 20, 21};

// The aberration; the sines of four more angles ride in the same batch.
double AberrationAt(double tau, double radius, const double (&more)[4] = {}, double (*moreSines)[4] = nullptr) {
  double args[28] = {}, sines[28];
  for (std::size_t i = 0; i < 21; ++i) args[i] = (kAberration[i].phase + kAberration[i].rate * tau) * Degree;
  for (std::size_t i = 0; i < 4; ++i) args[21 + i] = more[i];
  SinBatch(args, sines, 28);
  if (moreSines != nullptr) {
    for (std::size_t i = 0; i < 4; ++i) (*moreSines)[i] = sines[21 + i];
  }
  double group[4];
  for (std::size_t g = 0, i = 0; g < 4; ++g) {
    double sum = 0;
    for (; i < kAberrationGroupEnd[g]; ++i) sum += kAberration[i].amplitude * sines[i];
    group[g] = sum;
  }
  const double dl = 3548.193 + group[0] + tau * group[1] + tau * tau * group[2] + tau * tau * tau * group[3];
  return -0.005775518 * radius * dl * kArcSecond;
}

double SunLongitudeAt(double jdTt, double nutation) {
  const double t = Centuries(jdTt), tau = Millennia(jdTt);
  const auto sums = EarthSums(tau, EarthForSun());
  double theta = (EarthLongitudeFrom(sums, tau) + Pi) / Degree;
  const double lp = (theta - 1.397 * t - 0.00031 * t * t) * Degree;
  const double b = EarthLatitudeFrom(sums, tau);
  // sin lp, cos lp, sin b and cos b come with the aberration's sines.
  double sines[4];
  const double aberration = AberrationAt(tau, EarthRadiusFrom(sums, tau), {lp, lp + Pi / 2, b, b + Pi / 2}, &sines);
  theta += (-0.09033 + 0.03916 * (sines[0] + sines[1]) * (sines[2] / sines[3])) * kArcSecond;
  theta += nutation;
  theta += aberration;
  return NormalizeAngle(theta, 180, 180);
}

// The 66 Moon terms as structure of arrays: MoonS0, MoonS1 and MoonS2, each
// padded with terms of amplitude 0 to a multiple of eight (whole vectors of
// every path).
constexpr std::size_t kMoonTerms = 72;
struct MoonSeries {
  std::array<double, kMoonTerms> a{}, p{}, n{}, d{}, e{}, f{};
  std::array<std::size_t, 4> start{};
};

const MoonSeries& Moon() {
  static const MoonSeries moon = [] {
    MoonSeries m;
    std::size_t i = 0, table = 0;
    const auto add = [&](const auto& terms) {
      m.start[table++] = i;
      for (const MoonTerm& t : terms) {
        m.a[i] = t.a, m.p[i] = t.p, m.n[i] = t.n, m.d[i] = t.d, m.e[i] = t.e, m.f[i] = t.f;
        ++i;
      }
      i = (i + 7) / 8 * 8;
    };
    add(series::MoonS0), add(series::MoonS1), add(series::MoonS2);
    m.start[table] = i;
    return m;
  }();
  return moon;
}

double MoonLongitudeAt(double jdTt, double nutation) {
  const MoonSeries& m = Moon();
  const double t = Centuries(jdTt), t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  const double* const powers[5] = {m.p.data(), m.n.data(), m.d.data(), m.e.data(), m.f.data()};
  double s[3];
  PolynomialSineSums(m.a.data(), powers, m.start.data(), 3, t, s);
  const double lambda = 3.81034392032 + 8399.68473021 * t - 3.31919929753e-05 * t2 + 3.20170955005e-08 * t3 -
                        1.53637455544e-10 * t4 + ((s[0] + s[1] * t + s[2] * t2) * kArcSecond) * Pi / 180;
  const double degrees = NormalizeRadians(lambda) / Degree;
  return NormalizeAngle(degrees + PrecessionAt(Millennia(jdTt)) + nutation, 180, 180);
}

// The nutation in longitude from its four largest terms (within about 0.5").
double RoughNutationAt(double t) {
  const double om = (125.04452 - 1934.136261 * t) * Degree;
  const double l = (280.4665 + 36000.7698 * t) * Degree, lm = (218.3165 + 481267.8813 * t) * Degree;
  return (-17.20 * std::sin(om) - 1.32 * std::sin(2 * l) - 0.23 * std::sin(2 * lm) + 0.21 * std::sin(2 * om)) *
         kArcSecond;
}

// The Sun's longitude from the leading Earth terms, with the plain aberration.
double RoughSunLongitudeAt(double jdTt, double nutation) {
  const double tau = Millennia(jdTt);
  const auto sums = EarthSums(tau, RoughEarth());
  const double theta = (EarthLongitudeFrom(sums, tau) + Pi) / Degree;
  const double aberration = -20.4898 * kArcSecond / EarthRadiusFrom(sums, tau);
  return NormalizeAngle(theta - 0.09033 * kArcSecond + nutation + aberration, 180, 180);
}

// The largest periodic terms of the Moon's longitude less the Sun's: the
// multipliers of D, M, M' and F and the amplitude in degrees (the Sun's
// equation of the centre is in the terms of M and 2M).
struct ElongationTerm {
  double d, m, mp, f, amplitude;
};

constexpr ElongationTerm kElongationTerms[32] = {
    {0, 0, 1, 0, 6.288774},  {2, 0, -1, 0, 1.274027},  {2, 0, 0, 0, 0.658314},   {0, 0, 2, 0, 0.213618},
    {0, 1, 0, 0, -2.099718}, {0, 0, 0, 2, -0.114332},  {2, 0, -2, 0, 0.058793},  {2, -1, -1, 0, 0.057066},
    {2, 0, 1, 0, 0.053322},  {2, -1, 0, 0, 0.045758},  {0, 1, -1, 0, -0.040923}, {1, 0, 0, 0, -0.034720},
    {0, 1, 1, 0, -0.030383}, {2, 0, 0, -2, 0.015327},  {0, 0, 1, 2, -0.012528},  {0, 0, 1, -2, 0.010980},
    {4, 0, -1, 0, 0.010675}, {0, 0, 3, 0, 0.010034},   {4, 0, -2, 0, 0.008548},  {2, 1, -1, 0, -0.007888},
    {2, 1, 0, 0, -0.006766}, {1, 0, -1, 0, -0.005163}, {1, 1, 0, 0, 0.004987},   {2, -1, 1, 0, 0.004036},
    {2, 0, 2, 0, 0.003994},  {4, 0, 0, 0, 0.003861},   {2, 0, -3, 0, 0.003665},  {0, 1, -2, 0, -0.002689},
    {2, 0, -1, 2, -0.002602}, {2, -1, -2, 0, 0.002390}, {1, 0, 1, 0, -0.002348}, {0, 2, 0, 0, -0.019993},
};

// The Sun's apparent longitude from its mean longitude and equation of the
// centre, and the Moon's less the Sun's from the mean elements and the terms
// above: within a few hundredths of a degree, for first guesses.
double ApproximateSun(double t) {
  const double l = 280.46646 + 36000.76983 * t + 0.0003032 * t * t;
  const double m = (357.52911 + 35999.05029 * t - 0.0001537 * t * t) * Degree;
  const double om = (125.04 - 1934.136 * t) * Degree;
  double args[4] = {m, 2 * m, 3 * m, om}, sines[4];
  SinBatch(args, sines, 4);
  const double c = (1.914602 - 0.004817 * t - 0.000014 * t * t) * sines[0] + (0.019993 - 0.000101 * t) * sines[1] +
                   0.000289 * sines[2];
  return NormalizeAngle(l + c - 0.00569 - 0.00478 * sines[3], 180, 180);
}

// The terms as structure of arrays, the amplitudes split by the power of the
// eccentricity factor E that multiplies them (of M's multiplier's size).
struct ElongationSeries {
  double d[32], m[32], mp[32], f[32], a0[32], a1[32], a2[32];
};

const ElongationSeries& Elongation() {
  static const ElongationSeries series = [] {
    ElongationSeries s{};
    for (std::size_t i = 0; i < 32; ++i) {
      const ElongationTerm& k = kElongationTerms[i];
      s.d[i] = k.d, s.m[i] = k.m, s.mp[i] = k.mp, s.f[i] = k.f;
      const double power = std::fabs(k.m);
      (power == 0 ? s.a0 : power == 1 ? s.a1 : s.a2)[i] = k.amplitude;
    }
    return s;
  }();
  return series;
}

double ApproximateElongation(double t) {
  const ElongationSeries& s = Elongation();
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  const double d = 297.8501921 + 445267.1114034 * t - 0.0018819 * t2 + t3 / 545868 - t4 / 113065000;
  const double m = (357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000) * Degree;
  const double mp = (134.9633964 + 477198.8675055 * t + 0.0087414 * t2 + t3 / 69699 - t4 / 14712000) * Degree;
  const double f = (93.2720950 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000 + t4 / 863310000) * Degree;
  const double dr = d * Degree, e = 1 - 0.002516 * t - 0.0000074 * t2, e2 = e * e;
  double args[32], sines[32];
  for (std::size_t i = 0; i < 32; ++i) args[i] = s.d[i] * dr + s.m[i] * m + s.mp[i] * mp + s.f[i] * f;
  SinBatch(args, sines, 32);
  double sum = 0;
  for (std::size_t i = 0; i < 32; ++i) sum += (s.a0[i] + e * s.a1[i] + e2 * s.a2[i]) * sines[i];
  return NormalizeAngle(d + sum + 0.00569, 180, 180);
}

}  // namespace

double DeltaTSeconds(double jdUt) {
  const double y = 2000 + (jdUt - J2000) / 365.25;
  if (y < -500) {
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u;
  }
  if (y < 500) {
    const double u = y / 100;
    return 10583.6 + u * (-1014.41 + u * (33.78311 + u * (-5.952053 + u * (-0.1798452 + u * (0.022174192 +
                                                                                              u * 0.0090316521)))));
  }
  if (y < 1600) {
    const double u = (y - 1000) / 100;
    return 1574.2 + u * (-556.01 + u * (71.23472 + u * (0.319781 + u * (-0.8503463 + u * (-0.005050998 +
                                                                                          u * 0.0083572073)))));
  }
  if (y < 1700) {
    const double t = y - 1600;
    return 120 - 0.98 * t - 0.0153 * t * t + t * t * t / 7129;
  }
  if (y < 1800) {
    const double t = y - 1700;
    return 8.83 + 0.1603 * t - 0.0059285 * t * t + 0.00013336 * t * t * t - t * t * t * t / 1174000;
  }
  if (y < 1860) {
    const double t = y - 1800;
    return 13.72 + t * (-0.332447 + t * (0.0068612 + t * (0.0041116 + t * (-0.00037436 + t * (0.0000121272 +
                                                                       t * (-0.0000001699 + t * 0.000000000875))))));
  }
  if (y < 1900) {
    const double t = y - 1860;
    return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * t * t * t - 0.0004473624 * t * t * t * t +
           t * t * t * t * t / 233174;
  }
  if (y < 1920) {
    const double t = y - 1900;
    return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t - 0.000197 * t * t * t * t;
  }
  if (y < 1941) {
    const double t = y - 1920;
    return 21.20 + 0.84493 * t - 0.0761 * t * t + 0.0020936 * t * t * t;
  }
  if (y < 1961) {
    const double t = y - 1950;
    return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
  }
  if (y < 1986) {
    const double t = y - 1975;
    return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
  }
  if (y < 2005) {
    const double t = y - 2000;
    return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t + 0.000651814 * t * t * t * t +
           0.00002373599 * t * t * t * t * t;
  }
  if (y < 2050) {
    const double t = y - 2000;
    return 62.92 + 0.32217 * t + 0.005589 * t * t;
  }
  const double u = (y - 1820) / 100;
  if (y < 2150) return -20 + 32 * u * u - 0.5628 * (2150 - y);
  return -20 + 31 * u * u;
}

double UtToTt(double jdUt) { return jdUt + DeltaTSeconds(jdUt) / 86400; }

double EarthHeliocentricLongitude(double jdTt) {
  const double tau = Millennia(jdTt);
  return EarthLongitudeFrom(EarthSums(tau), tau);
}
double EarthHeliocentricLatitude(double jdTt) {
  const double tau = Millennia(jdTt);
  return EarthLatitudeFrom(EarthSums(tau), tau);
}
double EarthRadiusVector(double jdTt) {
  const double tau = Millennia(jdTt);
  return EarthRadiusFrom(EarthSums(tau), tau);
}
double NutationInLongitude(double jdTt) { return NutationAt(Centuries(jdTt)); }
double PrecessionInLongitude(double jdTt) { return PrecessionAt(Millennia(jdTt)); }
double SunAberration(double jdTt) {
  const double tau = Millennia(jdTt);
  return AberrationAt(tau, EarthRadiusFrom(EarthSums(tau), tau));
}

double SunApparentLongitude(double jdTt) { return SunLongitudeAt(jdTt, NutationInLongitude(jdTt)); }
double MoonApparentLongitude(double jdTt) { return MoonLongitudeAt(jdTt, NutationInLongitude(jdTt)); }

// The nutation in longitude moves both bodies alike and cancels in the
// difference, so it is left out of both.
double MoonMinusSunLongitude(double jdTt) { return MoonLongitudeAt(jdTt, 0) - SunLongitudeAt(jdTt, 0); }

double RoughSunApparentLongitude(double jdTt) {
  return RoughSunLongitudeAt(jdTt, RoughNutationAt(Centuries(jdTt)));
}
double RoughMoonMinusSunLongitude(double jdTt) { return MoonLongitudeAt(jdTt, 0) - RoughSunLongitudeAt(jdTt, 0); }

double ApproximateSunApparentLongitude(double jdTt) { return ApproximateSun(Centuries(jdTt)); }
double ApproximateMoonMinusSunLongitude(double jdTt) { return ApproximateElongation(Centuries(jdTt)); }

}  // namespace tovani
