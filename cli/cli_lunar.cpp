// The lunar calendar, solar terms and moons.
#include <cmath>
#include <cstdio>
#include <vector>

#include "cli/cli_common.h"
#include "engine/close_calls.h"
#include "engine/date_text.h"
#include "engine/events.h"
#include "engine/cities.h"
#include "engine/era_names.h"
#include "engine/festivals.h"
#include "engine/hijri.h"
#include "engine/lunar_calendar.h"
#include "engine/sexagenary.h"
#include "engine/sun_times.h"

namespace tovani::cli {
namespace {

int RunLunar(const Invocation& inv, Output& out) {
  std::string message;
  const auto date = ParseDate(inv.args[0], message);
  if (!date) return out.Fail(message);
  const auto lunar = LunarDateOf(date->year, date->month, date->day, inv.Rules());
  if (!lunar) return out.Fail("date " + Quoted(inv.args[0]) + " is outside the lunar range -8999..9000");
  out.Line(LunarDateText(lunar) + "\t" + LunarReading(lunar->code(), lunar->day));
  return kOk;
}

int RunSolar(const Invocation& inv, Output& out) {
  const auto parts = ParseDashedNumbers(inv.args[0], 3);
  if (!parts) {
    return out.Fail("bad lunar date " + Quoted(inv.args[0]) +
                    ": expected LY-LM-LD (leap months as month + 12, e.g. 2023-14-01)");
  }
  const auto& p = *parts;
  const auto civil = p[0] >= -8999 && p[0] <= 9000
                         ? CivilDateOfLunar(static_cast<std::int32_t>(p[0]), static_cast<int>(p[1]),
                                            static_cast<int>(p[2]), inv.Rules())
                         : std::nullopt;
  if (!civil) {
    return out.Fail("no such lunar date " + Quoted(inv.args[0]) +
                    " (lunar years -8999..9000; a leap month exists only in its year)");
  }
  out.Line(DateLine(*civil));
  return kOk;
}

std::optional<std::int32_t> ParseLunarYear(std::string_view s, Output& out, int& code) {
  std::string message;
  const auto y = ParseBounded(s, kFirstLunarYear, kLastLunarYear, "lunar year", message);
  if (!y) {
    code = out.Fail(message);
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*y);
}

// Minutes from midnight, signed, to a tenth.
std::string MarginText(double minutes) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%+.1f", minutes);
  return buf;
}

// "※ 新月距午夜 -0.2 分钟", "※ 处暑距午夜 +9.9 分钟，定闰月".
std::string CloseCallMark(const CloseCall& c) {
  if (c.kind == CloseCallKind::kNewMoon) return "※ 新月距午夜 " + MarginText(c.marginMinutes) + " 分钟";
  return "※ " + SolarTermName(c.term) + "距午夜 " + MarginText(c.marginMinutes) + " 分钟，定闰月";
}

// A month line gains its close calls as one more field; other lines keep their layout.
int RunYear(const Invocation& inv, Output& out) {
  int code = kOk;
  const auto year = ParseLunarYear(inv.args[0], out, code);
  if (!year) return code;
  out.Line(std::to_string(*year) + "\t" + LunarYearRecordOf(*year, inv.Rules()));
  const auto calls = CloseCallsOfLunarYear(*year, inv.Rules());
  const DayNumber first = NewYearDay(*year, inv.Rules());
  DayNumber start = first;
  for (int position = 1; position <= 13; ++position) {
    const int month = OrdinalToMonthCode(*year, position, inv.Rules());
    if (month == 0) break;
    const int length = LunarMonthLength(*year, month, inv.Rules());
    const auto from = DayNumberToDate(start), to = DayNumberToDate(start + length - 1);
    if (!from || !to) break;
    std::string line = LunarMonthName(month, MonthSizeOf(length)) + "\t" + IsoText(*from) + "\t" + IsoText(*to);
    std::string marks;
    for (const CloseCall& c : calls) {
      if (c.lunarYear == *year && c.lunarMonth == month) marks += (marks.empty() ? "\t" : "；") + CloseCallMark(c);
    }
    out.Line(line + marks);
    start += length;
  }
  return kOk;
}

// "2057-09-28 23:59:51", a tab, "新月 2057年九月初一" or "处暑 1987年七月初一 定闰月", a
// tab, the signed minutes from midnight.
std::string CloseCallLine(const CloseCall& c) {
  const auto day = DayNumberToDate(static_cast<DayNumber>(std::floor(c.instant)));
  std::string what = c.kind == CloseCallKind::kNewMoon ? std::string("新月") : SolarTermName(c.term);
  what += " " + std::to_string(c.lunarYear) + "年" +
          LunarReading(c.lunarMonth, c.lunarDay);
  if (c.kind == CloseCallKind::kMajorTerm) what += " 定闰月";
  return (day ? IsoText(*day) : std::string()) + " " + ClockPart(DateTimeText(c.instant)) + "\t" + what + "\t" +
         MarginText(c.marginMinutes);
}

int RunYears(const Invocation& inv, Output& out) {
  int code = kOk;
  const auto first = ParseLunarYear(inv.args[0], out, code);
  if (!first) return code;
  const auto last = ParseLunarYear(inv.args[1], out, code);
  if (!last) return code;
  if (*last < *first) return out.Fail("the first year " + Quoted(inv.args[0]) + " comes after the last " + Quoted(inv.args[1]));
  if (inv.Has("close-calls")) {
    for (const CloseCall& c : CloseCallsOfLunarYears(*first, *last, inv.Rules())) out.Line(CloseCallLine(c));
    return kOk;
  }
  for (std::int32_t y = *first; y <= *last; ++y) out.Line(std::to_string(y) + "\t" + LunarYearRecordOf(y, inv.Rules()));
  return kOk;
}

std::string EventName(const CalendarEvent& e) {
  switch (e.kind) {
    case EventKind::kTerm:
      return SolarTermName(e.term);
    case EventKind::kNewMoon:
      return "朔";
    case EventKind::kFullMoon:
      return "望";
  }
  return {};
}

const char* EventWord(EventKind kind) {
  switch (kind) {
    case EventKind::kTerm:
      return "term";
    case EventKind::kNewMoon:
      return "newmoon";
    case EventKind::kFullMoon:
      return "fullmoon";
  }
  return "";
}

int RunEvents(const Invocation& inv, Output& out) {
  std::string message;
  const auto year = ParseBounded(inv.args[0], -9998, 9999, "year", message);
  if (!year) return out.Fail(message);
  const auto y = static_cast<std::int32_t>(*year);
  // The lunar years that share days with the civil year hold its close calls.
  std::vector<CloseCall> calls = CloseCallsOfLunarYear(y - 1, inv.Rules());
  for (const CloseCall& c : CloseCallsOfLunarYear(y, inv.Rules())) calls.push_back(c);
  for (const CalendarEvent& e : EventsInRange(DateToDayNumber(y, 1, 1), DateToDayNumber(y, 12, 31), inv.Rules())) {
    std::string line = DateTimeText(e.instant) + "\t" + EventWord(e.kind) + "\t" + EventName(e);
    for (const CloseCall& c : calls) {
      const bool sameKind = (c.kind == CloseCallKind::kNewMoon) == (e.kind == EventKind::kNewMoon);
      if (e.kind != EventKind::kFullMoon && sameKind && std::fabs(c.instant - e.instant) < 1e-6) {
        line += "\t" + CloseCallMark(c);
      }
    }
    out.Line(line);
  }
  return kOk;
}

}  // namespace

