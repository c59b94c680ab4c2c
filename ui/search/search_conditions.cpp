// The condition lists of page 2: each list's label and items, and the
// conversion of the lists' selections into the conditions of a day search.
#include "ui/search/search_conditions.h"

#include "engine/date_text.h"
#include "engine/festivals.h"
#include "engine/sexagenary.h"
#include "engine/solar_terms.h"

namespace tovani::search {
namespace {

constexpr const char* kConditionLabels[kConditionCount] = {"公历月", "公历日", "农历月", "农历日", "回历月", "回历日",
                                                           "干支年", "干支月", "干支日", "星期",   "节气",   "节日"};
constexpr const char* kWeekdays[7] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};

}  // namespace

bool DayConditions::Any() const {
  for (int v : values) {
    if (v != 0) return true;
  }
  return !weekday.empty() || !solarTerm.empty() || !festival.empty();
}

const char* ConditionLabel(Condition c) { return c >= 0 && c < kConditionCount ? kConditionLabels[c] : ""; }

std::vector<std::string> ConditionItems(Condition c) {
  std::vector<std::string> items;
  const auto numbers = [&](int last, const char* unit) {
    for (int i = 1; i <= last; ++i) items.push_back(std::to_string(i) + unit);
  };
  switch (c) {
    case kGregorianMonth: numbers(12, "月"); break;
    case kGregorianDay: numbers(31, "日"); break;
    case kHijriMonth: numbers(12, "月"); break;
    case kHijriDay: numbers(30, "日"); break;
    case kLunarMonth:
      for (int m = 1; m <= 12; ++m) items.push_back(LunarMonthBaseName(m));
      for (int m = 1; m <= 12; ++m) items.push_back("闰" + LunarMonthBaseName(m));
      break;
    case kLunarDay:
      for (int d = 1; d <= 30; ++d) items.push_back(LunarDayName(d));
      break;
    case kCycleYear:
    case kCycleMonth:
    case kCycleDay: {
      const char* unit = c == kCycleYear ? "年" : c == kCycleMonth ? "月" : "日";
      for (int i = 1; i <= 60; ++i) items.push_back(CycleName(i) + unit);
      break;
    }
    case kWeekday: items.assign(std::begin(kWeekdays), std::end(kWeekdays)); break;
    case kSolarTerm:
      for (int k = 1; k <= 24; ++k) items.push_back(SolarTermName(k));
      break;
    case kFestival: items.assign(RuleFestivalNames().begin(), RuleFestivalNames().end()); break;
    default: break;
  }
  return items;
}

DayConditions ConditionsFromSelections(const std::array<int, kConditionCount>& selections) {
  DayConditions c;
  for (int i = 0; i <= kCycleDay; ++i) {
    const int s = selections[i];
    c.values[i] = s > 0 && s <= static_cast<int>(ConditionItems(static_cast<Condition>(i)).size()) ? s : 0;
  }
  const auto text = [&](Condition which) -> std::string {
    const int s = selections[which];
    const auto items = ConditionItems(which);
    return s >= 1 && s <= static_cast<int>(items.size()) ? items[s - 1] : std::string();
  };
  c.weekday = text(kWeekday);
  c.solarTerm = text(kSolarTerm);
  c.festival = text(kFestival);
  return c;
}

}  // namespace tovani::search
