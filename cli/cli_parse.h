// How the command-line tool reads its command line: numbers, dates, "today",
// the options and their values, and the place of --city.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_output.h"
#include "engine/cities.h"
#include "engine/dates.h"
#include "engine/rules.h"
#include "engine/sexagenary.h"

namespace tovani::cli {

struct Command;

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

// Options every command takes.
inline constexpr std::string_view kCommonOptions[] = {"modern", "traditional"};

// The invocation of command by a command line (args[0] is the command's name):
// its options, with as many values as each takes, and its arguments, as many
// as it takes.  On bad input nothing, and the message names what is wrong.
std::optional<Invocation> ParseInvocation(const Command& command, const std::vector<std::string>& args,
                                          std::string& message);

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
// The place of --city (1..43, default 2, 北京); on bad input the failure's exit
// code goes to code.
std::optional<CurrentPlace> PlaceOption(const Invocation& inv, Output& out, int& code);

}  // namespace tovani::cli
