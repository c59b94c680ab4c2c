#include "cli/cli.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <ostream>

#include "cli/cli_common.h"
#include "engine/date_text.h"
#include "engine/solar_terms.h"
#include "framework/codepage.h"
#include "framework/traditional.h"

namespace tovani::cli {

namespace {

// A line that could not be written, with the errno of the failed write (0
// when the stream gives none).
struct OutputFailed {
  int error;
};

std::string OutputFailedMessage(int error) {
  std::string message = "tovani: cannot write the output";
  if (error != 0) message += std::string(": ") + std::strerror(error);
  return message + "\n";
}

// A control character as an escape: \n, \t, \r, \x1b; C1 controls as \u{9b}.
std::string EscapedControl(char32_t cp) {
  if (cp == '\n') return "\\n";
  if (cp == '\t') return "\\t";
  if (cp == '\r') return "\\r";
  char buf[16];
  std::snprintf(buf, sizeof buf, cp < 0x80 ? "\\x%02x" : "\\u{%x}", static_cast<unsigned>(cp));
  return buf;
}

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

}  // namespace

std::string Output::Cp936ToUtf8Text(std::string_view gbk) { return Cp936ToUtf8(gbk); }

void Output::ShowTraditional(const std::vector<std::string>& kept) {
  traditional_ = true;
  kept_.clear();
  for (const std::string& k : kept) kept_.push_back(Utf8ToCp936(k));
}

std::string Output::Shown(std::string_view utf8) const {
  if (!traditional_) return std::string(utf8);
  // Each run of characters that code page 936 holds is converted; the others
  // (and bytes that are no UTF-8) stay as they are.
  std::string out, run;
  const auto flush = [&] {
    if (!run.empty()) out += Cp936ToUtf8(ToTraditional(Utf8ToCp936(run), kept_));
    run.clear();
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const Utf8Char c = DecodeUtf8(utf8.substr(i));
    const std::size_t n = c.length == 0 ? 1 : c.length;
    const std::string_view one = utf8.substr(i, n);
    if (c.length != 0 && (c.code == U'?' || Utf8ToCp936(one) != "?")) {
      run += one;
    } else {
      flush();
      out += one;
    }
    i += n;
  }
  flush();
  return out;
}

void Output::Utf8Line(std::string_view utf8) {
  errno = 0;
  out_ << Shown(utf8) << '\n';
  if (!out_) throw OutputFailed{errno};
}

int Output::Fail(std::string_view gbk) {
  // Arguments reach messages through Quoted; a control character that came
  // some other way is escaped here, so the message stays one line.
  std::string message;
  for (char c : Shown(Cp936ToUtf8(gbk))) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      message += EscapedControl(static_cast<unsigned char>(c));
    } else {
      message += c;
    }
  }
  err_ << "tovani: " << message << '\n';
  return kBadInput;
}

std::string Quoted(std::string_view s) {
  std::string out = "'";
  while (!s.empty()) {
    const auto [cp, length] = DecodeUtf8(s);
    if (length == 0) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(s[0]));
      out += buf;
      s.remove_prefix(1);
      continue;
    }
    if (IsControl(cp)) {
      out += EscapedControl(cp);
    } else if (cp == '\\') {
      out += "\\\\";
    } else if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else {
      const std::string gbk = Utf8ToCp936(s.substr(0, length));
      if (gbk == "?") {
        char buf[16];
        std::snprintf(buf, sizeof buf, "\\u{%x}", static_cast<unsigned>(cp));
        out += buf;
      } else {
        out += gbk;
      }
    }
    s.remove_prefix(length);
  }
  return out + "'";
}

