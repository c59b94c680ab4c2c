#include "ui/base/main_window_win32.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "app/holidays.h"
#include "app/settings.h"
#include "app/startup.h"
#include "framework/win32/appearance.h"
#include "framework/win32/heaps.h"
#include "framework/win32/menu.h"
#include "ui/base/file_commands_win32.h"
#include "sound/speaking_clock.h"
#include "sound/win32/audio_player_win32.h"
#include "sound/win32/clock_sounds_win32.h"

namespace tovani {
namespace {

constexpr UINT kTodayCheckMs = 15000;
constexpr UINT kSettleLists = WM_APP + 1;

sound::Alarms AlarmsOfState(const AppState& s) { return sound::AlarmsOf(s.Alarms); }

sound::HourlyRule HourlyRuleOf(const AppState& s) {
  const QuietTime quiet = ReadQuietTime(s.HourlyQuietTime).value_or(QuietTime{});
  return {quiet.from, quiet.to, s.HourlyWorkdaysOnlyFlag};
}

}  // namespace

std::optional<DayInCalendars> TodayIn(Platform& platform, CalendarRules rules) {
  return FromGregorian(platform.Today(), rules);
}

DayInCalendars MainWindow::Displayed() const {
  const AppState& s = program_.state;
  return {{s.CurrentYear, s.CurrentMonth, s.CurrentDay},
          {s.CurrentLunarYear, s.CurrentLunarMonth, s.CurrentLunarDay},
          {s.CurrentHijriYear, s.CurrentHijriMonth, s.CurrentHijriDay}};
}

void MainWindow::StoreDisplayed(const DayInCalendars& d) {
  AppState& s = program_.state;
  s.CurrentYear = d.gregorian.year;
  s.CurrentMonth = d.gregorian.month;
  s.CurrentDay = d.gregorian.day;
  s.CurrentLunarYear = d.lunar.year;
  s.CurrentLunarMonth = d.lunar.month;
  s.CurrentLunarDay = d.lunar.day;
  s.CurrentHijriYear = d.hijri.year;
  s.CurrentHijriMonth = d.hijri.month;
  s.CurrentHijriDay = d.hijri.day;
}

DayRecords MainWindow::RecordsOf(const DayInCalendars& date) {
  if (!program_.state.RegistryUseFlag) return {};
  return FindDayRecords(MakeRecordContext(program_.state, program_.registry, program_.platform), date);
}

std::vector<RecordAhead> MainWindow::RecordsAhead() {
  if (!program_.state.RegistryUseFlag) return {};
  return FindRecordsAhead(MakeRecordContext(program_.state, program_.registry, program_.platform),
                          program_.platform.Today());
}

HolidayNote MainWindow::HolidayNoteOf(const CivilDate& day) {
  return tovani::HolidayNoteOf(program_.holidays, day, program_.platform.Today().year);
}

void MainWindow::PlayDayMusic(const std::string& audio, HWND sink) {
  const AppState& s = program_.state;
  const DayNumber day = DateToDayNumber(CivilDate{s.CurrentYear, s.CurrentMonth, s.CurrentDay});
  sound::ProgramBackgroundMusic().ShowDay(day, audio, s.CloseFORMAudioPlayFlag, sound::MciParent(sink));
}

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
  sound::StartClockTimers(hwnd(), s.WholeAutoReportTimeFlag, AlarmsOfState(s));
  SetTimer(hwnd(), kTodayTimerId, kTodayCheckMs, nullptr);
  today_ = program_.platform.Today();
  s.ReopenFlag = false;
  menu_ = win32::BuildPopupMenu(menu::ContextMenu());
  DressMenu(menu_);
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

void MainWindow::RegisterHotKeys() {
  // A key another program holds is not ours; the user hears of it once a run.
  struct Key {
    int id;
    char letter;
  };
  std::string taken;
  for (const Key k : {Key{kHotKeyShow, 'R'}, Key{kHotKeyWeather, 'W'}, Key{kHotKeySpeak, 'V'}, Key{kHotKeyClose, 'X'}}) {
    if (!hotKeys_.Register(hwnd(), k.id, MOD_CONTROL | MOD_ALT, static_cast<UINT>(k.letter))) taken += k.letter;
  }
  // One balloon holds both notices of the start.
  std::string notice;
  if (!taken.empty() && !program_.hotKeyNoticeGiven) {
    program_.hotKeyNoticeGiven = true;
    notice = menu::HotKeysTakenText(taken);
  }
  if (!program_.ignoredNoticeGiven) {
    program_.ignoredNoticeGiven = true;
    const std::string ignored = IgnoredWhileRegistryOff(program_.state, program_.registry);
    if (!ignored.empty()) notice += (notice.empty() ? "" : "\n") + ignored;
  }
  if (!notice.empty()) tray_.Notify(menu::kMessageCaption, notice);
}

std::string MainWindow::TipOfToday(std::vector<std::string>* kept) {
  const auto today = TodayIn(program_.platform, program_.state.Rules());
  const std::string tip = today ? TrayTipText(*today) : std::string();
  if (tip.empty()) return GetFrame().caption;
  const std::vector<RecordAhead> ahead = RecordsAhead();
  if (kept != nullptr) *kept = UserTextsOf({}, ahead);
  return TrayTipWith(tip, HolidayNoteOf(today->gregorian), ahead);
}

void MainWindow::ShowTrayTip() {
  std::vector<std::string> kept;
  const std::string tip = TipOfToday(&kept);
  tray_.SetTip(tip, kept);
}

void MainWindow::FollowAppearance() {
  FollowSystemAppearance();
  DressMenu(menu_);
  DressWindow(hwnd());
  OnPaletteChanged();
  win32::RepaintAll(hwnd());
}

void MainWindow::OnTray(UINT mouseMessage) {
  if (!IsWindowEnabled(hwnd())) return;
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
      ShowAgain();
      break;
    case WM_RBUTTONDOWN:
      UpdateCheckMarks();
      break;
    case WM_RBUTTONUP:
      SetForegroundWindow(hwnd());
      ShowMenu();
      break;
    default:
      break;
  }
}

