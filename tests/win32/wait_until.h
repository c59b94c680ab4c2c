// Waiting in a Windows-side test for something another thread brings about.
#pragma once

#include "tests/win32/driver.h"

namespace tovani::testing_win32 {

using driver::WaitUntil;

}  // namespace tovani::testing_win32
