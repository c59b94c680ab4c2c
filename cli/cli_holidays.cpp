// Official holidays: the year's arrangement, and additions from a file.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli/cli_common.h"
#include "engine/holidays.h"
#include "framework/codepage.h"

namespace tovani::cli {
namespace {

// Additions are a few lines a year.
constexpr std::size_t kMaxHolidayFileBytes = 1 << 20;

// `holidays Y` for a year whose arrangement is not announced: no result, though
// the input was good.
constexpr int kNotAnnounced = 1;

// A user's text (UTF-8) in a message, escaped like an argument but without the quotes.
std::string Unquoted(std::string_view s) {
  const std::string quoted = Quoted(s);
  return quoted.substr(1, quoted.size() - 2);
}

// The whole file, or nothing with the message.
std::optional<std::string> ReadHolidayFile(const std::string& path, std::string& message) {
  message = "cannot read the holidays file " + Quoted(path);
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text;
  char buffer[1 << 14];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxHolidayFileBytes) {
      message = "the holidays file " + Quoted(path) + " is larger than 1 MB";
      return std::nullopt;
    }
  }
  if (in.bad()) return std::nullopt;
  return text;
}

int RunHolidays(const Invocation& inv, Output& out) {
  std::string message;
  std::int32_t year = 0;
  if (inv.args.empty()) {
    const auto today = Today(message);
    if (!today) return out.Fail(message);
    year = today->year;
  } else {
    const auto y = ParseBounded(inv.args[0], -9998, 9999, "year", message);
    if (!y) return out.Fail(message);
    year = static_cast<std::int32_t>(*y);
  }
  int code = kOk;
  const auto holidays = HolidaysOption(inv, out, code);
  if (!holidays) return code;
  if (!holidays->Announced(year)) {
    const HolidayCalendar builtIn;
    out.Note("tovani: the arrangement of " + std::to_string(year) + " is not announced (built in: " +
             std::to_string(builtIn.FirstYear()) + ".." + std::to_string(builtIn.LastYear()) +
             "; add a year with --holidays FILE)\n");
    return kNotAnnounced;
  }
  for (const HolidayDay& day : holidays->Arrangement(year)) {
    out.Line(IsoText(day.date) + "\t" + HolidayMark(day.status) + "\t" + day.name);
  }
  return kOk;
}

}  // namespace

std::optional<HolidayCalendar> HolidaysOption(const Invocation& inv, Output& out, int& code) {
  HolidayCalendar calendar;
  if (!inv.Has("holidays")) return calendar;
  const std::string& path = inv.options.at("holidays");
  std::string message;
  auto text = ReadHolidayFile(path, message);
  if (!text) {
    code = out.Fail(message);
    return std::nullopt;
  }
  if (text->compare(0, 3, "\xEF\xBB\xBF") == 0) text->erase(0, 3);  // a byte-order mark

  // Lines go to the engine as program text; a line that is not UTF-8, or holds
  // a character program text cannot, is skipped here and given as empty.
  std::vector<std::string> lines;
  std::string converted;
  std::vector<int> skipped;
  for (std::size_t start = 0; start <= text->size();) {
    std::size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    std::string line = text->substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string gbk = Utf8ToCp936(line);
    if (Cp936ToUtf8(gbk) == line) {
      converted += gbk;
    } else {
      skipped.push_back(static_cast<int>(lines.size()) + 1);
    }
    converted += '\n';
    lines.push_back(std::move(line));
  }
  for (const HolidayLineError& e : calendar.AddText(converted)) skipped.push_back(e.line);
  std::sort(skipped.begin(), skipped.end());
  for (int line : skipped) {
    if (line < 1 || static_cast<std::size_t>(line) > lines.size()) continue;
    out.Note("tovani: " + Unquoted(path) + ":" + std::to_string(line) + ": skipped " +
             Quoted(lines[static_cast<std::size_t>(line - 1)]) + "\n");
  }
  return calendar;
}

std::vector<Command> HolidayCommands() {
  return {
      {"holidays", "[Y]",
       "official days off (休) and make-up working days (班) of year Y's arrangement (default this year)", 0, 1,
       {"holidays="}, RunHolidays},
  };
}

}  // namespace tovani::cli
