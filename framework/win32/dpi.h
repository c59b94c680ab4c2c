// Pixels at 96 DPI scaled to a window's DPI.
#pragma once

#include <windows.h>

namespace tovani::win32 {

// A rectangle given by its left, top, width and height at 96 DPI.
struct Place {
  int x = 0, y = 0, width = 0, height = 0;
};

// The DPI of the window's monitor (GetDpiForWindow where the system has it,
// else the screen's LOGPIXELSY); 96 for a null window.
UINT DpiOf(HWND window);
// The DPI of the primary screen, before any window exists.
UINT SystemDpi();

inline int Scale(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), 96); }
inline Place Scale(const Place& p, UINT dpi) {
  return {Scale(p.x, dpi), Scale(p.y, dpi), Scale(p.width, dpi), Scale(p.height, dpi)};
}

// Moves a child control to its place at the DPI.
void MoveTo(HWND control, const Place& place96, UINT dpi);

// WM_DPICHANGED: puts the window where and as large as Windows suggests (a
// monitor of another scaling) and returns the new DPI, for the window to lay
// out its controls again.
UINT FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace tovani::win32
