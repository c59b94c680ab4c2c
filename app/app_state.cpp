#include "app/app_state.h"

namespace tovani {

CalendarRange AppState::Range() const {
  CalendarRange r;
  r.rules = Rules();
  r.firstYear = LowestYear;
  r.lastYear = HighestYear;
  r.firstDay = FirstDayNumber;
  r.lastDay = DateToDayNumber(HighestYear, 12, 31);
  r.lunarFirst = LunarFirst;
  r.lunarLast = LunarLast;
  r.hijriFirst = HijriFirst;
  r.hijriLast = HijriLast;
  return r;
}

std::string AppState::ProgramPath() const {
  const bool separated = !ProgramFolder.empty() && ProgramFolder.back() == '\\';
  return ProgramFolder + (separated ? "" : "\\") + ProgramFileName;
}

}  // namespace tovani
