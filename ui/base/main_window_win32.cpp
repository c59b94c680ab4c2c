// A main window's life and the routing of its messages: creation, the
// message loop, the menu, the lists' notifications, and the close that saves.
#include "ui/base/main_window_win32.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "app/startup.h"
#include "framework/win32/appearance.h"
#include "framework/win32/faults.h"
#include "framework/win32/heaps.h"
#include "framework/win32/menu.h"
#include "framework/win32/loops.h"
#include "framework/win32/dialogs.h"
#include "sound/win32/audio_player_win32.h"

namespace tovani {
namespace {

// How often the window looks whether the day has changed (besides the
// system's notices of a changed clock and of waking up).
constexpr UINT kTodayCheckMs = 15000;

}  // namespace

bool MainWindow::Run() {
  Create();
  if (!exists()) return false;
  win32::LoopHooks hooks;
  hooks.onAltX = [this] { PostMessageW(hwnd(), WM_CLOSE, 0, 0); };
  hooks.onEscape = [this] { Hide(); };
  hooks.modeless = [this] { return program_.modeless; };
  win32::RunMainLoop(hwnd(), hooks);
  if (exists()) {
    // WM_QUIT from elsewhere: close as the user would.
    SendMessageW(hwnd(), WM_CLOSE, 0, 0);
  }
  return true;
}

void MainWindow::Create() {
  const Frame f = GetFrame();
  AppState& s = program_.state;
  const UINT systemDpi = win32::SystemDpi();
  const RECT rect = InitialRect(systemDpi);
  FollowSystemAppearance();
  win32::ShowTraditional(s.TraditionalCharsFlag);
  // The background is erased in the palette's colour (WM_ERASEBKGND).
  win32::WindowClass cls{f.className, LoadIconW(program_.instance, MAKEINTRESOURCEW(1)), ColourOf(ColourRole::kStamp)};
  if (!win32::Window::Create(program_.instance, cls, f.caption, f.style, f.exStyle, rect, nullptr)) return;
  // The monitor the window landed on may have another DPI than the primary one.
  dpi_ = win32::DpiOf(hwnd());
  if (dpi_ != systemDpi) {
    const RECT r = InitialRect(dpi_);
    SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateControls(dpi_);
  AfterCreate();
  // Both windows keep the tray icon: a hidden window is always within reach.
  tray_.Add(hwnd(), kTrayId, static_cast<HICON>(LoadImageW(program_.instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32,
                                                           LR_SHARED)),
            TipOfToday(), kTrayMessage);
  // Placement: always on top at every start and switch.
  if (s.LayerMode == Layer::kDesktop) {
    ApplyPlacement(menu::Placement::kEmbed);
  } else if (s.LayerMode == Layer::kTopmost) {
    ApplyPlacement(menu::Placement::kSetTopmost);
  }
  RegisterHotKeys();
  StartClockTimers();
  SetTimer(hwnd(), kTodayTimerId, kTodayCheckMs, nullptr);
  today_ = program_.platform.Today();
  s.ReopenFlag = false;
  menu_.reset(win32::BuildPopupMenu(menu::ContextMenu()));
  DressMenu(menu_.get());
  DressWindow(hwnd());
  ShowDate();
  ShowTrayTip();
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd());
  ApplyTransparencyAtStart();
  SetForegroundWindow(hwnd());
  if (HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE)) SetFocus(first);
  OnShown();
}

void MainWindow::FollowAppearance() {
  FollowSystemAppearance();
  DressMenu(menu_.get());
  DressWindow(hwnd());
  OnPaletteChanged();
  win32::RepaintAll(hwnd());
}

void MainWindow::UpdateCheckMarks() {
  const bool monthWindow = GetFrame().monthWindow;
  win32::SetItemStates(
      menu_.get(), [this](int id) { return menu::IsChecked(id, program_.state); },
      [monthWindow](int id) { return menu::IsEnabled(id, monthWindow); });
}

void MainWindow::ShowMenu() {
  if (!IsWindowEnabled(hwnd())) return;
  UpdateCheckMarks();
  program_.behaviour.menuOpen = true;
  win32::ShowPopupMenu(menu_.get(), hwnd());
  // The menu has closed: with a command (posted, still to come) or without
  // one (Esc, a click elsewhere).  Either way it no longer holds the fade.
  program_.behaviour.menuOpen = false;
}

void MainWindow::OnListNotification(int code, const win32::ComboBox& list, const std::function<void()>& chosen) {
  switch (code) {
    case CBN_DROPDOWN:
      program_.behaviour.dropdownOpen = true;
      break;
    case CBN_CLOSEUP:
      // After the list's last notification, a list closed without a choice
      // is set back to the displayed date.
      program_.behaviour.dropdownOpen = false;
      PostMessageW(hwnd(), kSettleLists, 0, 0);
      break;
    case CBN_SELENDOK:
      chosen();
      break;
    case CBN_SELCHANGE:
      if (!list.Dropped()) chosen();  // a key or the wheel on a closed list
      break;
    default:
      break;
  }
}

