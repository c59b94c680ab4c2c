#include "cli/cli.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ostream>

#include "cli/cli_common.h"
#include "engine/date_text.h"
#include "engine/solar_terms.h"
#include "framework/codepage.h"

namespace tovani::cli {

std::string Output::Cp936ToUtf8Text(std::string_view gbk) { return Cp936ToUtf8(gbk); }

int Output::Fail(std::string_view gbk) {
  err_ << "tovani: " << Cp936ToUtf8(gbk) << '\n';
  return kBadInput;
}

std::string Quoted(std::string_view s) { return "'" + Utf8ToCp936(s) + "'"; }

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

std::optional<CivilDate> ParseDate(std::string_view s, std::string& message) {
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
    return all;
  }();
  return commands;
}

// Options every command takes.
constexpr std::string_view kCommonOptions[] = {"modern"};

void PrintHelp(Output& out) {
  out.Line("usage: tovani COMMAND ARGUMENTS... [OPTIONS]");
  out.Line("");
  out.Line("Dates are Y-MM-DD with astronomical years: 0 is 1 BC, -103-01-01 is 104 BC.");
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
  out.Line("  --city N                    day, month, table sun, dump: the place, 1..43 (default 2, 北京)");
  out.Line("  --info 0|1|2                day: festivals and terms, sunrise and sunset, or dawn and dusk");
  out.Line("  --ganzhi-newyear            the sexagenary year begins at the lunar new year, not at 立春");
  out.Line("  --dynasty                   day: lunar years by era names");
  out.Line("  --dawn                      table sun: dawn and dusk instead of sunrise and sunset");
  out.Line("  --month N                   search leap: only leap months of month N");
  out.Line("  search days conditions, each a number or a name of its list:");
  out.Line("    --gmonth --gday --lmonth (13..24 leap) --lday --hmonth --hday");
  out.Line("    --gz-year --gz-month --gz-day (1..60 or e.g. 甲子年) --weekday (1 = 星期一)");
  out.Line("    --term (e.g. 立春) --festival (复活节, 母亲节, 父亲节, 感恩节)");
  out.Line("  --help                      show this text");
  out.Line("  --version                   show the version");
  out.Line("");
  out.Line("Output is UTF-8. Bad input ends with exit code 2 and a one-line message.");
}

bool Accepts(const Command& c, std::string_view name, bool& takesValue) {
  for (std::string_view o : kCommonOptions) {
    if (o == name) {
      takesValue = false;
      return true;
    }
  }
  for (std::string_view o : c.options) {
    if (o == name) {
      takesValue = false;
      return true;
    }
    if (o.size() == name.size() + 1 && o.back() == '=' && o.substr(0, name.size()) == name) {
      takesValue = true;
      return true;
    }
  }
  return false;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& outStream, std::ostream& errStream) {
  Output out(outStream, errStream);
  if (args.empty()) {
    PrintHelp(out);
    return kBadInput;
  }
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
      bool takesValue = false;
      if (eq != std::string::npos) {
        value = optionName.substr(eq + 1);
        optionName.resize(eq);
      }
      if (!Accepts(command, optionName, takesValue)) {
        return out.Fail("unknown option " + Quoted(a) + " for " + std::string(command.name) + " (see tovani --help)");
      }
      if (takesValue && eq == std::string::npos) {
        if (i + 1 >= args.size()) return out.Fail("option " + Quoted(a) + " needs a value");
        value = args[++i];
      } else if (!takesValue && eq != std::string::npos) {
        return out.Fail("option " + Quoted(a) + " takes no value");
      }
      inv.options[optionName] = value;
    } else {
      inv.args.push_back(a);
    }
  }
  if (inv.args.size() < command.minArgs || inv.args.size() > command.maxArgs) {
    return out.Fail(std::string(command.name) + " takes " + std::string(command.usage) + ", got " +
                    std::to_string(inv.args.size()) + " argument(s)");
  }
  SetCalcModernFlag(inv.Has("modern") ? 1 : 0);
  return command.run(inv, out);
}

}  // namespace tovani::cli
