// The day window's state and texts, without any Win32: the displayed date in
// three calendars, the contents of its nine drop-down lists, what a choice or
// a step does to the date, and the two text lines.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "engine/calendar_range.h"
#include "engine/sexagenary.h"

namespace tovani::day {

enum ListId {
  kGregorianYear, kGregorianMonth, kGregorianDay,
  kLunarYear, kLunarMonth, kLunarDay,
  kHijriYear, kHijriMonth, kHijriDay,
  kListCount
};

// The tooltip of each list: "公历年" .. "回历日".
const char* ListName(ListId list);

// One list: its item texts, the value each item stands for (year, month or
// month code, day), and a version that changes whenever the items change, so
// that a view refills a control only then.
struct ListContent {
  std::vector<std::string> items;
  std::vector<int> values;
  unsigned version = 0;
};

class DayModel {
 public:
  // The date must lie in the range.
  DayModel(const CalendarRange& range, const DayInCalendars& date, bool showDynasty);

  const DayInCalendars& date() const { return date_; }
  const CalendarRange& range() const { return range_; }
  const ListContent& List(ListId list) const { return lists_[list]; }
  // The index of the displayed date's item in a list; -1 when it has none.
  int Selected(ListId list) const;

  // The user chose item index (from 0) of a list.
  void Choose(ListId list, int index);
  // An arrow key or the wheel at the first (direction -1) or last (+1) item
  // of a month or day list: steps across the boundary of the year (month
  // lists) or by one day (day lists), never leaving the range.  Returns false
  // when the list is not at that end or steps nothing of the kind, so the
  // control handles the key itself.
  bool Step(ListId list, int direction);
  // Moves the displayed date (for "today"); false, and nothing changes, for a
  // date outside the range.
  bool GoTo(const CalendarTriple& gregorian);

  // The lunar-year list shows era names, or Chinese numerals.
  void SetShowDynasty(bool show);
  // A new range (after the calendar mode changed): the lunar parts of the
  // range and of the date are recomputed from their Gregorian days.
  void SetRange(const CalendarRange& range);

 private:
  void SetDate(const DayInCalendars& date);
  void Rebuild(bool yearLists);
  void Replace(ListId list, ListContent content);
  void ChooseGregorian(CalendarTriple g);
  void ChooseLunar(CalendarTriple l);
  void ChooseHijri(CalendarTriple h);

  CalendarRange range_;
  DayInCalendars date_;
  bool showDynasty_;
  std::array<ListContent, kListCount> lists_;
};

// Text line 1: weekday, sign and sexagenary text.
std::string DayTextLine1(const DayInCalendars& date, YearStart yearStart, CalendarRules rules);
// Text line 2 by the information chosen: festivals and seasonal periods,
// sunrise and sunset, or dawn and dusk (at the place, east longitudes negative).
std::string DayTextLine2(const DayInCalendars& date, DayInfo info, double longitude, double latitude,
                         CalendarRules rules);

}  // namespace tovani::day
