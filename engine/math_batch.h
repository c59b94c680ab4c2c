// Cosines and sines of many arguments at once: vector code with fused
// multiply-adds (AVX2 or AVX-512) in the native build on x86-64, chosen by what
// the processor has, and the program's portable vector code elsewhere (the
// Windows program).
#pragma once

#include <cstddef>

namespace tovani {

// out[i] = cos(x[i]) (sin(x[i])) for i < n; n must be a multiple of 4.
void CosBatch(const double* x, double* out, std::size_t n);
void SinBatch(const double* x, double* out, std::size_t n);

// Sums of a[i] * cos(b[i] + c[i] * t) over the segments [start[s], start[s+1])
// for s < segments; every start is a multiple of 4.  Each path adds in its own
// order (the portable one in four running sums, term i going to sum i mod 4,
// added as (p0 + p1) + (p2 + p3)), so the paths agree to rounding, not bit for bit.
void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums);

// Sums of a[i] * sin(p[0][i] + p[1][i] t + p[2][i] t^2 + p[3][i] t^3 + p[4][i] t^4)
// over the segments [start[s], start[s+1]) for s < segments; every start is a
// multiple of 4.
void PolynomialSineSums(const double* a, const double* const* p, const std::size_t* start, std::size_t segments,
                        double t, double* sums);

// The implementations, and the one in use (the best this processor has, unless
// the tests chose another).  SelectMathPath answers false, changing nothing,
// for a path this build or processor does not have.
enum class MathPath { kPortable, kAvx2, kAvx512 };
MathPath ActiveMathPath();
bool SelectMathPath(MathPath path);

// The portable implementation of the three, always built, so that the tests
// check it in every build.
namespace portable_math {
void CosBatch(const double* x, double* out, std::size_t n);
void SinBatch(const double* x, double* out, std::size_t n);
void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums);
void PolynomialSineSums(const double* a, const double* const* p, const std::size_t* start, std::size_t segments,
                        double t, double* sums);
}  // namespace portable_math

}  // namespace tovani
