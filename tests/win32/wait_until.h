// Waiting in a Windows-side test for something another thread brings about.
#pragma once

#include <windows.h>

#include <functional>

namespace tovani::testing_win32 {

// True once done() is; false if it is still not after timeoutMs.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(20);
  }
  return true;
}

}  // namespace tovani::testing_win32
