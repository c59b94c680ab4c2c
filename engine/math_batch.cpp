#include "engine/math_batch.h"

#include <cmath>

#if defined(__x86_64__) && defined(__GLIBC__)
#define TOVANI_VECTOR_MATH 1
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
namespace {

// The portable path, and the reference for the order of the additions.
void CosineSeriesSumsScalar(const double* a, const double* b, const double* c, const std::size_t* start,
                            std::size_t segments, double t, double* sums) {
  for (std::size_t s = 0; s < segments; ++s) {
    double p[4] = {0, 0, 0, 0};
    for (std::size_t i = start[s]; i < start[s + 1]; i += 4) {
      for (std::size_t j = 0; j < 4; ++j) p[j] += a[i + j] * std::cos(b[i + j] + c[i + j] * t);
    }
    sums[s] = (p[0] + p[1]) + (p[2] + p[3]);
  }
}

#ifdef TOVANI_VECTOR_MATH

double Reduce(__m256d p) __attribute__((target("avx2")));
double Reduce(__m256d p) {
  alignas(32) double lanes[4];
  _mm256_store_pd(lanes, p);
  return (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
}

// Separate multiplies and adds (no fused multiply-add), rounding as the
// scalar path does.
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
    sums[s] = Reduce(p);
  }
}

__attribute__((target("avx512f"))) inline __m256d UpperHalf(__m512d v) {
  return _mm512_castpd512_pd256(_mm512_shuffle_f64x2(v, v, 0xEE));
}

// Eight cosines at a time; the two halves join the four running sums in order.
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
void CosSse2(const double* x, double* out, std::size_t n) {
  for (std::size_t i = 0; i < n; i += 2) _mm_storeu_pd(out + i, _ZGVbN2v_cos(_mm_loadu_pd(x + i)));
}
void SinSse2(const double* x, double* out, std::size_t n) {
  for (std::size_t i = 0; i < n; i += 2) _mm_storeu_pd(out + i, _ZGVbN2v_sin(_mm_loadu_pd(x + i)));
}

enum class Level { kSse2, kAvx2, kAvx512 };

Level CpuLevel() {
  static const Level level = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) return Level::kAvx512;
    if (__builtin_cpu_supports("avx2")) return Level::kAvx2;
    return Level::kSse2;
  }();
  return level;
}

#endif

}  // namespace

#ifdef TOVANI_VECTOR_MATH

void CosBatch(const double* x, double* out, std::size_t n) {
  CpuLevel() == Level::kSse2 ? CosSse2(x, out, n) : CosAvx2(x, out, n);
}
void SinBatch(const double* x, double* out, std::size_t n) {
  switch (CpuLevel()) {
    case Level::kAvx512:
      return SinAvx512(x, out, n);
    case Level::kAvx2:
      return SinAvx2(x, out, n);
    case Level::kSse2:
      return SinSse2(x, out, n);
  }
}
void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums) {
  switch (CpuLevel()) {
    case Level::kAvx512:
      return CosineSeriesSumsAvx512(a, b, c, start, segments, t, sums);
    case Level::kAvx2:
      return CosineSeriesSumsAvx2(a, b, c, start, segments, t, sums);
    case Level::kSse2:
      break;
  }
  CosineSeriesSumsScalar(a, b, c, start, segments, t, sums);
}

#else

void CosBatch(const double* x, double* out, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = std::cos(x[i]);
}
void SinBatch(const double* x, double* out, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) out[i] = std::sin(x[i]);
}
void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums) {
  CosineSeriesSumsScalar(a, b, c, start, segments, t, sums);
}

#endif

}  // namespace tovani
