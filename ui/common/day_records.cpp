#include "ui/common/day_records.h"

#include <algorithm>

#include "engine/date_text.h"
#include "engine/sexagenary.h"

namespace tovani {

DayRecords FindDayRecords(const RecordContext& c, const DayInCalendars& day) {
  const CalendarTriple& g = day.gregorian;
  const CalendarTriple& l = day.lunar;
  const CalendarTriple& h = day.hijri;
  DayRecords r;
  r.countdown = CountdownText(c, g.year, g.month, g.day);
  if (!r.countdown.empty()) r.countdownName = ReadCountdown(c)->name;
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

std::vector<std::string> UserTextsOf(const DayRecords& records, const std::vector<RecordAhead>& ahead) {
  std::vector<std::string> texts = records.titles;
  if (!records.countdownName.empty()) texts.push_back(records.countdownName);
  for (const RecordAhead& r : ahead) texts.push_back(r.title);
  return texts;
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

namespace {

// The words of a text between blanks.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = text.find_first_not_of(' ', i);
    if (start == std::string::npos) break;
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    words.push_back(text.substr(start, end - start));
    i = end;
  }
  return words;
}

// The festival is the holiday, or one of those it joins ("国庆节、中秋节").
bool NamedBy(const std::string& festival, const std::string& holiday) {
  if (festival == holiday) return true;
  const std::string separator = "、";
  std::size_t start = 0;
  while (start <= holiday.size()) {
    std::size_t end = holiday.find(separator, start);
    if (end == std::string::npos) end = holiday.size();
    if (holiday.compare(start, end - start, festival) == 0 && end - start == festival.size()) return true;
    start = end + separator.size();
  }
  return false;
}

// The details' festival line: the text after the fourth line break.
constexpr int kFestivalLineBreaks = 4;

}  // namespace

std::vector<RecordAhead> FindRecordsAhead(const RecordContext& c, const CivilDate& today, int days) {
  std::vector<RecordAhead> ahead;
  const DayNumber first = DateToDayNumber(today);
  if (first == InvalidDayNumber) return ahead;
  const auto countdown = ReadCountdown(c);
  for (int n = 1; n <= days; ++n) {
    const auto date = DayNumberToDate(first + n);
    if (!date) break;
    const auto day = FromGregorian({date->year, date->month, date->day}, c.rules);
    if (!day) break;
    if (countdown && countdown->date == *date) ahead.push_back({*date, n, countdown->name});
    const DayRecords records = FindDayRecords(c, *day);
    for (const std::string& title : records.titles) ahead.push_back({*date, n, title});
  }
  return ahead;
}

std::string RecordAheadText(const RecordAhead& r) {
  return std::to_string(r.date.month) + "月" + std::to_string(r.date.day) + "日 " + std::to_string(r.daysAway) +
         "天后 " + r.title;
}

std::string BalloonTextWithAhead(const DayRecords& today, const std::vector<RecordAhead>& ahead) {
  std::string text = BalloonText(today);
  for (const RecordAhead& r : ahead) text += (text.empty() ? "" : "\r\n") + RecordAheadText(r);
  return text;
}

HolidayNote HolidayNoteOf(const HolidayCalendar& calendar, const CivilDate& day, std::int32_t thisYear) {
  const HolidayInfo info = calendar.Of(day);
  HolidayNote note;
  note.status = info.status;
  note.mark = HolidayMark(info.status);
  if (!note.mark.empty()) {
    note.name = info.name;
  } else if (info.status == HolidayStatus::kNotAnnounced) {
    note.notAnnounced = day.year >= 2000 && day.year <= thisYear + 1;
  }
  return note;
}

std::string CellWithMark(const std::string& cell, const HolidayNote& note) {
  return note.mark.empty() ? cell : note.mark + cell;
}

std::string LineWithHoliday(const std::string& line, const HolidayNote& note) {
  if (note.mark.empty()) return line;
  std::string rest;
  for (const std::string& word : Words(line)) {
    if (!NamedBy(word, note.name)) rest += " " + word;  // the holiday's own festivals are said first
  }
  return note.mark + " " + note.name + rest;
}

std::string DetailsWithHoliday(const std::string& details, const HolidayNote& note) {
  std::string said;
  if (!note.mark.empty()) said = note.name + " " + note.mark;
  if (note.notAnnounced) said = kNotAnnouncedText;
  if (said.empty()) return details;
  std::size_t at = 0;
  for (int breaks = 0; breaks < kFestivalLineBreaks; ++breaks) {
    at = details.find("\r\n", at);
    if (at == std::string::npos) return details + "\r\n " + said;  // no festival line yet
    at += 2;
  }
  // " 国庆节" on the festival line becomes " 国庆节 休"; otherwise the note
  // comes first on it.
  const std::string line = details.substr(at);
  if (note.mark.empty()) return details.substr(0, at) + " " + said + line;
  // The holiday's own festivals give their place to it, the first one; the
  // others go.
  std::string out;
  bool placed = false;
  for (const std::string& word : Words(line)) {
    if (!NamedBy(word, note.name)) {
      out += " " + word;
    } else if (!placed) {
      out += " " + said;
      placed = true;
    }
  }
  return details.substr(0, at) + (placed ? out : " " + said + out);
}

std::string TrayTipWith(const std::string& tip, const HolidayNote& today, const std::vector<RecordAhead>& ahead) {
  std::string text = tip;
  if (!today.mark.empty()) text += " " + today.name + " " + today.mark;
  if (!ahead.empty()) text += "\n" + RecordAheadText(ahead.front());
  return text;
}

std::string TrayTipText(const DayInCalendars& today) {
  const CalendarTriple& l = today.lunar;
  const CalendarTriple& g = today.gregorian;
  if (l.month < 1 || l.month > 24) return {};
  return "农历" + std::string(l.month > 12 ? "闰" : "") + LunarMonthBaseName((l.month - 1) % 12 + 1) +
         LunarDayName(l.day) + " " + CycleName(DayCycleIndex(g.year, g.month, g.day)) + "日";
}

}  // namespace tovani
