// Generated command lines against the tool: whatever the arguments, it ends
// with a known exit code, a failure says one line, and nothing the user typed
// reaches the terminal raw.  Run under AddressSanitizer and UBSan, a crash or
// undefined behaviour fails the test too.
#include <stdlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "cli/cli.h"

namespace tovani::cli {
namespace {

// Output with room for a few kilobytes, then failing like a full disk: a long
// listing stops early (exit code 1) instead of taking the test's time.
class SmallDisk : public std::streambuf {
 public:
  std::string text;

 protected:
  int_type overflow(int_type c) override {
    if (text.size() >= kRoom) return traits_type::eof();
    text += static_cast<char>(c);
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    const auto taken = std::min<std::streamsize>(n, static_cast<std::streamsize>(kRoom - text.size()));
    text.append(s, static_cast<std::size_t>(taken));
    return taken;
  }

 private:
  static constexpr std::size_t kRoom = 4096;
};

// Well-formed UTF-8 (what Quoted escapes must leave behind).
bool IsUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t length =
        c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > s.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// A command and the arguments its help line names ("add DATE N").
struct Shape {
  std::string name;
  std::vector<std::string> arguments;  // "[N]" for an optional one
};

// The commands as the help lists them, so that new ones are fuzzed too.
std::vector<Shape> HelpCommands() {
  std::ostringstream out, err;
  Run({"--help"}, out, err);
  std::vector<Shape> shapes;
  std::istringstream lines(out.str());
  std::string line;
  bool listing = false;
  while (std::getline(lines, line)) {
    if (line == "commands:") {
      listing = true;
    } else if (line.empty()) {
      listing = false;
    } else if (listing && line.size() > 2 && line[2] != ' ') {
      // The name and arguments fill the first 30 columns (or a line of their own).
      std::istringstream head(line.size() > 30 && line[29] == ' ' ? line.substr(2, 27) : line.substr(2));
      Shape shape;
      head >> shape.name;
      for (std::string word; head >> word;) shape.arguments.push_back(word);
      shapes.push_back(shape);
    }
  }
  return shapes;
}

std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

TEST(CliFuzz, AnyArgumentsGiveAKnownExitCodeAndOneLineMessages) {
  setenv("TOVANI_TODAY", "2024-02-10", 1);
  const std::vector<Shape> commands = HelpCommands();
  ASSERT_GE(commands.size(), 16u);
  // Additions with a line to warn about: a warning must not come before an error.
  const std::string additions = testing::TempDir() + "tovani_fuzz_holidays.txt";
  std::ofstream(additions) << "2030-01-01 \xe4\xbc\x91 New Year\nnot a holiday\n";
  // Pieces of command lines: dates and numbers at and beyond every limit,
  // words of the commands, options with and without values, and text that
  // a terminal would act on.
  const std::vector<std::string> dates = {
      "2024-02-10", "today", "-103-01-01", "4103-12-31", "-9998-01-01", "9999-12-31", "1582-10-04", "1582-10-10",
      "2024-02-30", "2024-02", "2024-13", "0-0-0", "--1-01-01", "2024-1-1-1", "2023-14-20", "2023-13-01", "12-30",
      "24-01", "99999-01-01", "2024-02-10x"};
  const std::vector<std::string> numbers = {
      "2024", "-104", "-103", "4103", "5000", "5001", "0", "1", "-1", "3", "30", "44", "2451545", "-1930712",
      "9223372036854775807", "-9223372036854775808", "99999999999999999999", "1e9", "0x10", "+5", "1.5"};
  const std::vector<std::string> words = {
      "leap", "big3", "days", "weeks", "terms", "months", "sun", "moons", Utf8(u8"建武"), Utf8(u8"清代康熙"),
      Utf8(u8"天福"), Utf8(u8"民国"), Utf8(u8"立春"), Utf8(u8"复活节"), "x"};
  const std::vector<std::string> options = {
      "--city", "--city=0", "--city=21", "--city=44", "--json", "--info", "--info=2", "--dawn", "--modern",
      "--modern=1", "--dynasty", "--ganzhi-newyear", "--month", "--month=7", "--gday=1", "--term=x", "--holidays",
      "--count=3", "--from=today", "--lunar", "--terms", "--festivals", "--close-calls", "--bogus", "--", "-", "-x",
      "--holidays=" + additions, "--holidays-file=" + additions};
  const std::vector<std::string> hostile = {
      "", " ", "\n", "a\nb", "\x1b[2J", "\x1b]0;x\x07", "\r", "\t", "\x7f", "\xc2\x9b", "\xff", "\xe4\xb8",
      "\xed\xa0\x80", Utf8(u8"\U0001F600"), Utf8(u8"\u202e"), "\\", "'", "x=y", "%s%n"};
  std::mt19937 random(20240210);
  const auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
  const auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  // A piece for an argument of the help line, now and then any piece at all.
  const auto argument = [&](const std::string& usage) {
    if (chance(10)) {
      const std::vector<std::string>* all[] = {&dates, &numbers, &words, &options, &hostile};
      return pick(*all[std::uniform_int_distribution<int>(0, 4)(random)]);
    }
    if (usage.find("DATE") != std::string::npos || usage.find("-M") != std::string::npos) return pick(dates);
    if (usage.find("START") != std::string::npos || usage.find("END") != std::string::npos) {
      return pick(chance(50) ? dates : numbers);
    }
    if (usage == "N" || usage == "[N]" || usage == "Y" || usage == "RANGE") return pick(numbers);
    return pick(chance(70) ? words : numbers);
  };
  for (int run = 0; run < 3000; ++run) {
    std::vector<std::string> args;
    if (!chance(5)) {
      const Shape& shape = commands[std::uniform_int_distribution<std::size_t>(0, commands.size() - 1)(random)];
      args.push_back(shape.name);
      for (const std::string& usage : shape.arguments) {
        if (usage[0] != '[' || chance(50)) args.push_back(argument(usage));
      }
      if (chance(5)) args.push_back(argument("?"));
      if (chance(5) && args.size() > 1) args.pop_back();
    }
    if (chance(40)) {
      const auto at = std::uniform_int_distribution<std::size_t>(args.empty() ? 0 : 1, args.size())(random);
      args.insert(args.begin() + static_cast<std::ptrdiff_t>(at), pick(chance(80) ? options : hostile));
    }
    std::string line;
    for (const std::string& a : args) line += "[" + a + "] ";

    SmallDisk disk;
    std::ostream out(&disk);
    std::ostringstream err;
    const int code = cli::Run(args, out, err);
    const std::string message = err.str();
    ASSERT_TRUE(code == kOk || code == kOutputFailed || code == kBadInput) << code << ": " << line;
    // Bad input is said in one line.  Exit code 1 (a failed write, a year
    // without results) may follow notes said before it (a range cut, say).
    if (code == kBadInput) {
      ASSERT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << line << "\n" << message;
    }
    if (code != kOk) {
      ASSERT_EQ(message.back(), '\n') << line;
    }
    for (std::size_t start = 0; start < message.size(); start = message.find('\n', start) + 1) {
      ASSERT_EQ(message.compare(start, 8, "tovani: "), 0) << line << "\n" << message;
    }
    if (code == kBadInput) {
      ASSERT_EQ(disk.text, "") << line;
    }
    ASSERT_TRUE(std::none_of(message.begin(), message.end(),
                             [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F; }))
        << line << "\n" << message;
    ASSERT_TRUE(IsUtf8(message)) << line << "\n" << message;
  }
  unsetenv("TOVANI_TODAY");
}

}  // namespace
}  // namespace tovani::cli
