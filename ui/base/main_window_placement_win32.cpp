// Where a main window stands and how it shows: its first place, staying on
// a monitor, the layer (on top, embedded in the desktop), dragging, hiding,
// the weather window kept above it, and transparency with its fade.
#include "ui/base/main_window_win32.h"

#include <algorithm>

namespace tovani {

RECT MainWindow::InitialRect(UINT dpi) const {
  const Frame f = GetFrame();
  const int w = win32::Scale(f.width, dpi), h = win32::Scale(f.height, dpi);
  const AppState& s = program_.state;
  if (s.FormLeft >= 0 && s.FormTop >= 0) {
    // A stored place counts when the whole window lies on one monitor.
    const RECT r{s.FormLeft, s.FormTop, s.FormLeft + w, s.FormTop + h};
    if (HMONITOR m = MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
      MONITORINFO mi{};
      mi.cbSize = sizeof mi;
      if (GetMonitorInfoW(m, &mi) && r.left >= mi.rcMonitor.left && r.top >= mi.rcMonitor.top &&
          r.right <= mi.rcMonitor.right && r.bottom <= mi.rcMonitor.bottom) {
        return r;
      }
    }
  }
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const int left = (sw - w) / 2, top = (sh - h) / 2;
  return {left, top, left + w, top + h};
}

void MainWindow::ApplyPlacement(menu::Placement p) {
  ApplyPlacementOnly(p);
  KeepModelessAbove();
}

void MainWindow::ApplyPlacementOnly(menu::Placement p) {
  switch (p) {
    case menu::Placement::kSetTopmost:
    case menu::Placement::kRemoveTopmost:
      SetWindowPos(hwnd(), p == menu::Placement::kSetTopmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      break;
    case menu::Placement::kEmbed: {
      RECT r{};
      GetWindowRect(hwnd(), &r);
      HWND view = win32::FindDesktopIconView();
      SetParent(hwnd(), view);
      if (view != nullptr) {
        POINT p{r.left, r.top};
        ScreenToClient(view, &p);
        SetWindowPos(hwnd(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    }
    case menu::Placement::kLeaveDesktop: {
      RECT r{};
      GetWindowRect(hwnd(), &r);
      SetParent(hwnd(), nullptr);
      SetWindowPos(hwnd(), nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case menu::Placement::kNone:
      break;
  }
}

void MainWindow::KeepModelessAbove() {
  HWND w = program_.modeless;
  if (w == nullptr || !IsWindow(w)) return;
  // An embedded window is a child of the desktop's and cannot own windows.
  HWND owner = GetAncestor(hwnd(), GA_PARENT) == GetDesktopWindow() ? hwnd() : nullptr;
  if (GetWindow(w, GW_OWNER) != owner) SetWindowLongPtrW(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  if (owner == nullptr) return;
  // Above the owner in its band: the topmost one when it is topmost.
  const bool topmost = (GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  SetWindowPos(w, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::LetModelessGo() {
  HWND w = program_.modeless;
  // Owned windows go with their owner: the weather window outlives a switch.
  if (w != nullptr && IsWindow(w) && GetWindow(w, GW_OWNER) == hwnd()) SetWindowLongPtrW(w, GWLP_HWNDPARENT, 0);
}

void MainWindow::ApplyTransparencyAtStart() {
  const Transparency level = program_.state.FORMTransFlag;
  if (level == Transparency::kAutomatic) {
    program_.behaviour.fadeCount = 0;
    win32::SetWindowAlpha(hwnd(), menu::AlphaOf(0));
    SetTimer(hwnd(), kFadeTimerId, kFadeStepMs, nullptr);
  } else if (level != Transparency::kOpaque) {
    win32::SetWindowAlpha(hwnd(), menu::AlphaOf(menu::AmountOfLevel(level)));
  }
}

void MainWindow::Touched() {
  if (program_.state.FORMTransFlag != Transparency::kAutomatic) return;
  const int amount = menu::FadeTouch(program_.behaviour);
  win32::SetWindowAlpha(hwnd(), menu::AlphaOf(amount));
}

void MainWindow::StartDrag() {
  if (program_.state.PositionLock != MoveLock::kMovable) return;
  ReleaseCapture();
  SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void MainWindow::KeepOnScreen(WINDOWPOS& pos) const {
  if ((pos.flags & SWP_NOMOVE) != 0 || GetParent(hwnd()) != nullptr) return;
  RECT current{};
  GetWindowRect(hwnd(), &current);
  const int w = (pos.flags & SWP_NOSIZE) ? current.right - current.left : pos.cx;
  const int h = (pos.flags & SWP_NOSIZE) ? current.bottom - current.top : pos.cy;
  const RECT wanted{pos.x, pos.y, pos.x + w, pos.y + h};
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &mi)) return;
  const RECT& m = mi.rcMonitor;
  pos.x = std::max(static_cast<int>(m.left), std::min(pos.x, static_cast<int>(m.right) - w));
  pos.y = std::max(static_cast<int>(m.top), std::min(pos.y, static_cast<int>(m.bottom) - h));
}

void MainWindow::Hide() {
  OnMoveStarted();  // the balloon goes with the window
  ShowWindow(hwnd(), SW_HIDE);
}

void MainWindow::FadeStep() {
  POINT p{};
  GetCursorPos(&p);
  HWND under = WindowFromPoint(p);
  const bool over = under == hwnd() || GetParent(under) == hwnd();
  if (const auto amount = menu::FadeTick(program_.behaviour, over)) win32::SetWindowAlpha(hwnd(), menu::AlphaOf(*amount));
}

void MainWindow::HoldFade(bool held) {
  if (program_.state.FORMTransFlag != Transparency::kAutomatic) return;
  if (held) {
    KillTimer(hwnd(), kFadeTimerId);
  } else {
    program_.behaviour.fadeCount = 0;
    SetTimer(hwnd(), kFadeTimerId, kFadeStepMs, nullptr);
  }
}

}  // namespace tovani
