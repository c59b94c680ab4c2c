#include "engine/math_batch.h"

#include <atomic>
#include <cmath>
#include <cstdint>

#include "engine/math_batch_x86.h"

namespace tovani {

// ---- The program's own vector cosine and sine ----
//
// Four doubles at a time in GCC vector types: SSE2 pairs in the 32-bit
// Windows program, whose C library has only a slow scalar cosine.  Reduce x by
// multiples of pi/2 (pi/2 split into three 26-bit parts and a remainder, so
// that n * part is exact for |n| < 2^27, |x| < 2e8), evaluate the minimax
// polynomials of sine and cosine on [-pi/4, pi/4] (the coefficients of the
// classic fdlibm kernels), and pick by quadrant.  Within 1.5 units in the last
// place.
namespace portable_math {
namespace {

typedef double V4 __attribute__((vector_size(32)));
typedef std::int64_t I4 __attribute__((vector_size(32)));

constexpr double kTwoOverPi = 0.63661977236758134308;
constexpr double kRoundingShift = 6755399441055744.0;  // 1.5 * 2^52
constexpr double kPiOver2Part1 = 0x1.921fb5p+0;
constexpr double kPiOver2Part2 = 0x1.110b46p-26;
constexpr double kPiOver2Part3 = 0x1.1a6263p-54;
constexpr double kPiOver2Part4 = 0x1.8a2e03707344ap-81;

constexpr double kS1 = -1.66666666666666324348e-01, kS2 = 8.33333333332248946124e-03,
                 kS3 = -1.98412698298579493134e-04, kS4 = 2.75573137070700676789e-06,
                 kS5 = -2.50507602534068634195e-08, kS6 = 1.58969099521155010221e-10;
constexpr double kC1 = 4.16666666666666019037e-02, kC2 = -1.38888888888741095749e-03,
                 kC3 = 2.48015872894767294178e-05, kC4 = -2.75573143513906633035e-07,
                 kC5 = 2.08757232129817482790e-09, kC6 = -1.13596475577881948265e-11;

struct Reduced {
  V4 r;         // x - n * pi/2, in about [-pi/4, pi/4]
  I4 quadrant;  // n mod 4
};

inline Reduced Reduce(V4 x) {
  // Adding 1.5 * 2^52 rounds to an integer whose low bits are n's.
  const V4 shifted = x * kTwoOverPi + kRoundingShift;
  const V4 n = shifted - kRoundingShift;
  V4 r = x - n * kPiOver2Part1;
  r = r - n * kPiOver2Part2;
  r = r - n * kPiOver2Part3;
  r = r - n * kPiOver2Part4;
  return {r, (I4)shifted & 3};
}

inline V4 SinKernel(V4 r) {
  const V4 z = r * r;
  return r + r * z * (kS1 + z * (kS2 + z * (kS3 + z * (kS4 + z * (kS5 + z * kS6)))));
}

inline V4 CosKernel(V4 r) {
  const V4 z = r * r;
  return 1.0 - (0.5 * z - z * z * (kC1 + z * (kC2 + z * (kC3 + z * (kC4 + z * (kC5 + z * kC6))))));
}

// whereSet where bit 0 of choose is set, else whereClear; the sign flipped
// where bit 1 of flip is set.
inline V4 Pick(V4 whereClear, V4 whereSet, I4 choose, I4 flip) {
  const I4 mask = -choose;  // 0 or all ones
  const I4 bits = ((I4)whereSet & mask) | ((I4)whereClear & ~mask);
  return (V4)(bits ^ (flip << 62));
}

// cos: quadrants 0..3 give cos r, -sin r, -cos r, sin r.
inline V4 Cos(V4 x) {
  const Reduced t = Reduce(x);
  return Pick(CosKernel(t.r), SinKernel(t.r), t.quadrant & 1, (t.quadrant + 1) & 2);
}

// sin: quadrants 0..3 give sin r, cos r, -sin r, -cos r.
inline V4 Sin(V4 x) {
  const Reduced t = Reduce(x);
  return Pick(SinKernel(t.r), CosKernel(t.r), t.quadrant & 1, t.quadrant & 2);
}

inline V4 Load(const double* p) {
  V4 v;
  __builtin_memcpy(&v, p, sizeof v);
  return v;
}

inline void Store(double* p, V4 v) { __builtin_memcpy(p, &v, sizeof v); }

}  // namespace

void CosBatch(const double* x, double* out, std::size_t n) {
  for (std::size_t i = 0; i < n; i += 4) Store(out + i, Cos(Load(x + i)));
}

void SinBatch(const double* x, double* out, std::size_t n) {
  for (std::size_t i = 0; i < n; i += 4) Store(out + i, Sin(Load(x + i)));
}

void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums) {
  for (std::size_t s = 0; s < segments; ++s) {
    V4 p = {0, 0, 0, 0};
    for (std::size_t i = start[s]; i < start[s + 1]; i += 4) p += Load(a + i) * Cos(Load(b + i) + Load(c + i) * t);
    sums[s] = (p[0] + p[1]) + (p[2] + p[3]);
  }
}

void PolynomialSineSums(const double* a, const double* const* p, const std::size_t* start, std::size_t segments,
                        double t, double* sums) {
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  for (std::size_t s = 0; s < segments; ++s) {
    double sum = 0;
    for (std::size_t i = start[s]; i < start[s + 1]; i += 4) {
      double args[4], sines[4];
      for (std::size_t j = 0; j < 4; ++j) {
        const std::size_t k = i + j;
        args[j] = p[0][k] + p[1][k] * t + p[2][k] * t2 + p[3][k] * t3 + p[4][k] * t4;
      }
      SinBatch(args, sines, 4);
      for (std::size_t j = 0; j < 4; ++j) sum += a[i + j] * sines[j];
    }
    sums[s] = sum;
  }
}

}  // namespace portable_math

