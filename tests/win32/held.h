// What a process holds, seen from another: its private memory, its GDI and
// USER objects and its handles.  Windows counts objects and handles through
// GetGuiResources and GetProcessHandleCount.  Wine answers those with 0, but
// keeps both figures where they can be read: its GDI handle table lies in
// the process, named by the process block as on Windows of old (an entry in
// use has a type), and the system's handle list names each handle's
// process.  USER objects Wine keeps where no other process can count them.
// The bytes in use on the process's heaps its main window tells, alike on
// both systems (Wine's private memory also counts what its unix side
// allocates, and grows in steps).
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "framework/win32/heaps.h"

namespace tovani::held {

struct Held {
  double kb = 0;                                  // private memory
  std::optional<double> gdi, user, handles;       // none where nothing counts them
  std::optional<double> heapKb;                   // none without a window to ask
};

inline bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

template <class F>
F NtCall(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// The entries in use in Wine's GDI handle table of the process.
inline std::optional<double> WineGdiObjects(HANDLE process) {
  struct BasicInformation {
    LONG exitStatus;
    void* peb;
    ULONG_PTR affinity, priority, id, parent;
  } basic{};
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = NtCall<Query>("NtQueryInformationProcess");
  if (query == nullptr || query(process, 0, &basic, sizeof basic, nullptr) != 0 || basic.peb == nullptr) {
    return std::nullopt;
  }
  constexpr std::size_t kTableInPeb = sizeof(void*) == 4 ? 0x94 : 0xF8;
  void* table = nullptr;
  if (!ReadProcessMemory(process, static_cast<char*>(basic.peb) + kTableInPeb, &table, sizeof table, nullptr) ||
      table == nullptr) {
    return std::nullopt;
  }
  struct Entry {  // 24 bytes in both widths
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type, flags;
    UINT64 user;
  };
  static_assert(sizeof(Entry) == 24);
  std::vector<Entry> entries(0x10000);
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), &read) || read == 0) {
    return std::nullopt;
  }
  entries.resize(read / sizeof(Entry));
  return static_cast<double>(
      std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.type != 0; }));
}

// The handles of the process in the system's handle list.
inline std::optional<double> WineHandles(DWORD pid) {
  struct Entry {
    ULONG owner;
    BYTE type, flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
  const auto query = NtCall<Query>("NtQuerySystemInformation");
  if (query == nullptr) return std::nullopt;
  constexpr int kHandleList = 16;
  constexpr LONG kTooSmall = static_cast<LONG>(0xC0000004);
  std::vector<char> buffer(1 << 20);
  for (int i = 0; i < 8; ++i) {
    ULONG needed = 0;
    const LONG status = query(kHandleList, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) {
      ULONG count = 0;
      std::memcpy(&count, buffer.data(), sizeof count);
      const auto* first = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
      const std::size_t room = (buffer.size() - sizeof(void*)) / sizeof(Entry);
      return static_cast<double>(std::count_if(first, first + std::min<std::size_t>(count, room),
                                               [&](const Entry& e) { return e.owner == pid; }));
    }
    if (status != kTooSmall) return std::nullopt;
    buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
  }
  return std::nullopt;
}

// The process needs PROCESS_QUERY_INFORMATION and PROCESS_VM_READ; its main
// window, if given, is asked for its heaps.
inline Held HeldBy(HANDLE process, DWORD pid, HWND mainWindow = nullptr) {
  Held h;
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof m;
  // Wine gives the private bytes as PagefileUsage only (its data segment);
  // Windows sets both.
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m)) {
    h.kb = static_cast<double>(m.PrivateUsage != 0 ? m.PrivateUsage : m.PagefileUsage) / 1024.0;
  }
  // 0 objects or handles is what a system that does not count says.
  if (const DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) h.gdi = n;
  if (const DWORD n = GetGuiResources(process, GR_USEROBJECTS)) h.user = n;
  DWORD handles = 0;
  if (GetProcessHandleCount(process, &handles) && handles > 0) h.handles = handles;
  if (UnderWine()) {
    if (!h.gdi) h.gdi = WineGdiObjects(process);
    if (!h.handles) h.handles = WineHandles(pid);
  }
  DWORD_PTR bytes = 0;
  const UINT askHeaps = RegisterWindowMessageW(win32::kHeapBytesMessageName);
  if (mainWindow != nullptr && SendMessageTimeoutW(mainWindow, askHeaps, 0, 0, SMTO_ABORTIFHUNG, 10000, &bytes) != 0) {
    h.heapKb = static_cast<double>(bytes) / 1024.0;
  }
  return h;
}

}  // namespace tovani::held
