// The condition lists of the search window's page 2, without any Win32: the
// twelve conditions, the items of each one's drop-down list, and the day
// conditions made of the lists' selections.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tovani::search {

// Page 2: the twelve conditions; 0 or an empty text means "any".
enum Condition {
  kGregorianMonth, kGregorianDay, kLunarMonth, kLunarDay, kHijriMonth, kHijriDay,
  kCycleYear, kCycleMonth, kCycleDay, kWeekday, kSolarTerm, kFestival, kConditionCount
};
struct DayConditions {
  std::array<int, 9> values{};  // by Condition up to kCycleDay; 0 = any
  std::string weekday, solarTerm, festival;
  bool Any() const;
};
// The label and the items (after the empty "any" item) of each list.
const char* ConditionLabel(Condition c);
std::vector<std::string> ConditionItems(Condition c);
// The conditions of the lists' selections (index 0 being the empty item).
DayConditions ConditionsFromSelections(const std::array<int, kConditionCount>& selections);

}  // namespace tovani::search
