// The vector kernels of the native build on x86-64 (not Windows: the 32-bit
// Windows program cannot keep its stack aligned for AVX spills).  Callers
// choose one by what the processor has.
#pragma once

#include <cstddef>

#if defined(__x86_64__) && !defined(_WIN32) && defined(__GNUC__)
#define TOVANI_X86_MATH 1

namespace tovani::x86_math {

#define TOVANI_X86_KERNELS                                                                               \
  void CosBatch(const double* x, double* out, std::size_t n);                                            \
  void SinBatch(const double* x, double* out, std::size_t n);                                            \
  void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,     \
                        std::size_t segments, double t, double* sums);                                 \
  void PolynomialSineSums(const double* a, const double* const* p, const std::size_t* start,             \
                          std::size_t segments, double t, double* sums);

namespace avx2 {
TOVANI_X86_KERNELS
}
namespace avx512 {
TOVANI_X86_KERNELS
}
#undef TOVANI_X86_KERNELS

}  // namespace tovani::x86_math

#endif
