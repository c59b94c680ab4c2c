#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "tests/cli/cli_runner.h"

namespace tovani::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string WriteFile(const std::string& name, const std::string& content) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

// The 2025 notice: 元旦 1, 春节 8 + 2 make-up days, 清明节 3, 劳动节 5 + 1,
// 端午节 3, 国庆节、中秋节 8 + 2.
TEST(HolidaysCli, TheYearsArrangementOneLineADay) {
  const Result r = RunLine({"holidays", "2025"});
  EXPECT_EQ(r.code, kOk);
  EXPECT_EQ(r.err, "");
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 33u);
  EXPECT_EQ(lines.front(), Utf8(u8"2025-01-01\t休\t元旦"));
  EXPECT_EQ(lines[1], Utf8(u8"2025-01-26\t班\t春节"));
  EXPECT_EQ(lines.back(), Utf8(u8"2025-10-11\t班\t国庆节、中秋节"));
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
  // 2023's 元旦 began on 2022-12-31.
  EXPECT_EQ(Lines(RunLine({"holidays", "2023"}).out).front(), Utf8(u8"2022-12-31\t休\t元旦"));
  // Without a year: this year's.
  ::setenv("TOVANI_TODAY", "2025-06-01", 1);
  const Result thisYear = RunLine({"holidays"});
  ::unsetenv("TOVANI_TODAY");
  EXPECT_EQ(thisYear.out, r.out);
}

TEST(HolidaysCli, AYearNotAnnouncedSaysSoAndEndsWithOne) {
  for (const char* year : {"2099", "1999", "-100"}) {
    const Result r = RunLine({"holidays", year});
    EXPECT_EQ(r.code, 1) << year;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(std::string("the arrangement of ") + year + " is not announced"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

TEST(HolidaysCli, BadInputEndsWithTwo) {
  const std::string directory = testing::TempDir();
  const std::string big = WriteFile("holidays_big.txt", std::string((1 << 20) + 1, '#'));
  const struct {
    std::vector<std::string> args;
    std::string named;
  } cases[] = {
      {{"holidays", "abc"}, "'abc'"},
      {{"holidays", "10000"}, "'10000'"},
      {{"holidays", "2025", "--holidays", "/nonexistent/h.txt"}, "'/nonexistent/h.txt'"},
      {{"holidays", "2025", "--holidays", directory}, "'" + directory + "'"},
      {{"holidays", "2025", "--holidays", big}, "larger than 1 MB"},
      {{"dump", "2025-01-01", "2025-01-01", "--holidays", "/nonexistent/h.txt"}, "'/nonexistent/h.txt'"},
  };
  for (const auto& c : cases) {
    const Result r = RunLine(c.args);
    EXPECT_EQ(r.code, kBadInput) << c.named;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

// A file adds years; each bad line is named in a warning and the rest is used.
TEST(HolidaysCli, AFileAddsYearsAndNamesItsBadLines) {
  const std::string path = WriteFile("holidays_added.txt", "\xEF\xBB\xBF"
                                                           "# 2099\r\n" +
                                                               Utf8(u8"2099-01-01 休 元旦\r\n") +
                                                               "not a line\r\n" +
                                                               Utf8(u8"2099-10-01 班 国庆节\n") +
                                                               "2099-10-02 \xff\xfe\n" +
                                                               Utf8(u8"2099-10-03 休 😀\n") +
                                                               Utf8(u8"2099-10-04 休 \x1b[2J\n") +
                                                               Utf8(u8"2025-10-09 休 国庆节\n"));
  const Result r = RunLine({"holidays", "2099", "--holidays", path});
  EXPECT_EQ(r.code, kOk) << r.err;
  EXPECT_EQ(r.out, Utf8(u8"2099-01-01\t休\t元旦\n2099-10-01\t班\t国庆节\n"));
  EXPECT_EQ(r.err, "tovani: " + path + ":3: skipped 'not a line'\n" +
                       "tovani: " + path + ":5: skipped '2099-10-02 \\xff\\xfe'\n" +
                       "tovani: " + path + ":6: skipped '2099-10-03 " + Utf8(u8"休") + " \\u{1f600}'\n" +
                       "tovani: " + path + ":7: skipped '2099-10-04 " + Utf8(u8"休") + " \\x1b[2J'\n");
  // An added year replaces the built-in one.
  EXPECT_EQ(RunLine({"holidays", "2025", "--holidays", path}).out, Utf8(u8"2025-10-09\t休\t国庆节\n"));
  const Result dump = RunLine({"dump", "2099-01-01", "2099-01-01", "--holidays", path});
  EXPECT_NE(dump.out.find(Utf8(u8"\"holiday\":\"休 元旦\"")), std::string::npos) << dump.out;
}

TEST(HolidaysCli, DumpGivesEachDaysHoliday) {
  const struct {
    const char* date;
    const char8_t* holiday;
  } cases[] = {
      {"2025-10-01", u8"休 国庆节、中秋节"},
      {"2025-09-28", u8"班 国庆节、中秋节"},
      {"2025-03-03", u8""},
      {"2099-10-01", u8""},  // not announced
  };
  for (const auto& c : cases) {
    const Result r = RunLine({"dump", c.date, c.date});
    EXPECT_EQ(r.code, kOk);
    EXPECT_NE(r.out.find("\"holiday\":\"" + Utf8(c.holiday) + "\""), std::string::npos) << r.out;
  }
}

}  // namespace
}  // namespace tovani::cli
