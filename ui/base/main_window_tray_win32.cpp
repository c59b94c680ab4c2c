// A main window's reach from outside: the tray icon with its tip and
// balloon, and the global hot keys.
#include "ui/base/main_window_win32.h"

#include "app/settings.h"

namespace tovani {

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
      const std::vector<HWND> open = program_.openTools;
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

}  // namespace tovani
