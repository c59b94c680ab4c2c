#include "ui/base/tool_window_win32.h"

#include <algorithm>

#include "framework/win32/appearance.h"
#include "framework/win32/dpi.h"
#include "framework/win32/shell.h"

namespace tovani {

ToolWindow::~ToolWindow() {
  auto& open = program_.openTools;
  open.erase(std::remove(open.begin(), open.end(), hwnd()), open.end());
}

void ToolWindow::RunModal(HWND owner, const char* className, const char* caption, int width96, int height96) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  win32::WindowClass cls{className, LoadIconW(program_.instance, MAKEINTRESOURCEW(1)), ColourOf(ColourRole::kFace)};
  if (!Create(program_.instance, cls, caption, style, exStyle, RECT{0, 0, width96, height96}, owner)) return;
  // The size at the window's DPI, centred on its monitor.
  dpi_ = win32::DpiOf(hwnd());
  const int w = win32::Scale(width96, dpi_), h = win32::Scale(height96, dpi_);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : hwnd(), MONITOR_DEFAULTTOPRIMARY), &mi);
  const RECT& m = mi.rcWork;
  SetWindowPos(hwnd(), nullptr, m.left + (m.right - m.left - w) / 2, m.top + (m.bottom - m.top - h) / 2, w, h,
               SWP_NOZORDER | SWP_NOACTIVATE);
  CreateControls(dpi_);
  DressWindow(hwnd());
  program_.openTools.push_back(hwnd());
  if (owner != nullptr) EnableWindow(owner, FALSE);  // before the window shows: it is modal from the start
  ShowWindow(hwnd(), SW_SHOW);
  if (HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE)) SetFocus(first);
  win32::RunModalLoop(owner, hwnd(), [this] { return closing_; }, [this] { return program_.modeless; });
  auto& open = program_.openTools;
  open.erase(std::remove(open.begin(), open.end(), hwnd()), open.end());
  if (exists()) {
    OnClosing();
    DestroyWindow(hwnd());
  }
  if (owner != nullptr && IsWindow(owner)) SetForegroundWindow(owner);
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
  switch (msg) {
    case WM_COMMAND:
      if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
        RequestClose();
        return 0;
      }
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (HBRUSH b = colours_.Apply(msg, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(b);
      }
      break;
    case WM_ERASEBKGND:
      EraseWith(hwnd(), reinterpret_cast<HDC>(wParam), ColourRole::kFace);
      return 1;
    case WM_CLOSE:
      RequestClose();
      return 0;
    case WM_DPICHANGED:
      dpi_ = win32::FollowDpiChange(hwnd(), wParam, lParam);
      Relayout(dpi_);
      return 0;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace tovani