// The engine's own texts of a day, as JSON fields (an empty string where the
// engine gives none).
std::string DayFields(const CivilDate& d, const std::optional<LunarDate>& lunar, const CurrentPlace& place,
                      const HolidayCalendar& holidays, CalendarRules rules) {
  const auto field = [](const char* name, const std::string& value) {
    return std::string(",\"") + name + "\":" + JsonString(value);
  };
  std::string s = field("hijri", HijriDateText(d.year, d.month, d.day));
  s += field("weekday", WeekdayName(d.year, d.month, d.day));
  s += field("sign", ZodiacSignName(d.year, d.month, d.day));
  s += field("ganzhi", SexagenaryText(d.year, d.month, d.day, YearStart::kStartOfSpring, rules));
  s += field("ganzhi_ny", SexagenaryText(d.year, d.month, d.day, YearStart::kLunarNewYear, rules));
  s += field("festival", GregorianFestivalText(d.year, d.month, d.day, FestivalList::kFull));
  s += field("lunar_festival", lunar ? LunarFestivalText(lunar->year, lunar->code(), lunar->day, rules) : std::string());
  const HolidayInfo holiday = holidays.Of(d);
  s += field("holiday", holiday.name.empty() ? std::string() : HolidayMark(holiday.status) + " " + holiday.name);
  s += field("term_note", NextSolarTermNote(d.year, d.month, d.day, rules));
  s += field("nine", NineNinesText(d.year, d.month, d.day, rules));
  s += field("dog", DogDaysText(d.year, d.month, d.day, rules));
  s += field("plum", PlumRainText(d.year, d.month, d.day, rules));
  s += field("era", lunar ? TrimBlanks(EraYearText(lunar->year)) : std::string());
  const DayNumber z = DateToDayNumber(d);
  const auto sun = [&](SunEventKind kind) { return JsonString(SunEventTime(z, place.longitude, place.latitude, TimeZoneHours, kind)); };
  s += ",\"sun\":{\"rise\":" + sun(kSunrise) + ",\"set\":" + sun(kSunset) + ",\"dawn\":" + sun(kDawn) +
       ",\"dusk\":" + sun(kDusk) + "}";
  return s;
}