std::size_t DisplayColumns(std::string_view utf8) {
  // The wide characters (East Asian Width W or F) of the scripts a calendar
  // shows: Hangul Jamo, CJK symbols and punctuation, kana, CJK ideographs,
  // Yi, Hangul, compatibility ideographs and forms, full-width forms.
  static constexpr std::pair<char32_t, char32_t> kWide[] = {
      {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
      {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
      {0xFFE0, 0xFFE6}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
  };
  std::size_t columns = 0;
  while (!utf8.empty()) {
    const auto [cp, length] = DecodeUtf8(utf8);
    const bool wide = std::any_of(std::begin(kWide), std::end(kWide),
                                  [cp = cp](const auto& r) { return cp >= r.first && cp <= r.second; });
    columns += wide ? 2 : 1;
    utf8.remove_prefix(std::max<std::size_t>(length, 1));
  }
  return columns;
}

std::string PadColumns(std::string utf8, std::size_t width) {
  const std::size_t columns = DisplayColumns(utf8);
  if (columns < width) utf8.append(width - columns, ' ');
  return utf8;
}

std::optional<std::int64_t> ParseInteger(std::string_view s) {
  std::int64_t v = 0;
  if (s.empty() || s.size() > 19) return std::nullopt;
  if (s[0] == '+') return std::nullopt;
  const auto* end = s.data() + s.size();
  const auto [p, ec] = std::from_chars(s.data(), end, v);
  if (ec != std::errc() || p != end) return std::nullopt;
  return v;
}

namespace {

// The fields of "A-B-C..." (A may carry a minus sign), each of 1..maxDigits digits.
std::optional<std::vector<std::string_view>> SplitDashed(std::string_view s, std::size_t count,
                                                         std::size_t maxDigits) {
  std::vector<std::string_view> parts;
  std::size_t pos = !s.empty() && s[0] == '-' ? 1 : 0;
  std::size_t start = 0;
  while (parts.size() < count) {
    const std::size_t dash = parts.size() + 1 == count ? s.size() : s.find('-', pos);
    if (dash == std::string_view::npos) return std::nullopt;
    const std::string_view digits = s.substr(pos, dash - pos);
    if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
    for (char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
    }
    parts.push_back(s.substr(start, dash - start));
    start = pos = dash + 1;
  }
  return parts;
}

}  // namespace

std::optional<std::vector<std::int64_t>> ParseDashedNumbers(std::string_view s, std::size_t count) {
  const auto parts = SplitDashed(s, count, 6);
  if (!parts) return std::nullopt;
  std::vector<std::int64_t> values;
  for (std::string_view p : *parts) values.push_back(*ParseInteger(p));
  return values;
}

namespace {

std::optional<CivilDate> ParseDigitsDate(std::string_view s, std::string& message) {
  const auto parts = SplitDashed(s, 3, 5);
  if (!parts || (*parts)[1].size() > 2 || (*parts)[2].size() > 2) {
    message = "bad date " + Quoted(s) + ": expected Y-MM-DD (astronomical year, -103-01-01 is 104 BC)";
    return std::nullopt;
  }
  const CivilDate date{static_cast<std::int32_t>(*ParseInteger((*parts)[0])),
                       static_cast<std::int32_t>(*ParseInteger((*parts)[1])),
                       static_cast<std::int32_t>(*ParseInteger((*parts)[2]))};
  if (!IsValidDate(date.year, date.month, date.day)) {
    message = "no such date " + Quoted(s) + " (the calendar runs from -9998-01-01 to 9999-12-31; " +
              "1582-10-05..1582-10-14 do not exist)";
    return std::nullopt;
  }
  return date;
}

}  // namespace

std::optional<CivilDate> Today(std::string& message) {
  // A fixed today makes the commands that default to it testable.
  if (const char* fixed = std::getenv("TOVANI_TODAY"); fixed != nullptr && *fixed != '\0') {
    std::string ignored;
    const auto date = ParseDigitsDate(fixed, ignored);
    if (!date) message = "bad TOVANI_TODAY " + Quoted(fixed) + ": expected Y-MM-DD";
    return date;
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
    message = "cannot read today's date from the system clock";
    return std::nullopt;
  }
  return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::optional<CivilDate> ParseDate(std::string_view s, std::string& message) {
  if (s == "today") return Today(message);
  return ParseDigitsDate(s, message);
}

std::optional<std::int64_t> ParseBounded(std::string_view s, std::int64_t low, std::int64_t high,
                                         std::string_view what, std::string& message) {
  const auto v = ParseInteger(s);
  if (!v || *v < low || *v > high) {
    message = "bad " + std::string(what) + " " + Quoted(s) + ": expected an integer " + std::to_string(low) +
              ".." + std::to_string(high);
    return std::nullopt;
  }
  return v;
}

std::string IsoText(const CivilDate& d) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%d-%02d-%02d", d.year, d.month, d.day);
  return buf;
}

std::string DateLine(const CivilDate& d) { return IsoText(d) + "\t" + DateText(DateToDayNumber(d)); }

std::string ClockPart(const std::string& dateTimeText) {
  return dateTimeText.size() == 21 ? dateTimeText.substr(13) : std::string();
}

std::string JsonString(std::string_view gbk) {
  std::string out = "\"";
  for (char c : Cp936ToUtf8(gbk)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::optional<CurrentPlace> PlaceOption(const Invocation& inv, Output& out, int& code) {
  int city = 2;
  if (inv.Has("city")) {
    std::string message;
    const auto n = ParseBounded(inv.options.at("city"), 1, CityCount(), "city", message);
    if (!n) {
      code = out.Fail(message);
      return std::nullopt;
    }
    city = static_cast<int>(*n);
  }
  CurrentPlace place;
  SelectCity(city, OwnPlace{}, place);
  return place;
}

namespace {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = [] {
    std::vector<Command> all = DateCommands();
    for (auto& c : LunarCommands()) all.push_back(std::move(c));
    for (auto& c : WindowCommands()) all.push_back(std::move(c));
    for (auto& c : HolidayCommands()) all.push_back(std::move(c));
    for (auto& c : CalendarFileCommands()) all.push_back(std::move(c));
    return all;
  }();
  return commands;
}

// Options every command takes.
constexpr std::string_view kCommonOptions[] = {"modern", "traditional"};

void PrintHelp(Output& out) {
  out.Line("usage: tovani COMMAND ARGUMENTS... [OPTIONS]");
  out.Line("       tovani [OPTIONS]          today's day view (the day command for today)");
  out.Line("");
  out.Line("Dates are Y-MM-DD with astronomical years: 0 is 1 BC, -103-01-01 is 104 BC;");
  out.Line("\"today\" is today's date on this computer.");
  out.Line("They are Julian up to 1582-10-04 and Gregorian from 1582-10-15.");
  out.Line("A calendar-date text is AD or BC, then MM-DD-YYYY (BC years counted 1 - year);");
  out.Line("for lunar dates MM is the month code, 13..24 for the leap month after months 1..12.");
  out.Line("All times are UTC+8.");
  out.Line("");
  out.Line("commands:");
  for (const Command& c : Commands()) {
    std::string head = "  " + std::string(c.name) + " " + std::string(c.usage);
    if (head.size() < 30) {
      head.resize(30, ' ');
    } else {
      out.Line(head);
      head.assign(30, ' ');
    }
    out.Line(head + std::string(c.summary));
  }
  out.Line("");
  out.Line("options:");
  out.Line("  --modern                    compute ancient years by modern astronomy instead of");
  out.Line("                              the rules the historical calendars used");
  out.Line("  --traditional               every command: the Chinese texts in traditional characters (the");
  out.Line("                              option 繁体中文); the titles of --lunar stay as written");
  out.Line("  --city N                    day, month, table sun, dump: the place, 1..43 (default 2, 北京)");
  out.Line("  --info 0|1|2                day: festivals and terms, sunrise and sunset, or dawn and dusk");
  out.Line("  --ganzhi-newyear            the sexagenary year begins at the lunar new year, not at 立春");
  out.Line("  --dynasty                   day: lunar years by era names");
  out.Line("  --monday                    month: weeks from Monday");
  out.Line("  --json                      day, month: one JSON object with the keys of dump");
  out.Line("  --dawn                      table sun: dawn and dusk instead of sunrise and sunset");
  out.Line("  --month N                   search leap: only leap months of month N");
  out.Line("  --close-calls               years: new moons and deciding major terms within 10 minutes of");
  out.Line("                              midnight (date, what, signed minutes from midnight)");
  out.Line("  --holidays FILE             holidays, dump, month, day --json: add announced years from lines");
  out.Line("                              \"YYYY-MM-DD 休 名称\" (or 班); an added year replaces the built-in one");
  out.Line("  --terms --festivals         ics: the sets to write; with none of them and no --lunar,");
  out.Line("  --holidays                  terms and festivals. --all-festivals: the full festival list");
  out.Line("  --holidays-file FILE        ics: official holidays, with the years FILE adds (as --holidays FILE)");
  out.Line("  --lunar MM-DD TITLE         ics, repeatable: a lunar anniversary in every year; MM 13..24 is a");
  out.Line("                              leap month, on the regular month in years without it; a 30th");
  out.Line("                              falls on the 29th of a short month. SOURCE_DATE_EPOCH fixes DTSTAMP");
  out.Line("  --count N                   next: how many dates (1..1000, default 5)");
  out.Line("  --from DATE                 next: from this day on (default today)");
  out.Line("  search days conditions, each a number or a name of its list:");
  out.Line("    --gmonth --gday --lmonth (13..24 leap) --lday --hmonth --hday");
  out.Line("    --gz-year --gz-month --gz-day (1..60 or e.g. 甲子年) --weekday (1 = 星期一)");
  out.Line("    --term (e.g. 立春) --festival (复活节, 母亲节, 父亲节, 感恩节)");
  out.Line("  --help                      show this text");
  out.Line("  --version                   show the version");
  out.Line("");
  out.Line("Output is UTF-8. Bad input ends with exit code 2 and a one-line message; output that");
  out.Line("cannot be written (a full disk) ends with exit code 1. On a terminal, month shows today");
  out.Line("in reverse video and marks official days off (休) and make-up working days (班);");
  out.Line("not when the output is a pipe or a file, or NO_COLOR is set. holidays Y ends with exit");
  out.Line("code 1 when the arrangement of Y is not announced.");
}

// The option is the command's; values is how many values it takes (one per
// trailing "=" of its entry).
bool Accepts(const Command& c, std::string_view name, std::size_t& values) {
  for (std::string_view o : kCommonOptions) {
    if (o == name) {
      values = 0;
      return true;
    }
  }
  for (std::string_view o : c.options) {
    const std::size_t nameEnd = o.find_last_not_of('=') + 1;
    if (o.substr(0, nameEnd) == name) {
      values = o.size() - nameEnd;
      return true;
    }
  }
  return false;
}

}  // namespace

namespace {

int RunCommandLine(const std::vector<std::string>& commandLine, Output& out) {
  // Without a command (nothing, or options only), today's day view.
  std::vector<std::string> args = commandLine;
  if (args.empty() || args[0].rfind("--", 0) == 0) args.insert(args.begin(), "day");
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h" || a == "help") {
      PrintHelp(out);
      return kOk;
    }
    if (a == "--version") {
      out.Line("tovani 4.1");
      return kOk;
    }
  }
  const std::string& name = args[0];
  const auto it = std::find_if(Commands().begin(), Commands().end(), [&](const Command& c) { return c.name == name; });
  if (it == Commands().end()) return out.Fail("unknown command " + Quoted(name) + " (see tovani --help)");
  const Command& command = *it;

  Invocation inv;
  inv.command = name;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    // Options start with "--"; a single "-" before a digit is a negative number.
    if (a.size() >= 2 && a[0] == '-' && (a[1] < '0' || a[1] > '9')) {
      if (a.size() < 3 || a[1] != '-') return out.Fail("unknown option " + Quoted(a) + " (see tovani --help)");
      std::string optionName = a.substr(2), value = "1";
      const auto eq = optionName.find('=');
      std::size_t values = 0;
      if (eq != std::string::npos) {
        value = optionName.substr(eq + 1);
        optionName.resize(eq);
      }
      if (!Accepts(command, optionName, values)) {
        return out.Fail("unknown option " + Quoted(a) + " for " + std::string(command.name) + " (see tovani --help)");
      }
      if (values > 0 && eq == std::string::npos) {
        if (i + 1 >= args.size()) return out.Fail("option " + Quoted(a) + " needs a value");
        value = args[++i];
      } else if (values == 0 && eq != std::string::npos) {
        return out.Fail("option " + Quoted(a) + " takes no value");
      }
      std::vector<std::string> all{value};
      while (all.size() < values) {
        if (i + 1 >= args.size()) {
          return out.Fail("option " + Quoted(a) + " needs " + std::to_string(values) + " values");
        }
        all.push_back(args[++i]);
      }
      inv.options[optionName] = value;
      inv.occurrences.emplace(optionName, std::move(all));
    } else {
      inv.args.push_back(a);
    }
  }
  if (inv.args.size() < command.minArgs || inv.args.size() > command.maxArgs) {
    return out.Fail(std::string(command.name) + " takes " + std::string(command.usage) + ", got " +
                    std::to_string(inv.args.size()) + " argument(s)");
  }
  if (inv.Has("traditional")) {
    std::vector<std::string> titles;  // the user's own names
    const auto [first, last] = inv.occurrences.equal_range("lunar");
    for (auto o = first; o != last; ++o) {
      if (o->second.size() > 1) titles.push_back(o->second[1]);
    }
    out.ShowTraditional(titles);
  }
  return command.run(inv, out);
}

}  // namespace

Terminal ProcessTerminal() {
  const char* noColor = std::getenv("NO_COLOR");
  const char* term = std::getenv("TERM");
  const bool dumb = term != nullptr && std::string_view(term) == "dumb";
  // NO_COLOR counts when it is set to anything but the empty text.
  const bool plain = (noColor != nullptr && *noColor != '\0') || dumb;
  return {isatty(STDOUT_FILENO) != 0 && !plain, isatty(STDERR_FILENO) != 0 && !dumb};
}

int Run(const std::vector<std::string>& args, std::ostream& outStream, std::ostream& errStream, Terminal terminal) {
  Output out(outStream, errStream, terminal);
  try {
    return RunCommandLine(args, out);
  } catch (const OutputFailed& failed) {
    errStream << OutputFailedMessage(failed.error) << std::flush;
    return kOutputFailed;
  }
}

int FinishOutput(std::ostream& out, std::ostream& err, int code) {
  errno = 0;
  out.flush();
  if (out || code != kOk) return code;
  err << OutputFailedMessage(errno) << std::flush;
  return kOutputFailed;
}

}  // namespace tovani::cli
