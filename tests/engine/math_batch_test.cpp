#include "engine/math_batch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace tovani {
namespace {

using Batch = void (*)(const double*, double*, std::size_t);

struct Implementation {
  const char* name;
  Batch cos, sin;
};

const Implementation kImplementations[] = {
    {"in use", CosBatch, SinBatch},
    {"portable", portable_math::CosBatch, portable_math::SinBatch},
};

// Arguments as the series produce them: phases plus frequency times time,
// up to a million radians, and the awkward points near multiples of pi/4.
std::vector<double> Arguments() {
  std::vector<double> x = {0.0, -0.0, 1e-300, 0.7853981633974483, 0.7853981633974484, 1.5707963267948966,
                           3.141592653589793, -3.141592653589793, 4.71238898038469, 6.283185307179586,
                           1e5 + 0.5, -123456.789, 999999.999, 84334.66158130829 * 1.9};
  std::mt19937_64 random(20240204);
  for (double scale : {1.0, 10.0, 1e3, 1e5, 1e6}) {
    std::uniform_real_distribution<double> d(-scale, scale);
    for (int i = 0; i < 20000; ++i) x.push_back(d(random));
  }
  while (x.size() % 4 != 0) x.push_back(0.5);
  return x;
}

TEST(MathBatch, CosinesAndSinesAgreeWithTheCLibrary) {
  const std::vector<double> x = Arguments();
  std::vector<double> c(x.size()), s(x.size());
  for (const auto& impl : kImplementations) {
    impl.cos(x.data(), c.data(), x.size());
    impl.sin(x.data(), s.data(), x.size());
    double worst = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
      worst = std::max({worst, std::fabs(c[i] - std::cos(x[i])), std::fabs(s[i] - std::sin(x[i]))});
    }
    // A few units in the last place of numbers up to 1.
    EXPECT_LT(worst, 2e-15) << impl.name;
  }
}

TEST(MathBatch, SeriesSumsAddEachSegmentsTerms) {
  // Two segments of eight and four terms.
  const double a[12] = {1, 2, 3, 4, 5, 6, 7, 8, 0.5, 0.25, 0, 0};
  const double b[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const double c[12] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  const std::size_t start[3] = {0, 8, 12};
  const double t = 0.123;
  double expected[2] = {0, 0};
  for (int i = 0; i < 12; ++i) expected[i < 8 ? 0 : 1] += a[i] * std::cos(b[i] + c[i] * t);
  double sums[2];
  CosineSeriesSums(a, b, c, start, 2, t, sums);
  EXPECT_NEAR(sums[0], expected[0], 1e-13);
  EXPECT_NEAR(sums[1], expected[1], 1e-13);
  portable_math::CosineSeriesSums(a, b, c, start, 2, t, sums);
  EXPECT_NEAR(sums[0], expected[0], 1e-13);
  EXPECT_NEAR(sums[1], expected[1], 1e-13);
}

}  // namespace
}  // namespace tovani
