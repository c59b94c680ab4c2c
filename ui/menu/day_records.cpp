#include "ui/menu/day_records.h"

#include "engine/date_text.h"
#include "engine/sexagenary.h"

namespace tovani {

DayRecords FindDayRecords(const RecordContext& c, const DayInCalendars& day) {
  const CalendarTriple& g = day.gregorian;
  const CalendarTriple& l = day.lunar;
  const CalendarTriple& h = day.hijri;
  DayRecords r;
  r.countdown = CountdownText(c, g.year, g.month, g.day);
  for (const std::string& found : {FindReminder(c, g.year, g.month, g.day), FindSolarMemorial(c, g.year, g.month, g.day),
                                   FindLunarMemorial(c, l.year, l.month, l.day),
                                   FindHijriMemorial(c, h.year, h.month, h.day)}) {
    if (found.empty()) continue;
    const RecordTitle t = SplitRecord(found);
    if (!t.name.empty()) r.titles.push_back(t.name);
    if (r.audio.empty()) r.audio = t.audio;
  }
  return r;
}

std::string BalloonText(const DayRecords& records) {
  std::string titles;
  for (const std::string& t : records.titles) titles += (titles.empty() ? "" : "   ") + t;
  return TrimBlanks(records.countdown + "   " + titles);
}

std::string DetailsWithRecords(const std::string& details, const DayRecords& records) {
  std::string items;
  if (!records.countdown.empty()) items += " " + records.countdown;
  for (const std::string& t : records.titles) items += " " + t;
  if (items.empty()) return details;
  // The details hold a line break, then three lines, then the festival line
  // when the day has festivals.
  int breaks = 0;
  for (std::size_t i = 0; i + 1 < details.size(); ++i) {
    if (details[i] == '\r' && details[i + 1] == '\n') ++breaks;
  }
  return details + (breaks >= 4 ? "" : "\r\n") + items;
}

std::string TrayTipText(const DayInCalendars& today) {
  const CalendarTriple& l = today.lunar;
  const CalendarTriple& g = today.gregorian;
  if (l.month < 1 || l.month > 24) return {};
  return "农历" + std::string(l.month > 12 ? "闰" : "") + LunarMonthBaseName((l.month - 1) % 12 + 1) +
         LunarDayName(l.day) + " " + CycleName(DayCycleIndex(g.year, g.month, g.day)) + "日";
}

}  // namespace tovani
