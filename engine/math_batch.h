// Cosines and sines of many arguments at once: glibc's vector math in the
// native build on x86-64, the program's own vector code elsewhere (the
// Windows program).
#pragma once

#include <cstddef>

namespace tovani {

// out[i] = cos(x[i]) (sin(x[i])) for i < n; n must be a multiple of 4.
void CosBatch(const double* x, double* out, std::size_t n);
void SinBatch(const double* x, double* out, std::size_t n);

// Sums of a[i] * cos(b[i] + c[i] * t) over the segments [start[s], start[s+1])
// for s < segments; every start is a multiple of 4.  Each segment is summed in
// four running sums, term i going to sum i mod 4 in order of i, and the four
// are added as (p0 + p1) + (p2 + p3): the same additions on every path.
void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums);

// The program's own implementation of the three, always built, so that the
// tests check it in every build.
namespace portable_math {
void CosBatch(const double* x, double* out, std::size_t n);
void SinBatch(const double* x, double* out, std::size_t n);
void CosineSeriesSums(const double* a, const double* b, const double* c, const std::size_t* start,
                      std::size_t segments, double t, double* sums);
}  // namespace portable_math

}  // namespace tovani
