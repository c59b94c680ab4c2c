#include "framework/win32/dpi.h"
#include "framework/win32/gdi.h"

namespace tovani::win32 {

UINT SystemDpi() {
  const WindowDc screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UINT DpiOf(HWND window) {
  if (window == nullptr) return 96;
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi != nullptr) {
    const UINT dpi = getDpi(window);
    if (dpi > 0) return dpi;
  }
  return SystemDpi();
}

void MoveTo(HWND control, const Place& place96, UINT dpi) {
  const Place p = Scale(place96, dpi);
  SetWindowPos(control, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam) {
  const RECT* r = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return HIWORD(wParam);
}

}  // namespace tovani::win32
