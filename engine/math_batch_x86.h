// The vector kernels of the native build on x86-64 (not Windows: the 32-bit
// Windows program cannot keep its stack aligned for AVX spills).  Callers
// choose one by what the processor has.
#pragma once

#include <cstddef>

#if defined(__x86_64__) && !defined(_WIN32) && defined(__GNUC__)
#define TOVANI_X86_MATH 1

namespace tovani::x86_math {

namespace avx2 {
#include "engine/math_kernel_declarations.inc"
}
namespace avx512 {
#include "engine/math_kernel_declarations.inc"
}

}  // namespace tovani::x86_math

#endif
