// Cosines and sines of many arguments at once: vector code with fused
// multiply-adds (AVX2 or AVX-512) in the native build on x86-64, chosen by what
// the processor has, and the program's portable vector code elsewhere (the
// Windows program).
#pragma once

#include <cstddef>

namespace tovani {

// The implementation in use.
#include "engine/math_kernel_declarations.inc"

// The implementations, and the one in use (the best this processor has, unless
// the tests chose another).  SelectMathPath answers false, changing nothing,
// for a path this build or processor does not have.
enum class MathPath { kPortable, kAvx2, kAvx512 };
MathPath ActiveMathPath();
bool SelectMathPath(MathPath path);

// The portable implementation, always built, so that the tests check it in
// every build.
namespace portable_math {
#include "engine/math_kernel_declarations.inc"
}  // namespace portable_math

}  // namespace tovani
