#include "engine/math_batch.h"

#include <cmath>
#include <cstdint>

#if defined(__x86_64__) && defined(__GLIBC__)
#define TOVANI_LIBMVEC 1
#include <immintrin.h>
// glibc's vector variants of cos and sin (libmvec), accurate to 4 ulp: eight
// doubles in an AVX-512 register, four in an AVX2 register, two in SSE2.
extern "C" __m512d _ZGVeN8v_cos(__m512d);
extern "C" __m512d _ZGVeN8v_sin(__m512d);
extern "C" __m256d _ZGVdN4v_cos(__m256d);
extern "C" __m256d _ZGVdN4v_sin(__m256d);
extern "C" __m128d _ZGVbN2v_cos(__m128d);
extern "C" __m128d _ZGVbN2v_sin(__m128d);
#endif

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

}  // namespace portable_math

#ifdef TOVANI_LIBMVEC

// ---- glibc's vector math, for the native build on x86-64 ----
namespace {

// Separate multiplies and adds, as the portable path does.
__attribute__((target("avx2"))) void CosineSeriesSumsAvx2(const double* a, const double* b, const double* c,
                                                          const std::size_t* start, std::size_t segments, double t,
                                                          double* sums) {
  const __m256d tt = _mm256_set1_pd(t);
  for (std::size_t s = 0; s < segments; ++s) {
    __m256d p = _mm256_setzero_pd();
    for (std::size_t i = start[s]; i < start[s + 1]; i += 4) {
      const __m256d arg = _mm256_add_pd(_mm256_loadu_pd(b + i), _mm256_mul_pd(_mm256_loadu_pd(c + i), tt));
      p = _mm256_add_pd(p, _mm256_mul_pd(_mm256_loadu_pd(a + i), _ZGVdN4v_cos(arg)));
    }
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, p);
    sums[s] = (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
  }
}

__attribute__((target("avx512f"))) inline __m256d UpperHalf(__m512d v) {
  return _mm512_castpd512_pd256(_mm512_shuffle_f64x2(v, v, 0xEE));
}

// Eight cosines at a time; the two halves join the four running sums in
// order, as two blocks of four would.
__attribute__((target("avx512f"))) void CosineSeriesSumsAvx512(const double* a, const double* b, const double* c,
                                                               const std::size_t* start, std::size_t segments,
                                                               double t, double* sums) {
  const __m512d tt = _mm512_set1_pd(t);
  const __m256d t4 = _mm256_set1_pd(t);
  for (std::size_t s = 0; s < segments; ++s) {
    __m256d p = _mm256_setzero_pd();
    std::size_t i = start[s];
    for (; i + 8 <= start[s + 1]; i += 8) {
      const __m512d arg = _mm512_add_pd(_mm512_loadu_pd(b + i), _mm512_mul_pd(_mm512_loadu_pd(c + i), tt));
      const __m512d terms = _mm512_mul_pd(_mm512_loadu_pd(a + i), _ZGVeN8v_cos(arg));
      p = _mm256_add_pd(p, _mm512_castpd512_pd256(terms));
      p = _mm256_add_pd(p, UpperHalf(terms));
    }
    if (i < start[s + 1]) {  // a last block of four
      const __m256d arg = _mm256_add_pd(_mm256_loadu_pd(b + i), _mm256_mul_pd(_mm256_loadu_pd(c + i), t4));
      p = _mm256_add_pd(p, _mm256_mul_pd(_mm256_loadu_pd(a + i), _ZGVdN4v_cos(arg)));
    }
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, p);
    sums[s] = (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
  }
}

__attribute__((target("avx512f"))) void SinAvx512(const double* x, double* out, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) _mm512_storeu_pd(out + i, _ZGVeN8v_sin(_mm512_loadu_pd(x + i)));
  if (i < n) _mm256_storeu_pd(out + i, _ZGVdN4v_sin(_mm256_loadu_pd(x + i)));
}
__attribute__((target("avx2"))) void CosAvx2(const double* x, double* out, std::size_t n) {
  for (std::size_t i = 0; i < n; i += 4) _mm256_storeu_pd(out + i, _ZGVdN4v_cos(_mm256_loadu_pd(x + i)));
}
__attribute__((target("avx2"))) void SinAvx2(const double* x, double* out, std::size_t n) {
  for (std::size_t i = 0; i < n; i += 4) _mm256_storeu_pd(out + i, _ZGVdN4v_sin(_mm256_loadu_pd(x + i)));
}

enum class Level { kBase, kAvx2, kAvx512 };

Level CpuLevel() {
  static const Level level = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return Level::kAvx512;
    if (__builtin_cpu_supports("avx2")) return Level::kAvx2;
    return Level::kBase;
  }();
  return level;
}

}  // namespace

void CosBatch(const double* x, double* out, std::size_t n) {
  if (CpuLevel() == Level::kBase) return portable_math::CosBatch(x, out, n);
  CosAvx2(x, out, n);
}

void SinBatch(const double* x, double* out, std::size_t n) {
  switch (CpuLevel()) {
    case Level::kAvx512:
      return SinAvx512(x, out, n);
    case Level::kAvx2:
      return SinAvx2(x, out, n);
    case Level::kBase:
      break;
  }
  portable_math::SinBatch(x, out, n);
}

void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums) {
  switch (CpuLevel()) {
    case Level::kAvx512:
      return CosineSeriesSumsAvx512(a, b, c, start, segments, t, sums);
    case Level::kAvx2:
      return CosineSeriesSumsAvx2(a, b, c, start, segments, t, sums);
    case Level::kBase:
      break;
  }
  portable_math::CosineSeriesSums(a, b, c, start, segments, t, sums);
}

#else

void CosBatch(const double* x, double* out, std::size_t n) { portable_math::CosBatch(x, out, n); }
void SinBatch(const double* x, double* out, std::size_t n) { portable_math::SinBatch(x, out, n); }
void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums) {
  portable_math::CosineSeriesSums(a, b, c, start, segments, t, sums);
}

#endif

}  // namespace tovani
