// A window as one C++ object: the class is registered once under its name,
// the window procedure finds the object through GWLP_USERDATA and hands every
// message to OnMessage, and no exception ever leaves the procedure.
#pragma once

#include <windows.h>

#include <string>

namespace tovani::win32 {

struct WindowClass {
  const char* name;        // program text, e.g. "TOVANI_DFORM"
  HICON icon = nullptr;
  COLORREF background = RGB(255, 255, 255);
  UINT style = CS_DBLCLKS;
};

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  bool exists() const { return hwnd_ != nullptr && IsWindow(hwnd_); }

 protected:
  // Registers the class when needed and creates the window; false when the
  // window could not be created.
  bool Create(HINSTANCE instance, const WindowClass& cls, const char* caption, DWORD style, DWORD exStyle,
              const RECT& rect, HWND owner);
  // The messages of the window; DefWindowProcW for the rest.
  virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return Default(msg, wParam, lParam); }
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(hwnd_, msg, wParam, lParam); }
  // Called after WM_NCDESTROY, when the handle is gone.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// The background brush of a colour, kept for the life of the process.
HBRUSH SolidBrush(COLORREF colour);

}  // namespace tovani::win32
