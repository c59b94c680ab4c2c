#include "app/record_calendar.h"

#include <algorithm>
#include <sstream>

#include "engine/anniversaries.h"
#include "engine/date_text.h"
#include "engine/hijri.h"
#include "framework/codepage.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr int kNameBytes = 20;

// "MM-DD" of a value name.
bool ReadMonthDay(const std::string& name, int& month, int& day) {
  if (name.size() != 5 || name[2] != '-' || !AllCharsIn(name.substr(0, 2) + name.substr(3), "0123456789")) {
    return false;
  }
  month = std::stoi(name.substr(0, 2));
  day = std::stoi(name.substr(3));
  return true;
}

// The year a record is counted from ("AD2008", "BC0105").
std::int32_t RecordYear(const std::string& record) {
  const int number = std::stoi(record.substr(2, 4));
  return record.compare(0, 2, "AD") == 0 ? number : 1 - number;
}

std::string YearWords(std::int32_t year) {
  return (year >= 1 ? std::to_string(year) : "前" + std::to_string(1 - year)) + "年";
}

struct Memorial {
  MemorialKind kind;
  int month = 0, day = 0;
  std::int32_t since = 0;
  std::string name;  // code page 936
};

std::vector<Memorial> ReadMemorials(const RecordContext& c) {
  std::vector<Memorial> found;
  for (const MemorialKind kind : {MemorialKind::kSolar, MemorialKind::kLunar, MemorialKind::kHijri}) {
    const std::string key = std::string(kSettingsKey) + "\\" + MemorialKey(kind);
    std::vector<std::string> names = c.registry.ValueNames(kUser, key);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      int month = 0, day = 0;
      if (!ReadMonthDay(name, month, day)) continue;
      const std::string record = ReadMemorialRecord(c, kind, month, day);
      if (record.empty()) continue;
      found.push_back({kind, month, day, RecordYear(record), TrimBlanks(record.substr(6, kNameBytes))});
    }
  }
  return found;
}

AllDayEvent Event(DayNumber day, const char* kind, const std::string& summary, const std::string& description,
                  const char* category) {
  return {day, kind, Cp936ToUtf8(summary), Cp936ToUtf8(description), Cp936ToUtf8(category)};
}

void PlaceMemorial(const Memorial& m, std::int32_t firstYear, std::int32_t lastYear, CalendarRules rules,
                   std::vector<AllDayEvent>& events) {
  const DayNumber first = DateToDayNumber(firstYear, 1, 1), last = DateToDayNumber(lastYear, 12, 31);
  const std::string since = "（" + YearWords(m.since) + "起）";
  switch (m.kind) {
    case MemorialKind::kSolar:
      for (std::int32_t y = std::max(firstYear, m.since); y <= lastYear; ++y) {
        const bool missing = !IsValidDate(y, m.month, m.day);
        if (missing && !(m.month == 2 && m.day == 29)) continue;
        const DayNumber z = DateToDayNumber(y, m.month, missing ? 28 : m.day);
        std::string note = "公历" + std::to_string(m.month) + "月" + std::to_string(m.day) + "日" + since;
        if (missing) note += "（本年无2月29日）";
        events.push_back(Event(z, "solar-memorial", m.name, note, "纪念日"));
      }
      break;
    case MemorialKind::kLunar:
      for (const AnniversaryPlacement& p : LunarAnniversariesBetween(first, last, m.month, m.day, rules)) {
        if (p.lunarYear < m.since) continue;
        std::string note = "农历" + LunarReading(m.month, m.day) + since;
        if (p.monthCode != m.month) note += "（本年无" + LunarMonthReading(m.month) + "）";
        if (p.lunarDay != m.day) note += "（本月无三十）";
        events.push_back(Event(p.day, "lunar-memorial", m.name, note, "纪念日"));
      }
      break;
    case MemorialKind::kHijri: {
      const auto from = HijriDateOf(firstYear, 1, 1), to = HijriDateOf(lastYear, 12, 31);
      if (!from || !to) break;
      for (std::int32_t y = std::max(from->year, m.since); y <= to->year; ++y) {
        const bool missing = !IsValidHijriDate(y, m.month, m.day);
        if (missing && !(m.month == 12 && m.day == 30)) continue;
        const DayNumber z = HijriDayNumber(y, m.month, missing ? 29 : m.day);
        if (z < first || z > last) continue;
        std::string note = "回历" + std::to_string(m.month) + "月" + std::to_string(m.day) + "日" + since;
        if (missing) note += "（本年12月无30日）";
        events.push_back(Event(z, "hijri-memorial", m.name, note, "纪念日"));
      }
      break;
    }
  }
}

}  // namespace

std::vector<AllDayEvent> RecordEvents(const RecordContext& c, std::int32_t firstYear, int years) {
  std::vector<AllDayEvent> events;
  years = std::clamp(years, 1, kMostCalendarYears);
  for (const Memorial& m : ReadMemorials(c)) PlaceMemorial(m, firstYear, firstYear + years - 1, c.rules, events);
  for (int slot = 0; slot < kReminderLimit; ++slot) {
    const std::string text =
        ReadRegistryText(c.registry, kUser, std::string(kSettingsKey) + "\\SolarReminded", std::string(1, 'A' + slot));
    // Read as the windows read a reminder: a date of the record years, and a name.
    const auto date = ParseCalendarDateText(text.substr(0, 12));
    if (!date || date->year < 1800 || date->year > 2200 || !IsValidDate(date->year, date->month, date->day)) continue;
    const std::string name = text.size() > 12 ? TrimBlanks(TruncateBytes(text.substr(12), kNameBytes)) : "";
    if (name.empty()) continue;
    events.push_back(Event(DateToDayNumber(*date), "reminder", name, "提醒日", "提醒日"));
  }
  if (const auto countdown = ReadCountdown(c)) {
    events.push_back(Event(DateToDayNumber(countdown->date), "countdown", countdown->name, "倒计日", "倒计日"));
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const AllDayEvent& a, const AllDayEvent& b) { return a.day < b.day; });
  return events;
}

std::string RecordCalendarText(const RecordContext& c, std::int32_t firstYear, int years, const std::string& stamp) {
  std::ostringstream out;
  IcsWriter writer(out, stamp);
  for (const AllDayEvent& e : RecordEvents(c, firstYear, years)) writer.Add(e);
  writer.Finish();
  return out.str();
}

}  // namespace tovani
