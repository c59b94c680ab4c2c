// What the process's heaps hold: the bytes of the blocks in use on every heap
// of the process, the C++ heap and those of the system's libraries in it.
// The main window answers a watcher from outside (the soak program, the
// no-growth test) with it, so that what a repeated action keeps can be told
// apart from memory the system keeps elsewhere.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tovani::win32 {

inline constexpr wchar_t kHeapBytesMessageName[] = L"TovaniHeapBytesInUse";

std::uint64_t HeapBytesInUse();

// The registered message the main window answers with HeapBytesInUse()
// (at most LONG_MAX).
UINT HeapBytesMessage();

}  // namespace tovani::win32
