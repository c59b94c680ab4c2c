#include "app/startup.h"

#include "app/settings.h"
#include "engine/date_text.h"
#include "engine/hijri.h"
#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"

namespace tovani {
void ReloadSettings(AppState& s, RegistryStore& registry, Platform& platform) {
  const AppState kept = s;
  LoadSettings(s, registry, platform);
  s.CalendarKind = kept.CalendarKind;
  s.FormLeft = kept.FormLeft;
  s.FormTop = kept.FormTop;
  s.FORMTransFlag = kept.FORMTransFlag;
  s.LayerMode = kept.LayerMode;
  s.PositionLock = kept.PositionLock;
  RecomputeLunarBounds(s);  // the calendar rules may have changed
}

namespace {

std::optional<CivilDate> LunarOf(std::int32_t y, std::int32_t m, std::int32_t d, CalendarRules rules) {
  const auto lunar = LunarDateOf(y, m, d, rules);
  if (!lunar) return std::nullopt;
  return CivilDate{lunar->year, lunar->code(), lunar->day};
}

}  // namespace

void SetProgramLocation(AppState& s, const std::string& modulePath) {
  const auto cut = modulePath.find_last_of(":/\\");
  if (cut == std::string::npos) {
    s.ProgramFolder.clear();
    s.ProgramFileName = modulePath;
  } else {
    s.ProgramFolder = modulePath.substr(0, cut + 1);
    s.ProgramFileName = modulePath.substr(cut + 1);
  }
}

void SetDisplayedDate(AppState& s, const CivilDate& g) {
  s.CurrentYear = g.year;
  s.CurrentMonth = g.month;
  s.CurrentDay = g.day;
  if (const auto l = LunarOf(g.year, g.month, g.day, s.Rules())) {
    s.CurrentLunarYear = l->year;
    s.CurrentLunarMonth = l->month;
    s.CurrentLunarDay = l->day;
  }
  if (const auto h = HijriDateOf(g.year, g.month, g.day)) {
    s.CurrentHijriYear = h->year;
    s.CurrentHijriMonth = h->month;
    s.CurrentHijriDay = h->day;
  }
}

void RecomputeLunarBounds(AppState& s) {
  const CalendarRules rules = s.Rules();
  if (const auto l = LunarOf(s.LowestYear, 1, 1, rules)) s.LunarFirst = *l;
  if (const auto l = LunarOf(s.HighestYear, 12, 31, rules)) s.LunarLast = *l;
  if (const auto l = LunarOf(s.RecordLowestYear, 1, 1, rules)) s.RecordLunarFirstYear = l->year;
  if (const auto l = LunarOf(s.RecordHighestYear, 12, 31, rules)) s.RecordLunarLastYear = l->year;
  SetDisplayedDate(s, {s.CurrentYear, s.CurrentMonth, s.CurrentDay});
}

void StartUp(AppState& s, RegistryStore& registry, Platform& platform) {
  // Settings, the choice of window among them.
  LoadSettings(s, registry, platform);

  // Ranges and fixed state.
  s.LowestYear = -103;
  s.HighestYear = 4103;
  s.RecordLowestYear = 1800;
  s.RecordHighestYear = 2200;
  s.ToolHighestYear = 5000;
  s.FORMTransFlag = Transparency::kOpaque;
  s.LayerMode = Layer::kTopmost;
  s.PositionLock = MoveLock::kMovable;
  const auto lastSeparator = s.DFORMBackBitmapName.rfind('\\');
  s.BitmapDialogFolder = s.DFORMBackBitmapName.empty() || lastSeparator == std::string::npos
                             ? s.ProgramFolder
                             : s.DFORMBackBitmapName.substr(0, lastSeparator + 1);
  s.AudioDialogFolder = s.ProgramFolder;

  // Today and the bounds of the range.  A computer date outside the calendar's
  // years shows the nearest end of the range.
  CivilDate today = platform.Today();
  if (!IsValidDate(today.year, today.month, today.day) || today.year < s.LowestYear) {
    today = {s.LowestYear, 1, 1};
  } else if (today.year > s.HighestYear) {
    today = {s.HighestYear, 12, 31};
  }
  s.FirstDayNumber = DateToDayNumber(s.LowestYear, 1, 1);
  s.ToolLastDayNumber = DateToDayNumber(s.ToolHighestYear, 12, 31);
  if (const auto h = HijriDateOf(s.LowestYear, 1, 1)) s.HijriFirst = *h;
  if (const auto h = HijriDateOf(s.HighestYear, 12, 31)) s.HijriLast = *h;
  if (const auto h = HijriDateOf(s.RecordLowestYear, 1, 1)) s.RecordHijriFirstYear = h->year;
  if (const auto h = HijriDateOf(s.RecordHighestYear, 12, 31)) s.RecordHijriLastYear = h->year;
  s.CurrentYear = today.year;
  s.CurrentMonth = today.month;
  s.CurrentDay = today.day;
  RecomputeLunarBounds(s);
}

namespace {

void PrepareSwitch(AppState& s, WindowKind kind) {
  s.CalendarKind = kind;
  s.LayerMode = Layer::kTopmost;
  s.PositionLock = MoveLock::kMovable;
  s.ReopenFlag = true;
}

}  // namespace

bool SwitchToDayWindow(AppState& s) {
  if (s.CalendarKind != WindowKind::kMonth) return false;
  PrepareSwitch(s, WindowKind::kDay);
  SetDisplayedDate(s, {s.CurrentYear, s.CurrentMonth, s.CurrentDay});
  return true;
}

bool SwitchToMonthWindow(AppState& s) {
  if (s.CalendarKind != WindowKind::kDay) return false;
  PrepareSwitch(s, WindowKind::kMonth);
  return true;
}

bool ShutDown(AppState& s, RegistryStore& registry, int left, int top) {
  s.FormLeft = left;
  s.FormTop = top;
  return s.ReopenFlag || SaveSettings(s, registry);
}

}  // namespace tovani
