#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "cli/cli.h"
#include "tests/cli/cli_runner.h"
#include "app/ics_writer.h"

namespace tovani::cli {
namespace {

std::vector<std::string> LinesStarting(const std::string& file, const std::string& prefix) {
  std::vector<std::string> found;
  std::istringstream in(file);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 1));
  }
  return found;
}

// RFC 5545 3.1: at most 75 octets a line, a continuation starts with a blank
// that counts; a cut never falls inside a UTF-8 sequence.
TEST(IcsWriter, FoldsAt75OctetsBetweenCharacters) {
  const std::string zhong = Utf8(u8"中"), face = Utf8(u8"😀");
  const auto repeat = [](const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
  };
  struct Case {
    std::string line, folded;
  };
  const Case cases[] = {
      {std::string(75, 'a'), std::string(75, 'a') + "\r\n"},
      {std::string(76, 'a'), std::string(75, 'a') + "\r\n a\r\n"},
      {std::string(75 + 74 + 1, 'a'), std::string(75, 'a') + "\r\n " + std::string(74, 'a') + "\r\n a\r\n"},
      // 8 + 22 * 3 = 74 octets fit; the 23rd character would end at 77.
      {"SUMMARY:" + repeat(zhong, 30), "SUMMARY:" + repeat(zhong, 22) + "\r\n " + repeat(zhong, 8) + "\r\n"},
      // 1 + 24 * 3 = 73 octets in a continuation line.
      {"SUMMARY:" + repeat(zhong, 50),
       "SUMMARY:" + repeat(zhong, 22) + "\r\n " + repeat(zhong, 24) + "\r\n " + repeat(zhong, 4) + "\r\n"},
      // Four-byte characters: 3 + 18 * 4 = 75.
      {"ab:" + repeat(face, 19), "ab:" + repeat(face, 18) + "\r\n " + face + "\r\n"},
      {"", "\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FoldIcsLine(c.line), c.folded) << c.line;
}

TEST(IcsWriter, EscapesText) {
  struct Case {
    std::string text, value;
  };
  const Case cases[] = {
      {"a,b;c\\d", "a\\,b\\;c\\\\d"},
      {"one\ntwo\r\nthree\rfour", "one\\ntwo\\nthree\\nfour"},
      {"\x1b[31mred\x7f\ttab", "[31mred\ttab"},
      {Utf8(u8"生日，快乐"), Utf8(u8"生日，快乐")},  // a full-width comma is no separator
  };
  for (const Case& c : cases) EXPECT_EQ(IcsText(c.text), c.value) << c.text;
}

// Julian dates of the program, written as the Gregorian dates of the same days.
TEST(IcsWriter, DatesAndStamps) {
  struct DateCase {
    DayNumber day;
    const char* text;
  };
  const DateCase dates[] = {
      {DateToDayNumber(2000, 1, 1), "20000101"},  {DateToDayNumber(1582, 10, 15), "15821015"},
      {DateToDayNumber(1582, 10, 4), "15821014"}, {DateToDayNumber(1000, 1, 1), "10000106"},
      {DateToDayNumber(1, 1, 3), "00010101"},     {DateToDayNumber(1, 1, 2), ""},
      {DateToDayNumber(9999, 12, 30), "99991230"}, {DateToDayNumber(9999, 12, 31), ""},
  };
  for (const DateCase& c : dates) EXPECT_EQ(IcsDate(c.day), c.text) << c.day;
  struct StampCase {
    std::int64_t seconds;
    const char* text;
  };
  const StampCase stamps[] = {
      {0, "19700101T000000Z"},           {1700000000, "20231114T221320Z"},
      {-1, "19691231T235959Z"},          {951782400, "20000229T000000Z"},
      {253402300799, "99991231T235959Z"}, {253402300800, ""},
      {-62135596800, "00010101T000000Z"}, {-62135596801, ""},
  };
  for (const StampCase& c : stamps) EXPECT_EQ(IcsUtcStamp(c.seconds), c.text) << c.seconds;
}

TEST(IcsWriter, WritesCrlfLinesAndEachUidOnce) {
  std::ostringstream out;
  IcsWriter writer(out, "20240101T000000Z");
  const DayNumber day = DateToDayNumber(2024, 12, 21);
  EXPECT_TRUE(writer.Add({day, "term", Utf8(u8"冬至"), "", ""}));
  EXPECT_FALSE(writer.Add({day, "term", Utf8(u8"冬至"), "another description", ""}));
  EXPECT_TRUE(writer.Add({day, "festival", Utf8(u8"冬至"), "", ""}));
  EXPECT_TRUE(writer.Add({day + 1, "term", Utf8(u8"冬至"), "", ""}));
  EXPECT_FALSE(writer.Add({kFirstIcsDay - 1, "term", "x", "", ""}));
  writer.Finish();
  const std::string file = out.str();
  EXPECT_EQ(writer.EventCount(), 3u);
  EXPECT_EQ(file.rfind("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n", 0), 0u);
  EXPECT_EQ(file.substr(file.size() - 15), "END:VCALENDAR\r\n");
  for (std::size_t i = file.find('\n'); i != std::string::npos; i = file.find('\n', i + 1)) {
    ASSERT_EQ(file[i - 1], '\r') << "a bare line feed at " << i;
  }
  const auto uids = LinesStarting(file, "UID:");
  EXPECT_EQ(uids.size(), 3u);
  EXPECT_EQ(std::set<std::string>(uids.begin(), uids.end()).size(), 3u);
  EXPECT_EQ(LinesStarting(file, "DTSTART;VALUE=DATE:"), (std::vector<std::string>{"20241221", "20241221", "20241222"}));
  EXPECT_EQ(LinesStarting(file, "DTEND;VALUE=DATE:"), (std::vector<std::string>{"20241222", "20241222", "20241223"}));
}

// The same events get the same UIDs in every export, whenever it is made and
// whatever span holds them; only DTSTAMP differs.
TEST(Ics, ExportsAreStable) {
  const std::vector<std::string> args = {"ics", "2024-01-01", "2024-12-31", "--terms", "--festivals",
                                         "--lunar", "08-15", Utf8(u8"团圆"), "--lunar", "01-01", "x"};
  std::string first, second;
  {
    const ScopedEnv stamp("SOURCE_DATE_EPOCH", "1700000000");
    first = RunLine(args).out;
  }
  {
    const ScopedEnv stamp("SOURCE_DATE_EPOCH", "1800000000");
    second = RunLine(args).out;
  }
  const auto uids = LinesStarting(first, "UID:");
  // 24 terms; 17 main Gregorian festivals (复活节 and the weekday rules among
  // them) and 13 lunar ones (腊八 of lunar 2023 in January); 2 anniversaries.
  EXPECT_EQ(uids.size(), 24u + 17u + 13u + 2u);
  EXPECT_EQ(uids, LinesStarting(second, "UID:"));
  EXPECT_EQ(LinesStarting(first, "DTSTAMP:"), std::vector<std::string>(uids.size(), "20231114T221320Z"));
  auto part = args;
  part[1] = "2024-09-01";
  part[2] = "2024-09-30";
  for (const std::string& uid : LinesStarting(RunLine(part).out, "UID:")) {
    EXPECT_NE(std::find(uids.begin(), uids.end(), uid), uids.end()) << uid;
  }
}

TEST(Ics, ChoosesTheSets) {
  const ScopedEnv stamp("SOURCE_DATE_EPOCH", "0");
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> summaries;
  };
  // 2018-04-01: 愚人节 and 复活节 (Easter); 2024-12-21: 冬至 (and the full list's 国际篮球日);
  // 2024-10-01: 国庆节, a day off.
  const Case cases[] = {
      {{"ics", "2018-04-01", "2018-04-01"}, {Utf8(u8"愚人节"), Utf8(u8"复活节")}},
      {{"ics", "2024-12-21", "2024-12-21"}, {Utf8(u8"冬至")}},
      {{"ics", "2024-12-21", "2024-12-21", "--all-festivals"}, {Utf8(u8"国际篮球日")}},
      {{"ics", "2024-10-01", "2024-10-01", "--holidays"}, {Utf8(u8"休 国庆节")}},
      {{"ics", "2024-10-01", "2024-10-01", "--lunar", "08-29", "a", "--lunar=08-29", "b"}, {"a", "b"}},
  };
  for (const Case& c : cases) {
    const Result r = RunLine(c.args);
    EXPECT_EQ(r.code, kOk) << c.args[1];
    EXPECT_EQ(LinesStarting(r.out, "SUMMARY:"), c.summaries) << c.args[1];
  }
}

TEST(Ics, ReadsHolidayAdditions) {
  const ScopedEnv stamp("SOURCE_DATE_EPOCH", "0");
  const std::string path = testing::TempDir() + "ics_holidays.txt";
  std::ofstream(path) << Utf8(u8"2090-10-01 休 国庆节\n2090-10-02 maybe\n2090-09-30 班 国庆节\n");
  const Result r = RunLine({"ics", "2090-09-30", "2090-10-02", "--holidays-file", path});
  std::remove(path.c_str());
  EXPECT_EQ(r.code, kOk);
  EXPECT_EQ(LinesStarting(r.out, "SUMMARY:"), (std::vector<std::string>{Utf8(u8"班 国庆节"), Utf8(u8"休 国庆节")}));
  EXPECT_NE(r.err.find("2090-10-02 maybe"), std::string::npos) << r.err;  // the warning names the line
}

TEST(Next, ListsTheComingDates) {
  const ScopedEnv today("TOVANI_TODAY", "2024-09-18");
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  // Published: 中秋 2024-09-17 (Tuesday), 2025-10-06 (Monday); 除夕 2025-01-28 is
  // 腊月廿九; 2023's 闰二月 has 29 days, 2024's 二月 30.
  const Case cases[] = {
      {{"next", "08-15", "--from", "2024-09-17", "--count", "2"},
       Utf8(u8"2024-09-17\t星期二\t今天\t八月十五\n2025-10-06\t星期一\t384天后\t八月十五\n")},
      {{"next", "08-15", "--count", "1"}, Utf8(u8"2025-10-06\t星期一\t383天后\t八月十五\n")},
      {{"next", "12-30", "--from", "2025-01-01", "--count", "1"}, Utf8(u8"2025-01-28\t星期二\t27天后\t腊月廿九\n")},
      {{"next", "14-30", "--from", "2023-01-01", "--count", "2"},
       Utf8(u8"2023-04-19\t星期三\t108天后\t闰二月廿九\n2024-04-08\t星期一\t463天后\t二月三十\n")},
  };
  for (const Case& c : cases) {
    const Result r = RunLine(c.args);
    EXPECT_EQ(r.code, kOk) << c.args[1];
    EXPECT_EQ(r.out, c.out) << c.args[1];
  }
}

TEST(CalendarFiles, BadInputNamesTheArgumentAndExitsWithTwo) {
  struct Case {
    std::vector<std::string> args;
    std::string named;
  };
  const Case cases[] = {
      {{"ics", "2025-01-01", "2024-01-01"}, "'2024-01-01'"},
      {{"ics", "1-01-02", "1-12-31"}, "'1-01-02'"},
      {{"ics", "9000-01-01", "9001-01-01"}, "'9001-01-01'"},
      {{"ics", "1000-01-01", "2000-01-01"}, "1000 years"},
      {{"ics", "2024-01-01", "2024-12-31", "--lunar", "25-01", "x"}, "'25-01'"},
      {{"ics", "2024-01-01", "2024-12-31", "--lunar", "08-31", "x"}, "'08-31'"},
      {{"ics", "2024-01-01", "2024-12-31", "--lunar", "08-15"}, "'--lunar'"},
      {{"ics", "2024-01-01", "2024-12-31", "--lunar", "08-15", " "}, "'08-15'"},
      {{"ics", "2024-01-01", "2024-12-31", "--lunar", "08-15", "\xff"}, "\\xff"},
      {{"ics", "2024-01-01", "2024-12-31", "--holidays-file", "/nonexistent/h.txt"}, "'/nonexistent/h.txt'"},
      {{"next", "13"}, "'13'"},
      {{"next", "0-01"}, "'0-01'"},
      {{"next", "08-15", "--count", "0"}, "'0'"},
      {{"next", "08-15", "--count", "1001"}, "'1001'"},
      {{"next", "08-15", "--from", "2024-02-30"}, "'2024-02-30'"},
      {{"next", "08-15", "--from", "9500-01-01"}, "'9500-01-01'"},
  };
  for (const Case& c : cases) {
    const Result r = RunLine(c.args);
    EXPECT_EQ(r.code, kBadInput) << c.named;
    EXPECT_EQ(r.out, "") << c.named;
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
  }
  const ScopedEnv stamp("SOURCE_DATE_EPOCH", "soon");
  const Result r = RunLine({"ics", "2024-01-01", "2024-01-02"});
  EXPECT_EQ(r.code, kBadInput);
  EXPECT_NE(r.err.find("'soon'"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace tovani::cli
