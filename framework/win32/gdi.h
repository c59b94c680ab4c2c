// Owners of the system's objects the window code takes and must give back:
// GDI objects, device contexts and what is selected into them, menus and
// kernel handles.  One owner per object, given back with its owner, so that
// an early return or an exception leaves nothing behind and a window that
// goes, or a picture loaded again, keeps nothing.
#pragma once

#include <windows.h>

#include <utility>

namespace tovani::win32 {

// One handle and the call that gives it back; moved, never copied.
template <class Handle, BOOL(WINAPI* Free)(Handle)>
class Owned {
  static constexpr Handle kNone = nullptr;

 public:
  Owned() = default;
  explicit Owned(Handle h) : h_(h) {}
  Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, kNone)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(std::exchange(other.h_, kNone));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != kNone; }
  // Gives the handle up without freeing it.
  Handle release() { return std::exchange(h_, kNone); }
  void reset(Handle h = kNone) {
    if (h_ != kNone && h_ != h) Free(h_);
    h_ = h;
  }

 private:
  Handle h_ = kNone;
};

template <class Handle>
inline BOOL WINAPI DeleteGdi(Handle h) { return DeleteObject(h); }

template <class Handle>
using GdiObject = Owned<Handle, DeleteGdi<Handle>>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;
using Font = GdiObject<HFONT>;
// A menu, destroyed with its sub-menus.
using Menu = Owned<HMENU, DestroyMenu>;
// A kernel object: a thread, a mutex, a file, a console.
using KernelHandle = Owned<HANDLE, CloseHandle>;
// A file opened by CreateFileW, whose failure is INVALID_HANDLE_VALUE.
inline KernelHandle OwnFile(HANDLE h) { return KernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h); }
// A memory device context (CreateCompatibleDC).
using MemoryDc = Owned<HDC, DeleteDC>;

// The device context of a window (or of the screen, nullptr), released with
// its owner.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  // A DC of the window that GetDCEx gave.
  WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context; the one it replaced is selected
// again with its owner.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace tovani::win32
