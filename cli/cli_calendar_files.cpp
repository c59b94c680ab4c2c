// Calendar files and lunar anniversaries.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <sstream>

#include "cli/cli_common.h"
#include "app/ics_writer.h"
#include "engine/anniversaries.h"
#include "engine/date_text.h"
#include "engine/events.h"
#include "engine/festivals.h"
#include "engine/holidays.h"
#include "engine/lunar_calendar.h"
#include "engine/sexagenary.h"
#include "framework/codepage.h"

namespace tovani::cli {
namespace {

// The last day the lunar calendar and the festivals answer for.
const DayNumber kLastCalendarFileDay = DateToDayNumber(9000, 12, 31);
// More than this many calendar years in one file is a mistake, not a wish.
constexpr std::int32_t kMaxFileYears = 1000;
// The output goes out in pieces of about this size.
constexpr std::size_t kChunkBytes = 1 << 16;


// A lunar month and day "LM-LD" (leap months as month + 12).
std::optional<std::pair<int, int>> ParseMonthDay(std::string_view s) {
  const auto parts = ParseDashedNumbers(s, 2);
  if (!parts || (*parts)[0] < 1 || (*parts)[0] > 24 || (*parts)[1] < 1 || (*parts)[1] > 30) return std::nullopt;
  return std::pair(static_cast<int>((*parts)[0]), static_cast<int>((*parts)[1]));
}

std::string BadMonthDay(std::string_view what, std::string_view s) {
  return "bad " + std::string(what) + " " + Quoted(s) +
         ": expected LM-LD, the month 1..12 or 13..24 for a leap month (month + 12), the day 1..30";
}

// ---- tovani next ----

int RunNext(const Invocation& inv, Output& out) {
  const auto monthDay = ParseMonthDay(inv.args[0]);
  if (!monthDay) return out.Fail(BadMonthDay("lunar month and day", inv.args[0]));
  std::string message;
  int count = 5;
  if (inv.Has("count")) {
    const auto n = ParseBounded(inv.options.at("count"), 1, 1000, "--count", message);
    if (!n) return out.Fail(message);
    count = static_cast<int>(*n);
  }
  const auto from = inv.Has("from") ? ParseDate(inv.options.at("from"), message) : Today(message);
  if (!from) return out.Fail(message);
  if (from->year < -8999 || from->year > 9000) {
    return out.Fail("date " + Quoted(inv.Has("from") ? inv.options.at("from") : IsoText(*from)) +
                    " is outside the lunar range -8999..9000");
  }
  const DayNumber start = DateToDayNumber(*from);
  const auto found = NextLunarAnniversaries(start, monthDay->first, monthDay->second, count, inv.Rules());
  for (const AnniversaryPlacement& p : found) {
    const CivilDate d = *DayNumberToDate(p.day);
    const DayNumber away = p.day - start;
    out.Line(IsoText(d) + "\t" + WeekdayName(d.year, d.month, d.day) + "\t" +
             (away == 0 ? std::string("今天") : std::to_string(away) + "天后") + "\t" +
             LunarReading(p.monthCode, p.lunarDay));
  }
  if (static_cast<int>(found.size()) < count) out.Note("tovani: the lunar calendar ends with the lunar year 9000\n");
  return kOk;
}

// ---- tovani ics ----

struct Anniversary {
  int monthCode, day;
  std::string title;  // UTF-8
};

// What goes into the file.
struct FileRequest {
  DayNumber first = 0, last = 0;
  bool terms = false, festivals = false, allFestivals = false, holidays = false;
  std::vector<Anniversary> anniversaries;
  std::string stamp;
};

// DTSTAMP: now, or SOURCE_DATE_EPOCH (seconds since 1970-01-01 UTC) for a
// file that comes out the same on every run.
std::optional<std::string> Stamp(std::string& message) {
  if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH"); fixed != nullptr && *fixed != '\0') {
    const auto seconds = ParseInteger(fixed);
    std::string stamp = seconds ? IcsUtcStamp(*seconds) : std::string();
    if (!stamp.empty()) return stamp;
    message = "bad SOURCE_DATE_EPOCH " + Quoted(fixed) + ": expected seconds since 1970-01-01 UTC";
    return std::nullopt;
  }
  std::string stamp = IcsUtcStamp(static_cast<std::int64_t>(std::time(nullptr)));
  if (!stamp.empty()) return stamp;
  message = "cannot read the time from the system clock (set SOURCE_DATE_EPOCH)";
  return std::nullopt;
}

std::optional<FileRequest> ParseFileRequest(const Invocation& inv, Output& out, int& code) {
  FileRequest r;
  std::string message;
  const auto from = ParseDate(inv.args[0], message);
  const auto to = from ? ParseDate(inv.args[1], message) : std::nullopt;
  const auto fail = [&](const std::string& m) {
    code = out.Fail(m);
    return std::nullopt;
  };
  if (!from || !to) return fail(message);
  r.first = DateToDayNumber(*from);
  r.last = DateToDayNumber(*to);
  if (r.last < r.first) {
    return fail("the first date " + Quoted(inv.args[0]) + " comes after the last " + Quoted(inv.args[1]));
  }
  if (r.first < kFirstIcsDay) {
    return fail("date " + Quoted(inv.args[0]) +
                " is before 0001-01-03, 0001-01-01 of the Gregorian calendar that calendar files use");
  }
  if (r.last > kLastCalendarFileDay) {
    return fail("date " + Quoted(inv.args[1]) + " is after 9000-12-31, the end of the lunar calendar");
  }
  if (to->year - from->year >= kMaxFileYears) {
    return fail("the span " + Quoted(inv.args[0]) + ".." + Quoted(inv.args[1]) + " is too long: at most " +
                std::to_string(kMaxFileYears) + " years in one file");
  }
  for (const auto& [name, values] : inv.occurrences) {
    if (name != "lunar") continue;
    const auto monthDay = ParseMonthDay(values[0]);
    if (!monthDay) return fail(BadMonthDay("--lunar", values[0]));
    const std::string& title = values[1];
    if (!IsUtf8(title)) return fail("the title " + Quoted(title) + " of --lunar " + values[0] + " is not UTF-8");
    if (title.find_first_not_of(" \t\r\n") == std::string::npos) {
      return fail("--lunar " + Quoted(values[0]) + " needs a title that is not empty");
    }
    r.anniversaries.push_back({monthDay->first, monthDay->second, title});
  }
  r.terms = inv.Has("terms");
  r.allFestivals = inv.Has("all-festivals");
  r.festivals = inv.Has("festivals") || r.allFestivals;
  r.holidays = inv.Has("holidays") || inv.Has("holidays-file");
  if (!r.terms && !r.festivals && !r.holidays && r.anniversaries.empty()) r.terms = r.festivals = true;
  const auto stamp = Stamp(message);
  if (!stamp) return fail(message);
  r.stamp = *stamp;
  return r;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The festivals of a day (program text).  The main list gives one name a
// day, so a rule festival on the day of a main fixed one (复活节 on 愚人节,
// 2018-04-01) is taken from the full list.
std::vector<std::string> FestivalNames(const CivilDate& d, bool all) {
  std::vector<std::string> names =
      Words(GregorianFestivalText(d.year, d.month, d.day, all ? FestivalList::kFull : FestivalList::kMain));
  if (!all && !names.empty()) {
    const auto rule = RuleFestivalNames();
    for (const std::string& w : Words(GregorianFestivalText(d.year, d.month, d.day, FestivalList::kFull))) {
      if (std::find(rule.begin(), rule.end(), w) != rule.end() &&
          std::find(names.begin(), names.end(), w) == names.end()) {
        names.push_back(w);
      }
    }
  }
  return names;
}

AllDayEvent Event(DayNumber day, const char* kind, const std::string& summary, const std::string& description,
                  const char* category) {
  return {day, kind, summary, description, Cp936ToUtf8(category)};
}

// The events of the days first..last (one year's worth at most), in day order.
std::vector<AllDayEvent> EventsOf(const FileRequest& r, const HolidayCalendar& holidays, DayNumber first,
                                  DayNumber last, CalendarRules rules) {
  std::vector<AllDayEvent> events;
  if (r.terms) {
    for (const CalendarEvent& e : TermsInRange(first, last, rules)) {
      const auto day = static_cast<DayNumber>(std::floor(e.instant));
      events.push_back(Event(day, "term", Cp936ToUtf8(SolarTermName(e.term)),
                             Cp936ToUtf8("交节时刻 " + ClockPart(DateTimeText(e.instant)) + "（UTC+8）"), "节气"));
    }
  }
  if (r.festivals || r.holidays) {
    for (DayNumber z = first; z <= last; ++z) {
      const CivilDate d = *DayNumberToDate(z);
      if (r.festivals) {
        for (const std::string& name : FestivalNames(d, r.allFestivals)) {
          events.push_back(Event(z, "festival", Cp936ToUtf8(name), {}, "节日"));
        }
        const auto lunar = LunarDateOf(d.year, d.month, d.day, rules);
        const std::string name = lunar ? LunarFestivalText(lunar->year, lunar->code(), lunar->day, rules) : std::string();
        if (!name.empty()) {
          events.push_back(Event(z, "festival", Cp936ToUtf8(name),
                                 Cp936ToUtf8("农历" + LunarReading(lunar->code(), lunar->day)), "节日"));
        }
      }
      if (r.holidays) {
        const HolidayInfo h = holidays.Of(d);
        if (h.status == HolidayStatus::kDayOff || h.status == HolidayStatus::kWorkDay) {
          const bool off = h.status == HolidayStatus::kDayOff;
          events.push_back(Event(z, "holiday", Cp936ToUtf8(HolidayMark(h.status) + " " + h.name),
                                 Cp936ToUtf8(h.name + (off ? "放假" : "调休上班")), "节假日"));
        }
      }
    }
  }
  for (const Anniversary& a : r.anniversaries) {
    for (const AnniversaryPlacement& p : LunarAnniversariesBetween(first, last, a.monthCode, a.day, rules)) {
      std::string note = "农历" + LunarReading(p.monthCode, p.lunarDay);
      if (p.monthCode != a.monthCode) note += "（本年无" + LunarMonthReading(a.monthCode) + "）";
      if (p.lunarDay != a.day) note += "（本月无三十）";
      events.push_back(Event(p.day, "lunar", a.title, Cp936ToUtf8(note), "纪念日"));
    }
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const AllDayEvent& a, const AllDayEvent& b) { return a.day < b.day; });
  return events;
}

int RunIcs(const Invocation& inv, Output& out) {
  int code = kOk;
  const auto request = ParseFileRequest(inv, out, code);
  if (!request) return code;
  // The additions of --holidays-file, read as --holidays FILE reads them for
  // the other commands (here --holidays asks for the set).
  Invocation additions;
  if (inv.Has("holidays-file")) additions.options["holidays"] = inv.options.at("holidays-file");
  const auto holidays = HolidaysOption(additions, out, code);
  if (!holidays) return code;

  // The file goes out a piece at a time through Output, which ends each piece
  // with the line feed of its last CRLF.
  std::ostringstream buffer;
  const auto flush = [&] {
    const std::string text = buffer.str();
    if (!text.empty()) out.Utf8Line(std::string_view(text).substr(0, text.size() - 1));
    buffer.str({});
  };
  IcsWriter writer(buffer, request->stamp);
  constexpr DayNumber kChunk = 366;
  for (DayNumber chunk = request->first; chunk <= request->last; chunk += kChunk) {
    const DayNumber chunkLast = std::min<std::int64_t>(request->last, static_cast<std::int64_t>(chunk) + kChunk - 1);
    for (const AllDayEvent& e : EventsOf(*request, *holidays, chunk, chunkLast, inv.Rules())) writer.Add(e);
    if (buffer.tellp() >= static_cast<std::streamoff>(kChunkBytes)) flush();
  }
  writer.Finish();
  flush();

  if (request->holidays) {
    const CivilDate from = *DayNumberToDate(request->first), to = *DayNumberToDate(request->last);
    if (ArrangementYear(from) < holidays->FirstYear() || ArrangementYear(to) > holidays->LastYear()) {
      out.Note("tovani: official holidays are known for " + std::to_string(holidays->FirstYear()) + ".." +
               std::to_string(holidays->LastYear()) + "; the other years have none in the file\n");
    }
  }
  return kOk;
}

}  // namespace

std::vector<Command> CalendarFileCommands() {
  return {
      {"ics", "START END", "an iCalendar file of the span: solar terms, festivals, holidays, lunar anniversaries", 2,
       2, {"terms", "festivals", "all-festivals", "holidays", "holidays-file=", "lunar=="}, RunIcs},
      {"next", "LM-LD", "the coming dates of a lunar month and day (leap months as month + 12)", 1, 1,
       {"count=", "from="}, RunNext},
  };
}

}  // namespace tovani::cli
