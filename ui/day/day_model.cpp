#include "ui/day/day_model.h"

#include <algorithm>

#include "engine/date_text.h"
#include "engine/festivals.h"
#include "engine/hijri.h"
#include "engine/lunar_calendar.h"
#include "engine/sexagenary.h"
#include "engine/sun_times.h"
#include "ui/common/list_texts.h"

namespace tovani::day {
namespace {

constexpr const char* kListNames[kListCount] = {"公历年", "公历月", "公历日", "农历年", "农历月",
                                                 "农历日", "回历年", "回历月", "回历日"};

bool SameMonth(const CalendarTriple& a, const CalendarTriple& b) { return a.year == b.year && a.month == b.month; }

// The lunar months of a year in calendar order, as month codes.
std::vector<int> LunarMonths(std::int32_t year, CalendarRules rules) {
  std::vector<int> codes;
  for (int p = 1; p <= 13; ++p) {
    const int code = OrdinalToMonthCode(year, p, rules);
    if (code == 0) break;
    codes.push_back(code);
  }
  return codes;
}

// The days first..last of a month as list values and texts.
template <typename Text>
ListContent DayList(int first, int last, Text text) {
  ListContent c;
  for (int d = first; d <= last; ++d) {
    c.values.push_back(d);
    c.items.push_back(text(d));
  }
  return c;
}

}  // namespace

const char* ListName(ListId list) { return list >= 0 && list < kListCount ? kListNames[list] : ""; }

DayModel::DayModel(const CalendarRange& range, const DayInCalendars& date, bool showDynasty)
    : range_(range), date_(date), showDynasty_(showDynasty) {
  Rebuild(true);
}

int DayModel::Selected(ListId list) const {
  const CalendarTriple* t = list <= kGregorianDay ? &date_.gregorian : list <= kLunarDay ? &date_.lunar : &date_.hijri;
  const int value = list % 3 == 0 ? t->year : list % 3 == 1 ? t->month : t->day;
  const auto& values = lists_[list].values;
  const auto it = std::find(values.begin(), values.end(), value);
  return it == values.end() ? -1 : static_cast<int>(it - values.begin());
}

void DayModel::Replace(ListId list, ListContent content) {
  ListContent& old = lists_[list];
  if (old.items == content.items && old.values == content.values) return;
  content.version = old.version + 1;
  old = std::move(content);
}

void DayModel::Rebuild(bool yearLists) {
  const CalendarTriple& g = date_.gregorian;
  const CalendarTriple& l = date_.lunar;
  const CalendarTriple& h = date_.hijri;
  if (yearLists) {
    ListContent years, lunarYears, hijriYears;
    for (std::int32_t y = range_.firstYear; y <= range_.lastYear; ++y) {
      years.values.push_back(y);
      years.items.push_back(GregorianYearItem(y));
    }
    for (std::int32_t y = range_.lunarFirst.year; y <= range_.lunarLast.year; ++y) {
      lunarYears.values.push_back(y);
      lunarYears.items.push_back(LunarYearItem(y, showDynasty_));
    }
    for (std::int32_t y = range_.hijriFirst.year; y <= range_.hijriLast.year; ++y) {
      hijriYears.values.push_back(y);
      hijriYears.items.push_back(HijriYearItem(y));
    }
    Replace(kGregorianYear, std::move(years));
    Replace(kLunarYear, std::move(lunarYears));
    Replace(kHijriYear, std::move(hijriYears));
    Replace(kGregorianMonth, DayList(1, 12, MonthItem));
  }

  // Gregorian days; October 1582 lacks the 5th to the 14th.
  ListContent gDays;
  for (int d = 1; d <= LastDayOfMonth(g.year, g.month); ++d) {
    if (g.year == 1582 && g.month == 10 && d >= 5 && d <= 14) continue;
    gDays.values.push_back(d);
    gDays.items.push_back(DayItem(d));
  }
  Replace(kGregorianDay, std::move(gDays));

  // Lunar months of the year, cut to the range in its first and last year.
  ListContent lMonths;
  const std::vector<int> codes = LunarMonths(l.year, range_.rules);
  const int firstPos = l.year == range_.lunarFirst.year ? MonthCodeToOrdinal(l.year, range_.lunarFirst.month, range_.rules) : 1;
  const int lastPos = l.year == range_.lunarLast.year ? MonthCodeToOrdinal(l.year, range_.lunarLast.month, range_.rules)
                                                      : static_cast<int>(codes.size());
  for (int p = firstPos; p <= lastPos; ++p) {
    lMonths.values.push_back(codes[p - 1]);
    lMonths.items.push_back(LunarMonthItem(codes[p - 1]));
  }
  Replace(kLunarMonth, std::move(lMonths));
  const int lFirstDay = SameMonth(l, range_.lunarFirst) ? range_.lunarFirst.day : 1;
  const int lLastDay = SameMonth(l, range_.lunarLast) ? range_.lunarLast.day : LunarMonthLength(l.year, l.month, range_.rules);
  Replace(kLunarDay, DayList(lFirstDay, lLastDay, LunarDayName));

  // Hijri months and days, cut to the range likewise.
  const int hFirstMonth = h.year == range_.hijriFirst.year ? range_.hijriFirst.month : 1;
  const int hLastMonth = h.year == range_.hijriLast.year ? range_.hijriLast.month : 12;
  Replace(kHijriMonth, DayList(hFirstMonth, hLastMonth, MonthItem));
  const int hFirstDay = SameMonth(h, range_.hijriFirst) ? range_.hijriFirst.day : 1;
  const int hLastDay = SameMonth(h, range_.hijriLast) ? range_.hijriLast.day : HijriMonthLength(h.year, h.month);
  Replace(kHijriDay, DayList(hFirstDay, hLastDay, DayItem));
}

void DayModel::SetDate(const DayInCalendars& date) {
  date_ = date;
  Rebuild(false);
}

void DayModel::ChooseGregorian(CalendarTriple g) {
  if (g.year == 1582 && g.month == 10 && g.day >= 5 && g.day <= 14) {
    g.day = 4;
  } else {
    g.day = std::min(g.day, LastDayOfMonth(g.year, g.month));
  }
  if (const auto d = FromGregorian(g, range_.rules)) SetDate(*d);
}

void DayModel::ChooseLunar(CalendarTriple l) {
  // A leap month the new year lacks becomes its regular month.
  if (l.month > 12 && !IsValidLunarDate(l.year, l.month, 1, range_.rules)) l.month = (l.month - 1) % 12 + 1;
  const int pos = MonthCodeToOrdinal(l.year, l.month, range_.rules);
  if (l.year == range_.lunarFirst.year && pos < MonthCodeToOrdinal(l.year, range_.lunarFirst.month, range_.rules)) {
    l.month = range_.lunarFirst.month;
  }
  if (l.year == range_.lunarLast.year && pos > MonthCodeToOrdinal(l.year, range_.lunarLast.month, range_.rules)) {
    l.month = range_.lunarLast.month;
  }
  if (SameMonth(l, range_.lunarFirst)) l.day = std::max(l.day, range_.lunarFirst.day);
  l.day = std::min(l.day, LunarMonthLength(l.year, l.month, range_.rules));
  if (SameMonth(l, range_.lunarLast)) l.day = std::min(l.day, range_.lunarLast.day);
  if (const auto d = FromLunar(l, range_.rules)) SetDate(*d);
}

void DayModel::ChooseHijri(CalendarTriple h) {
  if (h.year == range_.hijriFirst.year) h.month = std::max(h.month, range_.hijriFirst.month);
  if (h.year == range_.hijriLast.year) h.month = std::min(h.month, range_.hijriLast.month);
  if (SameMonth(h, range_.hijriFirst)) h.day = std::max(h.day, range_.hijriFirst.day);
  h.day = std::min(h.day, HijriMonthLength(h.year, h.month));
  if (SameMonth(h, range_.hijriLast)) h.day = std::min(h.day, range_.hijriLast.day);
  if (const auto d = FromHijri(h, range_.rules)) SetDate(*d);
}

void DayModel::Choose(ListId list, int index) {
  if (list < 0 || list >= kListCount) return;
  const auto& values = lists_[list].values;
  if (index < 0 || index >= static_cast<int>(values.size())) return;  // an empty selection
  const int value = values[index];
  CalendarTriple g = date_.gregorian, l = date_.lunar, h = date_.hijri;
  switch (list) {
    case kGregorianYear: g.year = value; return ChooseGregorian(g);
    case kGregorianMonth: g.month = value; return ChooseGregorian(g);
    case kGregorianDay: g.day = value; return ChooseGregorian(g);
    case kLunarYear: l.year = value; return ChooseLunar(l);
    case kLunarMonth: l.month = value; return ChooseLunar(l);
    case kLunarDay: l.day = value; return ChooseLunar(l);
    case kHijriYear: h.year = value; return ChooseHijri(h);
    case kHijriMonth: h.month = value; return ChooseHijri(h);
    case kHijriDay: h.day = value; return ChooseHijri(h);
    default: return;
  }
}

bool DayModel::Step(ListId list, int direction) {
  if (direction != -1 && direction != 1) return false;
  const int selected = Selected(list);
  const int last = static_cast<int>(lists_[list].values.size()) - 1;
  if (selected != (direction < 0 ? 0 : last)) return false;
  switch (list) {
    case kGregorianDay:
    case kLunarDay:
    case kHijriDay: {
      const DayNumber z = DateToDayNumber(date_.gregorian) + direction;
      if (z < range_.firstDay || z > range_.lastDay) return true;
      if (const auto d = FromDayNumber(z, range_.rules)) SetDate(*d);
      return true;
    }
    case kGregorianMonth: {
      // December of the year before, or January of the next; both have 31 days.
      CalendarTriple g = date_.gregorian;
      g.year += direction;
      g.month = direction < 0 ? 12 : 1;
      if (g.year < range_.firstYear || g.year > range_.lastYear) return true;
      ChooseGregorian(g);
      return true;
    }
    case kLunarMonth: {
      CalendarTriple l = date_.lunar;
      l.year += direction;
      if (l.year < range_.lunarFirst.year || l.year > range_.lunarLast.year) return true;
      l.month = direction < 0 ? LunarMonths(l.year, range_.rules).back() : 1;
      ChooseLunar(l);  // also shortens day 30 to a 29-day month
      return true;
    }
    case kHijriMonth: {
      CalendarTriple h = date_.hijri;
      h.year += direction;
      if (h.year < range_.hijriFirst.year || h.year > range_.hijriLast.year) return true;
      h.month = direction < 0 ? 12 : 1;
      ChooseHijri(h);
      return true;
    }
    default:
      return false;
  }
}

bool DayModel::GoTo(const CalendarTriple& gregorian) {
  const DayNumber z = DateToDayNumber(gregorian);
  if (z == InvalidDayNumber || z < range_.firstDay || z > range_.lastDay) return false;
  const auto d = FromGregorian(gregorian, range_.rules);
  if (!d) return false;
  SetDate(*d);
  return true;
}

void DayModel::SetShowDynasty(bool show) {
  if (show == showDynasty_) return;
  showDynasty_ = show;
  Rebuild(true);
}

void DayModel::SetRange(const CalendarRange& range) {
  range_ = range;
  if (const auto d = FromGregorian(date_.gregorian, range_.rules)) date_ = *d;
  Rebuild(true);
}

std::string DayTextLine1(const DayInCalendars& date, YearStart yearStart, CalendarRules rules) {
  const CalendarTriple& g = date.gregorian;
  return WeekdayName(g.year, g.month, g.day) + " " + ZodiacSignName(g.year, g.month, g.day) + "  " +
         SexagenaryText(g.year, g.month, g.day, yearStart, rules);
}

std::string DayTextLine2(const DayInCalendars& date, DayInfo info, double longitude, double latitude,
                         CalendarRules rules) {
  const CalendarTriple& g = date.gregorian;
  if (info != DayInfo::kFestivals) {
    const DayNumber z = DateToDayNumber(g);
    const auto at = [&](SunEventKind kind) { return SunEventTime(z, longitude, latitude, TimeZoneHours, kind); };
    if (info == DayInfo::kSunriseSunset) return "日出时刻" + at(kSunrise) + "  " + "日落时刻" + at(kSunset);
    return "天亮时刻" + at(kDawn) + "  " + "天黑时刻" + at(kDusk);
  }
  std::string festival = LunarFestivalText(date.lunar.year, date.lunar.month, date.lunar.day, rules);
  const std::string gregorian = GregorianFestivalText(g.year, g.month, g.day, FestivalList::kFull);
  if (!gregorian.empty()) festival += (festival.empty() ? "" : " ") + gregorian;
  std::string seasonal = NextSolarTermNote(g.year, g.month, g.day, rules);
  for (const std::string& period :
       {NineNinesText(g.year, g.month, g.day, rules), DogDaysText(g.year, g.month, g.day, rules), PlumRainText(g.year, g.month, g.day, rules)}) {
    if (!period.empty()) seasonal += " " + period;
  }
  return TrimBlanks(festival + " " + seasonal);
}

}  // namespace tovani::day
