// The native build's vector kernels for x86-64: AVX2 with FMA, and AVX-512.
#include "engine/math_batch_x86.h"

#ifdef TOVANI_X86_MATH

#include <immintrin.h>

#include <cstddef>

namespace tovani::x86_math {

#pragma GCC push_options
#pragma GCC target("avx2,fma")
namespace avx2 {
typedef __m256d V;
constexpr std::size_t kLanes = 4;
inline V Fma(V a, V b, V c) { return _mm256_fmadd_pd(a, b, c); }
#include "engine/math_kernels_x86.inc"
}  // namespace avx2
#pragma GCC pop_options

#pragma GCC push_options
#pragma GCC target("avx512f,fma")
namespace avx512 {
typedef __m512d V;
constexpr std::size_t kLanes = 8;
inline V Fma(V a, V b, V c) { return _mm512_fmadd_pd(a, b, c); }
#include "engine/math_kernels_x86.inc"
}  // namespace avx512
#pragma GCC pop_options

}  // namespace tovani::x86_math

#endif