void MainWindow::ShowAgain() {
  ShowWindow(hwnd(), IsIconic(hwnd()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd());
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

void MainWindow::OfferRegistryUse(const AppState& before) {
  AppState& s = program_.state;
  if (!menu::OffersRegistryUse(before, s, program_.keepQuestionAsked)) return;
  program_.keepQuestionAsked = true;
  if (!win32::Ask(hwnd(), menu::kKeepQuestion, menu::kMessageCaption, true) || !exists()) return;
  if (!s.RegistryUseFlag) ToggleRegistryUse(s, program_.registry);
  RefreshTexts();  // the records show from now on
}

void MainWindow::ApplyTransparencyAtStart() {
  const Transparency level = program_.state.FORMTransFlag;
  if (level == Transparency::kAutomatic) {
    program_.behaviour.fadeCount = 0;
    win32::SetWindowAlpha(hwnd(), menu::AlphaOf(0));
    SetTimer(hwnd(), kFadeTimerId, 200, nullptr);
  } else if (level != Transparency::kOpaque) {
    win32::SetWindowAlpha(hwnd(), menu::AlphaOf(menu::AmountOfLevel(level)));
  }
}

void MainWindow::UpdateCheckMarks() {
  const bool monthWindow = GetFrame().monthWindow;
  win32::SetItemStates(
      menu_, [this](int id) { return menu::IsChecked(id, program_.state); },
      [monthWindow](int id) { return menu::IsEnabled(id, monthWindow); });
}

void MainWindow::ShowMenu() {
  if (!IsWindowEnabled(hwnd())) return;
  UpdateCheckMarks();
  program_.behaviour.menuOpen = true;
  win32::ShowPopupMenu(menu_, hwnd());
  // The menu has closed: with a command (posted, still to come) or without
  // one (Esc, a click elsewhere).  Either way it no longer holds the fade.
  program_.behaviour.menuOpen = false;
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

void MainWindow::Hide() {
  OnMoveStarted();  // the balloon goes with the window
  ShowWindow(hwnd(), SW_HIDE);
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

void MainWindow::Command(int id) {
  AppState& s = program_.state;
  if (menu::AsksFirst(id, s) && !win32::Ask(hwnd(), menu::kRegistryOffQuestion, menu::kMessageCaption, false)) return;
  if (!exists()) return;
  const AppState before = s;
  const menu::Effects e = menu::Dispatch(id, s, program_.behaviour, program_.registry, GetFrame().monthWindow);
  if (s.TraditionalCharsFlag != before.TraditionalCharsFlag) {
    // Every text in the other characters at once: the menu, this window (the
    // rest at the refresh below) and the weather window when it is open.
    win32::ShowTraditional(s.TraditionalCharsFlag);
    SetWindowTextW(hwnd(), win32::Shown(GetFrame().caption).c_str());
    win32::SetMenuColours(menu_, nullptr);  // its brushes go with it
    if (menu_ != nullptr) DestroyMenu(menu_);
    menu_ = win32::BuildPopupMenu(menu::ContextMenu());
    ShowTextsAgain();
    if (program_.modeless != nullptr) SendMessageW(program_.modeless, win32::kShowTextsAgain, 0, 0);
  }
  ApplyEffects(e);
  if (e.closeWindow || !exists()) return;
  OfferRegistryUse(before);
  if (e.refresh != menu::Refresh::kNone) ShowTrayTip();  // records or options changed
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

void MainWindow::ApplyEffects(const menu::Effects& e) {
  for (menu::Placement p : e.placement) ApplyPlacement(p);
  if (e.transparencyAmount) win32::SetWindowAlpha(hwnd(), menu::AlphaOf(*e.transparencyAmount));
  if (e.fadeTimer) {
    if (*e.fadeTimer) {
      SetTimer(hwnd(), kFadeTimerId, 200, nullptr);
    } else {
      KillTimer(hwnd(), kFadeTimerId);
    }
  }
  if (e.hourlyTimer) sound::SetHourlyAnnouncement(hwnd(), *e.hourlyTimer);
  if (e.stopBackgroundMusic) sound::ProgramBackgroundMusic().StopBackgroundMusic();
  if (e.speakTime) sound::ProgramClockSounds().SpeakTimeNow();
  if (e.choosePicture) ChoosePicture();
  if (e.goToday) GoTo(program_.platform.Today());
  if (e.file != FileAction::kNone) {
    const bool imported = FileCommandFromMenu(hwnd(), program_, e.file);
    if (!exists()) return;
    if (imported) ReloadAfterImport();
  }
  if (e.openTool != 0) {
    OpenTool(e.openTool, e);
    if (!exists()) return;
  } else {
    switch (e.refresh) {
      case menu::Refresh::kTexts: RefreshTexts(); break;
      case menu::Refresh::kLists: RefreshLists(); break;
      case menu::Refresh::kAll: RefreshAll(); break;
      case menu::Refresh::kNone: break;
    }
  }
  if (e.closeWindow) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void MainWindow::ReloadAfterImport() {
  AppState& s = program_.state;
  ReloadSettings(s, program_.registry, program_.platform);
  program_.holidays = ReadRegistryHolidays(program_.registry).calendar;
  sound::SetHourlyAnnouncement(hwnd(), s.WholeAutoReportTimeFlag);
  sound::RestartAlarmTimer(hwnd(), AlarmsOfState(s));
  RefreshAll();
}

LRESULT MainWindow::OnHandedCommand(const COPYDATASTRUCT& data) {
  const HandedCommand c = ReadHandedCommand(data);
  if (c.action == FileAction::kNone) return 0;
  std::string message;  // the copy that handed it over tells the user
  const int code = CarryOutFileCommand(c.action, c.path, c.years, program_.state, true, program_.registry,
                                       program_.platform, message);
  if (c.action == FileAction::kImport && code == kCommandDone) ReloadAfterImport();
  return kFileCommandAnswered + code;
}

void MainWindow::OpenTool(int command, const menu::Effects& e) {
  const auto it = program_.tools.find(command);
  if (it == program_.tools.end() || !it->second) return;
  it->second(hwnd());  // modal, except the weather window
  if (exists() && command == menu::kWeather) KeepModelessAbove();
  if (exists() && e.refresh == menu::Refresh::kTexts) RefreshTexts();
  if (exists() && command == menu::kEditAlarms) sound::RestartAlarmTimer(hwnd(), AlarmsOfState(program_.state));
}

void MainWindow::OnHotKey(int id) {
  switch (id) {
    case kHotKeyShow:
      ShowAgain();
      break;
    case kHotKeyWeather:
      Command(menu::kWeather);
      break;
    case kHotKeySpeak:
      sound::ProgramClockSounds().SpeakTimeNow();
      break;
    case kHotKeyClose: {
      // The tool windows first, the weather window among them; the program
      // when none is open.
      std::vector<HWND> open = program_.openTools;
      if (program_.modeless != nullptr && IsWindow(program_.modeless)) open.push_back(program_.modeless);
      if (open.empty()) {
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
      } else {
        for (HWND tool : open) PostMessageW(tool, WM_CLOSE, 0, 0);
      }
      break;
    }
    default:
      break;
  }
}

void MainWindow::CheckToday() {
  const CivilDate now = program_.platform.Today();
  if (now == today_) return;
  const bool showingToday = Displayed().gregorian == today_;
  today_ = now;
  if (showingToday) GoTo(now);
  ShowTrayTip();
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
    saved = false;  // told below, like a refused write; the window still closes
  }
  if (!saved) win32::Tell(hwnd(), menu::kSettingsNotSaved, menu::kMessageCaption);
}

LRESULT MainWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (const auto own = OnOwnMessage(msg, wParam, lParam)) return *own;
  if (const auto drawn = win32::OnMenuMessage(msg, wParam, lParam)) return *drawn;
  if (win32::IsColourSetChange(msg, lParam)) FollowAppearance();
  if (msg == kSettleLists) {
    SelectLists();
    return 0;
  }
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
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH b = colours_.Apply(msg, reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        return reinterpret_cast<LRESULT>(b);
      }
      break;
    case WM_ERASEBKGND:
      EraseWith(hwnd(), reinterpret_cast<HDC>(wParam), ColourRole::kStamp);
      return 1;
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
        POINT p{};
        GetCursorPos(&p);
        HWND under = WindowFromPoint(p);
        const bool over = under == hwnd() || GetParent(under) == hwnd();
        if (const auto amount = menu::FadeTick(program_.behaviour, over)) {
          win32::SetWindowAlpha(hwnd(), menu::AlphaOf(*amount));
        }
      } else if (wParam == kTodayTimerId) {
        CheckToday();
      } else {
        const bool workingDay = IsOfficialWorkingDay(program_.holidays, program_.platform.Today());
        sound::OnClockTimer(wParam, AlarmsOfState(program_.state), HourlyRuleOf(program_.state), workingDay);
      }
      return 0;
    case WM_HOTKEY:
      OnHotKey(static_cast<int>(wParam));
      return 0;
    case WM_ENTERSIZEMOVE:
      moving_ = true;
      OnMoveStarted();
      if (program_.state.FORMTransFlag == Transparency::kAutomatic) KillTimer(hwnd(), kFadeTimerId);
      break;
    case WM_EXITSIZEMOVE:
      moving_ = false;
      if (program_.state.FORMTransFlag == Transparency::kAutomatic) {
        program_.behaviour.fadeCount = 0;
        SetTimer(hwnd(), kFadeTimerId, 200, nullptr);
      }
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
      win32::SetMenuColours(menu_, nullptr);
      if (menu_ != nullptr) DestroyMenu(menu_);
      menu_ = nullptr;
      return 0;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace tovani
