#include "ui/common/list_texts.h"

#include <cstdio>

#include "engine/date_text.h"
#include "engine/dates.h"
#include "engine/era_names.h"
#include "engine/hijri.h"

namespace tovani {

std::string GregorianYearItem(std::int32_t year) { return YearNumberText(year) + "年"; }

std::string LunarYearItem(std::int32_t year, bool showDynasty) {
  return (showDynasty ? EraYearText(year) : YearNumeralText(year)) + "年";
}

std::string HijriYearItem(std::int32_t year) { return HijriYearText(year) + "年"; }

std::string MonthItem(int month) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%4d", month);
  return std::string(buf) + "月";
}

std::string DayItem(int day) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%2d", day);
  return std::string(buf) + "日";
}

std::string LunarMonthItem(int monthCode) {
  if (monthCode < 1 || monthCode > 24) return {};
  return (monthCode > 12 ? "闰" : "  ") + LunarMonthBaseName((monthCode - 1) % 12 + 1);
}

int LastDayOfMonth(std::int32_t year, std::int32_t month) {
  if (year == 1582 && month == 10) return 31;
  return DaysInMonth(year, month);
}

}  // namespace tovani
