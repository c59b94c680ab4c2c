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

namespace tovani::cli {

// One command line: the command, its positional arguments, and its options
// ("--name" gives "1", "--name=value" or "--name value" gives the value).
struct Invocation {
  std::string command;
  std::vector<std::string> args;
  std::map<std::string, std::string> options;
  bool Has(const std::string& option) const { return options.count(option) != 0; }
};

// Where a command writes: program text (code page 936) converted to UTF-8.
class Output {
 public:
  Output(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
  void Line(std::string_view gbk) { out_ << Cp936ToUtf8Text(gbk) << '\n'; }
  // A line already in UTF-8.
  void Utf8Line(std::string_view utf8) { out_ << utf8 << '\n'; }
  // Progress and notes for a person watching; not part of the output proper.
  void Note(std::string_view gbk) { err_ << Cp936ToUtf8Text(gbk) << std::flush; }
  // A one-line message about bad input; returns the exit code for it.
  int Fail(std::string_view gbk);

 private:
  static std::string Cp936ToUtf8Text(std::string_view gbk);
  std::ostream& out_;
  std::ostream& err_;
};

struct Command {
  std::string_view name;
  std::string_view usage;    // arguments, for the help text
  std::string_view summary;  // one line, for the help text
  std::size_t minArgs, maxArgs;
  std::vector<std::string_view> options;  // accepted options; "name=" takes a value
  std::function<int(const Invocation&, Output&)> run;
};

// A user's argument (UTF-8) quoted inside a message (program text).
std::string Quoted(std::string_view s);
std::optional<std::int64_t> ParseInteger(std::string_view s);
// "Y-MM-DD" with an astronomical year; the message names what is wrong.
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
// A JSON string literal, in UTF-8, of a program text.
std::string JsonString(std::string_view gbk);
// The place of --city (1..43, default 2, 北京); on bad input the failure's exit
// code goes to code.
std::optional<CurrentPlace> PlaceOption(const Invocation& inv, Output& out, int& code);

std::vector<Command> DateCommands();
std::vector<Command> LunarCommands();
std::vector<Command> WindowCommands();

}  // namespace tovani::cli
