#include "cli/cli_parse.h"

#include <charconv>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "cli/cli_common.h"

namespace tovani::cli {

namespace {

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

std::optional<Invocation> ParseInvocation(const Command& command, const std::vector<std::string>& args,
                                          std::string& message) {
  Invocation inv;
  inv.command = args[0];
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    // Options start with "--"; a single "-" before a digit is a negative number.
    if (a.size() >= 2 && a[0] == '-' && (a[1] < '0' || a[1] > '9')) {
      if (a.size() < 3 || a[1] != '-') {
        message = "unknown option " + Quoted(a) + " (see tovani --help)";
        return std::nullopt;
      }
      std::string optionName = a.substr(2), value = "1";
      const auto eq = optionName.find('=');
      std::size_t values = 0;
      if (eq != std::string::npos) {
        value = optionName.substr(eq + 1);
        optionName.resize(eq);
      }
      if (!Accepts(command, optionName, values)) {
        message = "unknown option " + Quoted(a) + " for " + std::string(command.name) + " (see tovani --help)";
        return std::nullopt;
      }
      if (values > 0 && eq == std::string::npos) {
        if (i + 1 >= args.size()) {
          message = "option " + Quoted(a) + " needs a value";
          return std::nullopt;
        }
        value = args[++i];
      } else if (values == 0 && eq != std::string::npos) {
        message = "option " + Quoted(a) + " takes no value";
        return std::nullopt;
      }
      std::vector<std::string> all{value};
      while (all.size() < values) {
        if (i + 1 >= args.size()) {
          message = "option " + Quoted(a) + " needs " + std::to_string(values) + " values";
          return std::nullopt;
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
    message = std::string(command.name) + " takes " + std::string(command.usage) + ", got " +
              std::to_string(inv.args.size()) + " argument(s)";
    return std::nullopt;
  }
  return inv;
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

}  // namespace tovani::cli
