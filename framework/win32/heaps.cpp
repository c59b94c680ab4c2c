#include "framework/win32/heaps.h"

#include <vector>

namespace tovani::win32 {

std::uint64_t HeapBytesInUse() {
  std::vector<HANDLE> heaps(16);
  for (;;) {
    const DWORD n = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (n <= heaps.size()) {
      heaps.resize(n);
      break;
    }
    heaps.resize(n + 16);  // a heap more since the count
  }
  std::uint64_t bytes = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY e{};
    while (HeapWalk(heap, &e)) {
      if ((e.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) bytes += e.cbData;
    }
    HeapUnlock(heap);
  }
  return bytes;
}

UINT HeapBytesMessage() {
  static const UINT message = RegisterWindowMessageW(kHeapBytesMessageName);
  return message;
}

}  // namespace tovani::win32