int MainWindow::StepOf(UINT msg, WPARAM wParam, int& wheel) {
  if (msg == WM_KEYDOWN && (GetKeyState(VK_MENU) & 0x8000) == 0) {  // Alt+Down opens the list
    if (wParam == VK_LEFT || wParam == VK_UP) return -1;
    if (wParam == VK_RIGHT || wParam == VK_DOWN) return 1;
  } else if (msg == WM_MOUSEWHEEL) {
    wheel += GET_WHEEL_DELTA_WPARAM(wParam);
    if (wheel > -WHEEL_DELTA && wheel < WHEEL_DELTA) return 0;
    const int step = wheel > 0 ? -1 : 1;
    wheel = 0;
    return step;
  }
  return 0;
}

void MainWindow::Close() {
  if (closed_) return;
  closed_ = true;
  BeforeClose();
  tray_.Remove();
  LetModelessGo();
  hotKeys_.UnregisterAll();
  KillTimer(hwnd(), kFadeTimerId);
  KillTimer(hwnd(), kTodayTimerId);
  sound::ProgramBackgroundMusic().StopBackgroundMusic();
  RECT r{};
  GetWindowRect(hwnd(), &r);
  bool saved = false;
  try {
    saved = ShutDown(program_.state, program_.registry, r.left, r.top);
  } catch (...) {
    win32::NoteCaughtException("saving the settings");
    saved = false;  // told below, like a refused write; the window still closes
  }
  if (!saved) win32::Tell(hwnd(), menu::kSettingsNotSaved, menu::kMessageCaption);
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (const auto own = OnOwnMessage(msg, wParam, lParam)) return *own;
  if (const auto drawn = win32::OnMenuMessage(msg, wParam, lParam)) return *drawn;
  if (win32::IsColourSetChange(msg, lParam)) FollowAppearance();
  if (const auto coloured = colours_.OnMessage(hwnd(), msg, wParam, lParam)) return *coloured;
  if (msg == kSettleLists) {
    SelectLists();
    return 0;
  }
  if (msg == win32::CaughtExceptionsMessage() && msg != 0) return win32::CaughtExceptionCount();
  if (msg == win32::HeapBytesMessage() && msg != 0) {
    return static_cast<LRESULT>(std::min<std::uint64_t>(win32::HeapBytesInUse(), LONG_MAX));
  }
  if (msg == win32::TrayIcon::TaskbarCreatedMessage() && msg != 0) {
    tray_.Restore();
    return 0;
  }
  if (msg == kTrayMessage) {
    OnTray(LOWORD(lParam));
    return 0;
  }
  switch (msg) {
    case WM_COPYDATA:
      return lParam != 0 ? OnHandedCommand(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) : 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      program_.behaviour.menuOpen = false;
      if (lParam != 0) {
        OnControl(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      } else if (HIWORD(wParam) == 0) {
        Command(id);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      StartDrag();
      return 0;
    case WM_RBUTTONDOWN:
      UpdateCheckMarks();
      return 0;
    case WM_RBUTTONUP:
      ShowMenu();
      return 0;
    case WM_SETCURSOR:
      if (HIWORD(lParam) == WM_MOUSEMOVE) Touched();
      break;
    case WM_NCMOUSEMOVE:
      Touched();
      break;
    case WM_TIMER:
      if (wParam == kFadeTimerId) {
        FadeStep();
      } else if (wParam == kTodayTimerId) {
        CheckToday();
      } else {
        OnClockTimer(wParam);
      }
      return 0;
    case WM_HOTKEY:
      OnHotKey(static_cast<int>(wParam));
      return 0;
    case WM_ENTERSIZEMOVE:
      OnMoveStarted();
      HoldFade(true);
      break;
    case WM_EXITSIZEMOVE:
      HoldFade(false);
      break;
    case WM_WINDOWPOSCHANGING:
      KeepOnScreen(*reinterpret_cast<WINDOWPOS*>(lParam));
      break;
    case WM_DPICHANGED:
      dpi_ = win32::FollowDpiChange(hwnd(), wParam, lParam);
      Relayout(dpi_);
      return 0;
    case WM_TIMECHANGE:
      CheckToday();
      break;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) CheckToday();
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd(), focus)) lastFocus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      if (lastFocus_ != nullptr && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
      } else if (HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE)) {
        SetFocus(first);
      }
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows ends without a close: save as a close would.
      if (wParam) Close();
      return 0;
    case WM_CLOSE:
      Close();
      DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      menu_.reset();
      return 0;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace tovani
