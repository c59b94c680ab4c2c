#include "engine/math_batch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/dates.h"
#include "engine/solar_terms.h"

namespace tovani {
namespace {

constexpr MathPath kPaths[] = {MathPath::kPortable, MathPath::kAvx2, MathPath::kAvx512};

const char* NameOf(MathPath path) {
  switch (path) {
    case MathPath::kPortable:
      return "portable";
    case MathPath::kAvx2:
      return "AVX2";
    case MathPath::kAvx512:
      return "AVX-512";
  }
  return "?";
}

// Runs checks on every path this build and processor have; the path in use
// is restored after each test.
class MathPaths : public ::testing::Test {
 protected:
  void TearDown() override { SelectMathPath(original_); }

  template <typename Check>
  void ForEachPath(Check check) {
    int tried = 0;
    for (MathPath path : kPaths) {
      if (!SelectMathPath(path)) continue;
      ++tried;
      SCOPED_TRACE(NameOf(path));
      check(path);
    }
    EXPECT_GE(tried, 1);
  }

 private:
  MathPath original_ = ActiveMathPath();
};

TEST_F(MathPaths, ThePortablePathIsAlwaysThereAndChoosingIsReported) {
  EXPECT_TRUE(SelectMathPath(MathPath::kPortable));
  EXPECT_EQ(ActiveMathPath(), MathPath::kPortable);
}

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

TEST_F(MathPaths, CosinesAndSinesAgreeWithTheCLibrary) {
  const std::vector<double> x = Arguments();
  std::vector<double> c(x.size()), s(x.size());
  ForEachPath([&](MathPath) {
    CosBatch(x.data(), c.data(), x.size());
    SinBatch(x.data(), s.data(), x.size());
    double worst = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
      worst = std::max({worst, std::fabs(c[i] - std::cos(x[i])), std::fabs(s[i] - std::sin(x[i]))});
    }
    // A few units in the last place of numbers up to 1.
    EXPECT_LT(worst, 2e-15);
    // Lengths that are not whole vectors of the wider paths.
    for (std::size_t n : {4u, 12u, 20u}) {
      std::vector<double> part(n);
      CosBatch(x.data() + 100, part.data(), n);
      for (std::size_t i = 0; i < n; ++i) EXPECT_NEAR(part[i], std::cos(x[100 + i]), 2e-15) << n << " " << i;
    }
  });
}

TEST_F(MathPaths, SeriesSumsAddEachSegmentsTerms) {
  // Segments of eight, four and twelve terms.
  const double a[24] = {1, 2, 3, 4, 5, 6, 7, 8, 0.5, 0.25, 0, 0, -1, 3, 0.125, 9, 1e-3, 2, 7, -4, 6, 5, 0.75, 1};
  double b[24], c[24];
  for (int i = 0; i < 24; ++i) b[i] = i, c[i] = 10.0 * (i + 1) * (i % 3 == 0 ? -1 : 1);
  const std::size_t start[4] = {0, 8, 12, 24};
  const double t = 0.123;
  double expected[3] = {0, 0, 0};
  for (int i = 0; i < 24; ++i) expected[i < 8 ? 0 : i < 12 ? 1 : 2] += a[i] * std::cos(b[i] + c[i] * t);
  ForEachPath([&](MathPath) {
    double sums[3];
    CosineSeriesSums(a, b, c, start, 3, t, sums);
    for (int s = 0; s < 3; ++s) EXPECT_NEAR(sums[s], expected[s], 1e-13) << s;
  });
}

TEST_F(MathPaths, PolynomialSineSumsAddEachSegmentsTerms) {
  const std::size_t start[3] = {0, 12, 16};
  double a[16], p[5][16];
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> d(-1, 1);
  for (int i = 0; i < 16; ++i) {
    a[i] = d(random);
    p[0][i] = 6 * d(random), p[1][i] = 1e4 * d(random), p[2][i] = 1e-3 * d(random);
    p[3][i] = 1e-6 * d(random), p[4][i] = 1e-8 * d(random);
  }
  const double* const powers[5] = {p[0], p[1], p[2], p[3], p[4]};
  for (double t : {-2.5, 0.0, 0.26}) {
    double expected[2] = {0, 0};
    for (int i = 0; i < 16; ++i) {
      const double x = p[0][i] + p[1][i] * t + p[2][i] * t * t + p[3][i] * t * t * t + p[4][i] * t * t * t * t;
      expected[i < 12 ? 0 : 1] += a[i] * std::sin(x);
    }
    ForEachPath([&](MathPath) {
      double sums[2];
      PolynomialSineSums(a, powers, start, 2, t, sums);
      EXPECT_NEAR(sums[0], expected[0], 1e-11) << t;
      EXPECT_NEAR(sums[1], expected[1], 1e-11) << t;
    });
  }
}

// The paths round differently, so the instants they find may differ in the
// last place of a Julian Date (2^-31 day, 40 microseconds), and no more: the
// same secant steps run on every path.
TEST_F(MathPaths, EveryPathFindsTheSameInstants) {
  std::vector<double> reference;
  ForEachPath([&](MathPath path) {
    ClearSolvedEventCache();
    std::vector<double> found;
    for (DayNumber day = 1683431; day < 3220000; day += 3001) {
      found.push_back(TrueNewOrFullMoon(day, Phase::kNew));
      found.push_back(TrueNewOrFullMoon(day, Phase::kFull));
      found.push_back(NextTermInstant(day, false, false));
    }
    if (path == MathPath::kPortable) {
      reference = found;
      return;
    }
    ASSERT_EQ(found.size(), reference.size());
    for (std::size_t i = 0; i < found.size(); ++i) EXPECT_NEAR(found[i], reference[i], 1e-9) << i;
  });
  ClearSolvedEventCache();
}

}  // namespace
}  // namespace tovani
