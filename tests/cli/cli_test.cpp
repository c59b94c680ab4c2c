#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tovani::cli {
namespace {

struct Result {
  int code;
  std::string out, err;
};

// Command lines arrive as UTF-8, whatever the program's own text is.
std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

Result RunLine(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int code = Run(args, out, err);
  return {code, out.str(), err.str()};
}

TEST(Cli, DateCommands) {
  struct Case {
    std::vector<std::string> args;
    const char* out;
  };
  const Case cases[] = {
      {{"jd", "2000-01-01"}, "2451545\n"},
      {{"jd", "-103-01-01"}, "1683438\n"},
      {{"jd", "1582-10-15"}, "2299161\n"},
      {{"jd", "2000-1-1"}, "2451545\n"},
      {{"date", "2451545"}, "2000-01-01\tAD01-01-2000\n"},
      {{"date", "1721423"}, "0-12-31\tBC12-31-0001\n"},
      {{"date", "-1930711"}, "-9998-01-01\tBC01-01-9999\n"},
      {{"interval", "1582-10-04", "1582-10-15"}, "1\n"},
      {{"interval", "2024-01-01", "2023-01-01"}, "-365\n"},
      {{"add", "1582-10-04", "1"}, "1582-10-15\tAD10-15-1582\n"},
      {{"add", "1-01-01", "-1"}, "0-12-31\tBC12-31-0001\n"},
  };
  for (const auto& c : cases) {
    const Result r = RunLine(c.args);
    EXPECT_EQ(r.code, kOk) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(r.out, c.out) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(r.err, "");
  }
}

TEST(Cli, BadInputNamesTheArgumentAndExitsWithTwo) {
  struct Case {
    std::vector<std::string> args;
    std::string named;  // must appear in the message
  };
  const Case cases[] = {
      {{"jd", "2024-02-30"}, "'2024-02-30'"},
      {{"jd", "1582-10-10"}, "'1582-10-10'"},
      {{"jd", "10000-01-01"}, "'10000-01-01'"},
      {{"jd", "2024/01/01"}, "'2024/01/01'"},
      {{"jd", "2024-01-01x"}, "'2024-01-01x'"},
      {{"jd", Utf8(u8"二〇二四-01-01")}, Utf8(u8"'二〇二四-01-01'")},
      {{"date", "5373485"}, "'5373485'"},
      {{"date", "12abc"}, "'12abc'"},
      {{"date", "99999999999999999999999"}, "'99999999999999999999999'"},
      {{"add", "9999-12-31", "1"}, "'9999-12-31'"},
      {{"add", "2000-01-01", "1.5"}, "'1.5'"},
      {{"interval", "2000-01-01"}, "interval"},
      {{"frobnicate"}, "'frobnicate'"},
      {{"jd", "--bogus", "2000-01-01"}, "'--bogus'"},
  };
  for (const auto& c : cases) {
    const Result r = RunLine(c.args);
    EXPECT_EQ(r.code, kBadInput) << c.args[0];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
}

TEST(Cli, HelpListsEveryCommand) {
  const Result r = RunLine({"--help"});
  EXPECT_EQ(r.code, kOk);
  for (const char* command : {"jd", "date", "interval", "add"}) {
    EXPECT_NE(r.out.find(std::string("  ") + command + " "), std::string::npos) << command;
  }
  EXPECT_EQ(RunLine({}).code, kBadInput);
}

}  // namespace
}  // namespace tovani::cli
