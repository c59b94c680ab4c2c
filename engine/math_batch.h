// Cosines and sines of many arguments at once: the C library's vector math
// where it has it (glibc on x86-64), the plain functions elsewhere.
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

}  // namespace tovani
