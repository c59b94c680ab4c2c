#include "framework/win32/window.h"

#include <map>

#include "framework/win32/faults.h"
#include "framework/win32/shown.h"
#include "framework/win32/wide.h"

namespace tovani::win32 {

HBRUSH SolidBrush(COLORREF colour) {
  static std::map<COLORREF, HBRUSH> brushes;
  HBRUSH& b = brushes[colour];
  if (b == nullptr) b = CreateSolidBrush(colour);
  return b;
}

Window::~Window() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool Window::Create(HINSTANCE instance, const WindowClass& cls, const char* caption, DWORD style, DWORD exStyle,
                    const RECT& rect, HWND owner) {
  const std::wstring className = Wide(cls.name);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, className.c_str(), &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = cls.style;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hIcon = cls.icon;
    wc.hIconSm = cls.icon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = SolidBrush(cls.background);
    wc.lpszClassName = className.c_str();
    if (RegisterClassExW(&wc) == 0) return false;
  }
  CreateWindowExW(exStyle, className.c_str(), Shown(caption).c_str(), style, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, instance, this);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->OnMessage(msg, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the system's code: the fault is told, and
    // the message has the system's answer.
    NoteCaughtException("a window procedure");
    result = DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnDestroyed();
    } catch (...) {
      NoteCaughtException("the end of a window");
    }
  }
  return result;
}

}  // namespace tovani::win32
