// What the commands of the command-line tool share.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "engine/cities.h"
#include "engine/dates.h"
#include "engine/holidays.h"
#include "engine/lunar_calendar.h"
#include "engine/rules.h"
#include "engine/sexagenary.h"

namespace tovani::cli {

// One command line: the command, its positional arguments, and its options
// ("--name" gives "1", "--name=value" or "--name value" gives the value).
struct Invocation {
  std::string command;
  std::vector<std::string> args;
  std::map<std::string, std::string> options;  // each option's (first) value, the last given
  // Every option given, in order, with all its values: a repeated option keeps
  // each occurrence ("--lunar 08-15 生日 --lunar 01-01 春节" gives two).
  std::multimap<std::string, std::vector<std::string>> occurrences;
  bool Has(const std::string& option) const { return options.count(option) != 0; }
  // The lunar calendar's rules: modern astronomy with --modern.
  CalendarRules Rules() const { return {Has("modern")}; }
  // Where the sexagenary year begins: the lunar new year with --ganzhi-newyear.
  YearStart CycleYearStart() const {
    return Has("ganzhi-newyear") ? YearStart::kLunarNewYear : YearStart::kStartOfSpring;
  }
};

// Where a command writes: program text (code page 936) converted to UTF-8.
// A line that cannot be written (a full disk, a closed pipe) ends the command:
// Run reports it once, with exit code kOutputFailed, and nothing more is
// computed for a dead output.
class Output {
 public:
  Output(std::ostream& out, std::ostream& err, Terminal terminal = {}) : out_(out), err_(err), terminal_(terminal) {}
  void Line(std::string_view gbk) { Utf8Line(Cp936ToUtf8Text(gbk)); }
  // A line already in UTF-8.
  void Utf8Line(std::string_view utf8);
  // Progress and notes for a person watching; not part of the output proper.
  void Note(std::string_view gbk) { err_ << Shown(Cp936ToUtf8Text(gbk)) << std::flush; }
  // From now on every text in traditional characters (--traditional), but for
  // the kept texts (the user's own, UTF-8) where they stand.
  void ShowTraditional(const std::vector<std::string>& kept);
  // A one-line message about bad input; returns the exit code for it.
  int Fail(std::string_view gbk);
  const Terminal& terminal() const { return terminal_; }

 private:
  static std::string Cp936ToUtf8Text(std::string_view gbk);
  std::string Shown(std::string_view utf8) const;
  std::ostream& out_;
  std::ostream& err_;
  Terminal terminal_;
  bool traditional_ = false;
  std::vector<std::string> kept_;  // code page 936
};

struct Command {
  std::string_view name;
  std::string_view usage;    // arguments, for the help text
  std::string_view summary;  // one line, for the help text
  std::size_t minArgs, maxArgs;
  std::vector<std::string_view> options;  // accepted options; "name=" takes a value, "name==" two
  std::function<int(const Invocation&, Output&)> run;
};

// A user's argument (UTF-8) quoted inside a message (program text).  Control
// characters, bytes that are no UTF-8 and characters code page 936 cannot hold
// are shown escaped (\n, \x1b, \xff, \u{1f600}), so a message stays one line
// and never drives the terminal.
std::string Quoted(std::string_view s);
std::optional<std::int64_t> ParseInteger(std::string_view s);
// Today's local date; TOVANI_TODAY=Y-MM-DD fixes it (for tests).
std::optional<CivilDate> Today(std::string& message);
// "Y-MM-DD" with an astronomical year, or "today"; the message names what is wrong.
std::optional<CivilDate> ParseDate(std::string_view s, std::string& message);
// Three integers "A-B-C", A possibly negative (for lunar dates and months).
std::optional<std::vector<std::int64_t>> ParseDashedNumbers(std::string_view s, std::size_t count);
// An integer option or argument within limits; the message names it.
std::optional<std::int64_t> ParseBounded(std::string_view s, std::int64_t low, std::int64_t high,
                                         std::string_view what, std::string& message);
std::string IsoText(const CivilDate& d);
// The date and its calendar-date text, separated by a tab.
std::string DateLine(const CivilDate& d);
// "HH:MM:SS" of a date-time text.
std::string ClockPart(const std::string& dateTimeText);
// The columns a UTF-8 text takes in a terminal: two for a Chinese character
// (and the other wide characters of East Asian scripts), one for the others.
std::size_t DisplayColumns(std::string_view utf8);
// The text followed by blanks up to width columns.
std::string PadColumns(std::string utf8, std::size_t width);
// A JSON string literal, in UTF-8, of a program text.
std::string JsonString(std::string_view gbk);
// The engine's own texts of a day as JSON fields, each preceded by a comma
// (the keys of dump after its date and event keys).
std::string DayFields(const CivilDate& d, const std::optional<LunarDate>& lunar, const CurrentPlace& place,
                      const HolidayCalendar& holidays, CalendarRules rules);
// The place of --city (1..43, default 2, 北京); on bad input the failure's exit
// code goes to code.
std::optional<CurrentPlace> PlaceOption(const Invocation& inv, Output& out, int& code);
// The holidays with the years added by --holidays FILE (lines "YYYY-MM-DD 休
// 名称", UTF-8); each bad line gives a warning naming it, an unreadable file
// is bad input (its exit code goes to code).
std::optional<HolidayCalendar> HolidaysOption(const Invocation& inv, Output& out, int& code);

std::vector<Command> DateCommands();
std::vector<Command> LunarCommands();
std::vector<Command> WindowCommands();
std::vector<Command> HolidayCommands();
std::vector<Command> CalendarFileCommands();

}  // namespace tovani::cli