namespace {

// The days of a span, a JSON object a line; the events are walked once, a
// year's worth at a time, alongside the days.
int RunDump(const Invocation& inv, Output& out) {
  std::string message;
  const auto from = ParseDate(inv.args[0], message);
  if (!from) return out.Fail(message);
  const auto to = ParseDate(inv.args[1], message);
  if (!to) return out.Fail(message);
  const DayNumber first = DateToDayNumber(*from), last = DateToDayNumber(*to);
  if (last < first) return out.Fail("the first date " + Quoted(inv.args[0]) + " comes after the last " + Quoted(inv.args[1]));
  // The additions come last: their warnings must not precede an error.
  int code = kOk;
  const auto place = PlaceOption(inv, out, code);
  if (!place) return code;
  const auto holidays = HolidaysOption(inv, out, code);
  if (!holidays) return code;
  constexpr DayNumber kChunk = 366;
  for (DayNumber chunk = first; chunk <= last; chunk += kChunk) {
    const DayNumber chunkLast = std::min<std::int64_t>(last, static_cast<std::int64_t>(chunk) + kChunk - 1);
    const auto events = EventsInRange(chunk, chunkLast, inv.Rules());
    auto next = events.begin();
    for (DayNumber z = chunk; z <= chunkLast; ++z) {
      const CivilDate d = *DayNumberToDate(z);
      const auto lunar = LunarDateOf(d.year, d.month, d.day, inv.Rules());
      std::string line = "{\"jdn\":" + std::to_string(z) + ",\"g\":" + JsonString(IsoText(d)) +
                         ",\"lunar\":" + JsonString(LunarDateText(lunar));
      for (; next != events.end() && std::floor(next->instant) == z; ++next) {
        const std::string clock = ClockPart(DateTimeText(next->instant));
        switch (next->kind) {
          case EventKind::kTerm:
            line += ",\"term\":" + JsonString(SolarTermName(next->term) + " " + clock);
            break;
          case EventKind::kNewMoon:
            line += ",\"newmoon\":" + JsonString(clock);
            break;
          case EventKind::kFullMoon:
            line += ",\"fullmoon\":" + JsonString(clock);
            break;
        }
      }
      line += DayFields(d, lunar, *place, *holidays, inv.Rules());
      out.Utf8Line(line + "}");
    }
  }
  return kOk;
}

}  // namespace

std::vector<Command> LunarCommands() {
  return {
      {"lunar", "DATE", "the lunar date of a date: its lunar date text and reading", 1, 1, {}, RunLunar},
      {"solar", "LY-LM-LD", "the date of a lunar date (leap months as month + 12)", 1, 1, {}, RunSolar},
      {"year", "Y", "the record of lunar year Y and its months with their dates (※: close to midnight)", 1, 1, {},
       RunYear},
      {"years", "START END", "one line per lunar year: the year, a tab, its 17-character record", 2, 2,
       {"close-calls"}, RunYears},
      {"events", "Y", "solar terms, new and full moons of year Y, in time order (※: close to midnight)", 1, 1, {},
       RunEvents},
      {"dump", "START END", "one JSON object per day of a span of dates", 2, 2, {"city=", "holidays="}, RunDump},
  };
}

}  // namespace tovani::cli
