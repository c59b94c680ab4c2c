#include "cli/cli.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <string_view>

#include "engine/date_text.h"
#include "engine/dates.h"
#include "framework/codepage.h"

namespace tovani::cli {
namespace {

// The parsed command line of one command: positional arguments in order, and
// options ("--name" or "--name=value").
struct Invocation {
  std::string command;
  std::vector<std::string> args;
};

// Where a command writes: program text (code page 936) converted to UTF-8.
class Output {
 public:
  Output(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
  void Line(std::string_view gbk) { out_ << Cp936ToUtf8(gbk) << '\n'; }
  // A one-line message about bad input; returns the exit code for it.
  int Fail(std::string_view gbk) {
    err_ << "tovani: " << Cp936ToUtf8(gbk) << '\n';
    return kBadInput;
  }

 private:
  std::ostream& out_;
  std::ostream& err_;
};

struct Command {
  std::string_view name;
  std::string_view usage;    // arguments, for the help text
  std::string_view summary;  // one line, for the help text
  std::size_t argCount;
  std::function<int(const Invocation&, Output&)> run;
};

// A user's argument (UTF-8) quoted inside a message (program text).
std::string Quoted(std::string_view s) { return "'" + Utf8ToCp936(s) + "'"; }

std::optional<std::int64_t> ParseInteger(std::string_view s) {
  std::int64_t v = 0;
  if (s.empty() || s.size() > 19) return std::nullopt;
  const auto* end = s.data() + s.size();
  const auto [p, ec] = std::from_chars(s.data(), end, v);
  if (ec != std::errc() || p != end) return std::nullopt;
  return v;
}

// "Y-MM-DD" with an astronomical year (-103-01-01 is 104 BC); month and day may
// have one digit.  The message names what is wrong.
std::optional<CivilDate> ParseDate(std::string_view s, std::string& message) {
  const std::size_t start = !s.empty() && s[0] == '-' ? 1 : 0;
  const std::size_t d1 = s.find('-', start);
  const std::size_t d2 = d1 == std::string_view::npos ? d1 : s.find('-', d1 + 1);
  const auto digits = [](std::string_view part, std::size_t most) {
    if (part.empty() || part.size() > most) return false;
    for (char c : part) {
      if (c < '0' || c > '9') return false;
    }
    return true;
  };
  if (d2 == std::string_view::npos || !digits(s.substr(start, d1 - start), 5) ||
      !digits(s.substr(d1 + 1, d2 - d1 - 1), 2) || !digits(s.substr(d2 + 1), 2)) {
    message = "bad date " + Quoted(s) + ": expected Y-MM-DD (astronomical year, -103-01-01 is 104 BC)";
    return std::nullopt;
  }
  const auto year = ParseInteger(s.substr(0, d1));
  const auto month = ParseInteger(s.substr(d1 + 1, d2 - d1 - 1));
  const auto day = ParseInteger(s.substr(d2 + 1));
  const CivilDate date{static_cast<std::int32_t>(*year), static_cast<std::int32_t>(*month),
                       static_cast<std::int32_t>(*day)};
  if (!IsValidDate(date.year, date.month, date.day)) {
    message = "no such date " + Quoted(s) + " (the calendar runs from -9998-01-01 to 9999-12-31; " +
              "1582-10-05..1582-10-14 do not exist)";
    return std::nullopt;
  }
  return date;
}

std::string IsoText(const CivilDate& d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

// The date and its calendar-date text, separated by a tab.
std::string DateLine(const CivilDate& d) {
  return IsoText(d) + "\t" + DateText(DateToDayNumber(d));
}

int RunJd(const Invocation& inv, Output& out) {
  std::string message;
  const auto date = ParseDate(inv.args[0], message);
  if (!date) return out.Fail(message);
  out.Line(std::to_string(DateToDayNumber(*date)));
  return kOk;
}

int RunDate(const Invocation& inv, Output& out) {
  const auto n = ParseInteger(inv.args[0]);
  if (!n) return out.Fail("bad day number " + Quoted(inv.args[0]) + ": expected an integer");
  if (*n < FirstValidDayNumber || *n > LastValidDayNumber) {
    return out.Fail("day number " + Quoted(inv.args[0]) + " is outside " + std::to_string(FirstValidDayNumber) +
                    ".." + std::to_string(LastValidDayNumber));
  }
  out.Line(DateLine(*DayNumberToDate(static_cast<DayNumber>(*n))));
  return kOk;
}

int RunInterval(const Invocation& inv, Output& out) {
  std::string message;
  const auto first = ParseDate(inv.args[0], message);
  if (!first) return out.Fail(message);
  const auto second = ParseDate(inv.args[1], message);
  if (!second) return out.Fail(message);
  out.Line(std::to_string(*DaysBetween(*first, *second)));
  return kOk;
}

int RunAdd(const Invocation& inv, Output& out) {
  std::string message;
  const auto date = ParseDate(inv.args[0], message);
  if (!date) return out.Fail(message);
  const auto n = ParseInteger(inv.args[1]);
  if (!n) return out.Fail("bad number of days " + Quoted(inv.args[1]) + ": expected an integer");
  const auto result = AddDays(*date, *n);
  if (!result) {
    return out.Fail(Quoted(inv.args[0]) + " plus " + Quoted(inv.args[1]) +
                    " days is outside -9998-01-01..9999-12-31");
  }
  out.Line(DateLine(*result));
  return kOk;
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"jd", "DATE", "the day number (Julian Day Number) of a date", 1, RunJd},
      {"date", "N", "the date of day number N and its calendar-date text", 1, RunDate},
      {"interval", "DATE DATE", "days from the first date to the second", 2, RunInterval},
      {"add", "DATE N", "the date N days after DATE (N may be negative)", 2, RunAdd},
  };
  return commands;
}

void PrintHelp(Output& out) {
  out.Line("usage: tovani COMMAND ARGUMENTS...");
  out.Line("");
  out.Line("Dates are Y-MM-DD with astronomical years: 0 is 1 BC, -103-01-01 is 104 BC.");
  out.Line("They are Julian up to 1582-10-04 and Gregorian from 1582-10-15.");
  out.Line("A calendar-date text is AD or BC, then MM-DD-YYYY (BC years counted 1 - year).");
  out.Line("");
  out.Line("commands:");
  for (const Command& c : Commands()) {
    std::string head = "  " + std::string(c.name) + " " + std::string(c.usage);
    if (head.size() < 24) head.resize(24, ' ');
    out.Line(head + std::string(c.summary));
  }
  out.Line("");
  out.Line("  --help                show this text");
  out.Line("  --version             show the version");
  out.Line("");
  out.Line("Output is UTF-8. Bad input ends with exit code 2 and a one-line message.");
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& outStream, std::ostream& errStream) {
  Output out(outStream, errStream);
  if (args.empty()) {
    PrintHelp(out);
    return kBadInput;
  }
  Invocation inv;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h" || a == "help") {
      PrintHelp(out);
      return kOk;
    }
    if (a == "--version") {
      out.Line("tovani 4.1");
      return kOk;
    }
    // Options start with "--"; a single "-" followed by a digit is a negative
    // year or number.
    if (a.size() >= 2 && a[0] == '-' && (a[1] < '0' || a[1] > '9')) {
      return out.Fail("unknown option " + Quoted(a) + " (see tovani --help)");
    }
    if (inv.command.empty()) {
      inv.command = a;
    } else {
      inv.args.push_back(a);
    }
  }
  for (const Command& c : Commands()) {
    if (c.name != inv.command) continue;
    if (inv.args.size() != c.argCount) {
      return out.Fail(std::string(c.name) + " takes " + std::string(c.usage) + ", got " +
                      std::to_string(inv.args.size()) + " argument(s)");
    }
    return c.run(inv, out);
  }
  return out.Fail("unknown command " + Quoted(inv.command) + " (see tovani --help)");
}

}  // namespace tovani::cli
