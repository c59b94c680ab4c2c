#include "ui/base/tool_window_win32.h"

#include <algorithm>

#include "framework/win32/appearance.h"
#include "framework/win32/dpi.h"
#include "framework/win32/loops.h"

namespace tovani {

ToolWindow::~ToolWindow() { Forget(); }

// No longer among the open tool windows, nor the window that is not modal.
void ToolWindow::Forget() {
  auto& open = program_.openTools;
  open.erase(std::remove(open.begin(), open.end(), hwnd()), open.end());
  if (modeless_ && program_.modeless == hwnd()) program_.modeless = nullptr;
}

void ToolWindow::Centre(HWND owner, SIZE size) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : hwnd(), MONITOR_DEFAULTTOPRIMARY), &mi);
  const RECT& m = mi.rcWork;
  const LONG left = std::max(m.left, m.left + (m.right - m.left - size.cx) / 2);
  const LONG top = std::max(m.top, m.top + (m.bottom - m.top - size.cy) / 2);
  SetWindowPos(hwnd(), nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolWindow::RunModal(HWND owner, const char* className, const char* caption, int width96, int height96) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  win32::WindowClass cls{className, LoadIconW(program_.instance, MAKEINTRESOURCEW(1)), ColourOf(ColourRole::kFace)};
  if (!Create(program_.instance, cls, caption, style, exStyle, RECT{0, 0, width96, height96}, owner)) return;
  dpi_ = win32::DpiOf(hwnd());
  Centre(owner, {win32::Scale(width96, dpi_), win32::Scale(height96, dpi_)});
  CreateControls(dpi_);
  DressWindow(hwnd());
  program_.openTools.push_back(hwnd());
  if (owner != nullptr) EnableWindow(owner, FALSE);  // before the window shows: it is modal from the start
  ShowWindow(hwnd(), SW_SHOW);
  if (HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE)) SetFocus(first);
  win32::RunModalLoop(owner, hwnd(), [this] { return closing_; }, [this] { return program_.modeless; });
  Forget();
  if (exists()) {
    OnClosing();
    DestroyWindow(hwnd());
  }
  if (owner != nullptr && IsWindow(owner)) SetForegroundWindow(owner);
}

bool ToolWindow::OpenModeless(HWND owner, const char* className, const char* caption, int clientWidth96,
                              int clientHeight96) {
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  constexpr DWORD kExStyle = WS_EX_APPWINDOW;  // owned by the main window, to stay above it, and on the task bar
  const auto outer = [](int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
  };
  win32::WindowClass cls{className, LoadIconW(program_.instance, MAKEINTRESOURCEW(1)), ColourOf(ColourRole::kFace)};
  const SIZE size96 = outer(clientWidth96, clientHeight96);
  // An embedded main window is a child window, and cannot own one.
  HWND ownerWindow = owner != nullptr && GetAncestor(owner, GA_PARENT) == GetDesktopWindow() ? owner : nullptr;
  if (!Create(program_.instance, cls, caption, kStyle, kExStyle, RECT{0, 0, size96.cx, size96.cy}, ownerWindow)) {
    return false;
  }
  modeless_ = true;
  dpi_ = win32::DpiOf(hwnd());
  Centre(owner, outer(win32::Scale(clientWidth96, dpi_), win32::Scale(clientHeight96, dpi_)));
  CreateControls(dpi_);
  DressWindow(hwnd());
  program_.openTools.push_back(hwnd());
  program_.modeless = hwnd();
  OnOpened();
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  if (HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE)) SetFocus(first);
  return true;
}

void ToolWindow::BringUp() {
  ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd());
}

void ToolWindow::RequestClose() {
  closing_ = true;
  if (hwnd() == nullptr) return;
  if (!modeless_) {
    PostMessageW(hwnd(), WM_NULL, 0, 0);  // wakes the modal loop
    return;
  }
  OnClosing();
  DestroyWindow(hwnd());
}

void ToolWindow::FitClientArea(int width96, int height96) {
  RECT r{0, 0, win32::Scale(width96, dpi_), win32::Scale(height96, dpi_)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_EXSTYLE)));
  RECT now{};
  GetWindowRect(hwnd(), &now);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd(), nullptr, (now.left + now.right - w) / 2, (now.top + now.bottom - h) / 2, w, h,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT ToolWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (const auto own = OnOwnMessage(msg, wParam, lParam)) return *own;
  if (win32::IsColourSetChange(msg, lParam)) {
    FollowSystemAppearance();
    DressWindow(hwnd());
    win32::RepaintAll(hwnd());
  }
  if (const auto coloured = colours_.OnMessage(hwnd(), msg, wParam, lParam)) return *coloured;
  switch (msg) {
    case WM_COMMAND:
      if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
        RequestClose();
        return 0;
      }
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      RequestClose();
      return 0;
    case WM_DPICHANGED:
      dpi_ = win32::FollowDpiChange(hwnd(), wParam, lParam);
      Relayout(dpi_);
      return 0;
    case WM_ACTIVATE:
      // The focus leaves with the window and comes back where it was.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd(), focus)) lastFocus_ = focus;
      } else if (HIWORD(wParam) == 0 && lastFocus_ != nullptr && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_DESTROY:
      Forget();
      break;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace tovani
