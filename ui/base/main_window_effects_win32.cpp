// A main window carries out what a command did to the state: the effects the
// menu's dispatcher returns, the tool windows, the clock's timers, a file
// command handed over by a second copy, and the offer of registry use.
#include "ui/base/main_window_win32.h"

#include "app/holidays.h"
#include "app/settings.h"
#include "app/startup.h"
#include "framework/win32/menu.h"
#include "framework/win32/dialogs.h"
#include "ui/base/file_commands_win32.h"
#include "sound/win32/audio_player_win32.h"
#include "sound/win32/clock_sounds_win32.h"

namespace tovani {
namespace {

sound::Alarms AlarmsOfState(const AppState& s) { return sound::AlarmsOf(s.Alarms); }

sound::HourlyRule HourlyRuleOf(const AppState& s) {
  const QuietTime quiet = ReadQuietTime(s.HourlyQuietTime).value_or(QuietTime{});
  return {quiet.from, quiet.to, s.HourlyWorkdaysOnlyFlag};
}

}  // namespace

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
    menu_.reset(win32::BuildPopupMenu(menu::ContextMenu()));  // the old one's brushes go with it
    ShowTextsAgain();
    if (program_.modeless != nullptr) SendMessageW(program_.modeless, win32::kShowTextsAgain, 0, 0);
  }
  ApplyEffects(e);
  if (e.closeWindow || !exists()) return;
  OfferRegistryUse(before);
  if (e.refresh != menu::Refresh::kNone) ShowTrayTip();  // records or options changed
}

void MainWindow::ApplyEffects(const menu::Effects& e) {
  for (menu::Placement p : e.placement) ApplyPlacement(p);
  if (e.transparencyAmount) win32::SetWindowAlpha(hwnd(), menu::AlphaOf(*e.transparencyAmount));
  if (e.fadeTimer) {
    if (*e.fadeTimer) {
      SetTimer(hwnd(), kFadeTimerId, kFadeStepMs, nullptr);
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

void MainWindow::OpenTool(int command, const menu::Effects& e) {
  const auto it = program_.tools.find(command);
  if (it == program_.tools.end() || !it->second) return;
  it->second(hwnd());  // modal, except the weather window
  if (exists() && command == menu::kWeather) KeepModelessAbove();
  if (exists() && e.refresh == menu::Refresh::kTexts) RefreshTexts();
  if (exists() && command == menu::kEditAlarms) sound::RestartAlarmTimer(hwnd(), AlarmsOfState(program_.state));
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

void MainWindow::OfferRegistryUse(const AppState& before) {
  AppState& s = program_.state;
  if (!menu::OffersRegistryUse(before, s, program_.keepQuestionAsked)) return;
  program_.keepQuestionAsked = true;
  if (!win32::Ask(hwnd(), menu::kKeepQuestion, menu::kMessageCaption, true) || !exists()) return;
  if (!s.RegistryUseFlag) ToggleRegistryUse(s, program_.registry);
  RefreshTexts();  // the records show from now on
}

void MainWindow::StartClockTimers() {
  sound::StartClockTimers(hwnd(), program_.state.WholeAutoReportTimeFlag, AlarmsOfState(program_.state));
}

void MainWindow::OnClockTimer(UINT_PTR id) {
  const bool workingDay = IsOfficialWorkingDay(program_.holidays, program_.platform.Today());
  sound::OnClockTimer(id, AlarmsOfState(program_.state), HourlyRuleOf(program_.state), workingDay);
}

}  // namespace tovani
