// What a main window shows of a day: the displayed date as the state keeps
// it, the day's records and holiday arrangement, its music, and today.
#include "ui/base/main_window_win32.h"

#include "app/holidays.h"
#include "sound/win32/audio_player_win32.h"

namespace tovani {

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

void MainWindow::CheckToday() {
  const CivilDate now = program_.platform.Today();
  if (now == today_) return;
  const bool showingToday = Displayed().gregorian == today_;
  today_ = now;
  if (showingToday) GoTo(now);
  ShowTrayTip();
}

}  // namespace tovani