namespace {

#ifdef TOVANI_X86_MATH
bool Has(MathPath path) {
  __builtin_cpu_init();
  switch (path) {
    case MathPath::kAvx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
    case MathPath::kAvx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case MathPath::kPortable:
      break;
  }
  return true;
}

MathPath Best() {
  for (MathPath p : {MathPath::kAvx512, MathPath::kAvx2}) {
    if (Has(p)) return p;
  }
  return MathPath::kPortable;
}
#else
bool Has(MathPath path) { return path == MathPath::kPortable; }
MathPath Best() { return MathPath::kPortable; }
#endif

std::atomic<MathPath>& Path() {
  static std::atomic<MathPath> path{Best()};
  return path;
}

}  // namespace

MathPath ActiveMathPath() { return Path().load(std::memory_order_relaxed); }

bool SelectMathPath(MathPath path) {
  if (!Has(path)) return false;
  Path().store(path, std::memory_order_relaxed);
  return true;
}

#ifdef TOVANI_X86_MATH
#define TOVANI_DISPATCH(call)                      \
  switch (ActiveMathPath()) {                      \
    case MathPath::kAvx512:                        \
      return x86_math::avx512::call;               \
    case MathPath::kAvx2:                          \
      return x86_math::avx2::call;                 \
    case MathPath::kPortable:                      \
      break;                                       \
  }                                                \
  return portable_math::call
#else
#define TOVANI_DISPATCH(call) return portable_math::call
#endif

void CosBatch(const double* x, double* out, std::size_t n) { TOVANI_DISPATCH(CosBatch(x, out, n)); }
void SinBatch(const double* x, double* out, std::size_t n) { TOVANI_DISPATCH(SinBatch(x, out, n)); }
void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums) {
  TOVANI_DISPATCH(CosineSeriesSums(a, b, c, start, segments, t, sums));
}

void PolynomialSineSums(const double* a, const double* const* p, const std::size_t* start, std::size_t segments,
                        double t, double* sums) {
  TOVANI_DISPATCH(PolynomialSineSums(a, p, start, segments, t, sums));
}

#undef TOVANI_DISPATCH

}  // namespace tovani
