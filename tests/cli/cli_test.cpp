#include "cli/cli.h"
#include "cli/cli_common.h"
#include "tests/cli/cli_runner.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <ctime>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>

#include "framework/codepage.h"
#include "framework/traditional.h"

namespace tovani::cli {
namespace {

// A stream buffer with room for some bytes, then failing like a full disk.
class FullBuffer : public std::streambuf {
 public:
  explicit FullBuffer(std::size_t room) : room_(room) {}
  std::size_t offered = 0;

 protected:
  int_type overflow(int_type c) override {
    ++offered;
    if (room_ == 0) return traits_type::eof();
    --room_;
    return c;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    offered += static_cast<std::size_t>(n);
    const auto taken = std::min<std::streamsize>(n, static_cast<std::streamsize>(room_));
    room_ -= static_cast<std::size_t>(taken);
    return taken;
  }

 private:
  std::size_t room_;
};

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
      // Counts far beyond the calendar, up to the limits of a 64-bit integer.
      {{"add", "2000-01-01", "9223372036854775807"}, "'9223372036854775807'"},
      {{"add", "2000-01-01", "-9223372036854775808"}, "'-9223372036854775808'"},
      // What the terminal would act on is shown escaped: line breaks, escape
      // sequences, C1 controls, bytes that are no UTF-8, characters that code
      // page 936 cannot hold; a backslash is doubled so that nothing is ambiguous.
      {{"jd", "1\n2"}, "'1\\n2'"},
      {{"jd", "\x1b[2J\r\t"}, "'\\x1b[2J\\r\\t'"},
      {{"jd", "a\xc2\x9b" "31m\x7f"}, "'a\\u{9b}31m\\x7f'"},
      {{"jd", "\xff\xe4\xb8"}, "'\\xff\\xe4\\xb8'"},
      {{"jd", Utf8(u8"日\U0001F600")}, Utf8(u8"'日\\u{1f600}'")},
      {{"jd", "a\\b"}, "'a\\\\b'"},
      {{"day", "--info", "\n"}, "'\\n'"},
      // What the user typed, not what it was completed to.
      {{"month", "2024-13"}, "'2024-13'"},
      {{"month", "2024-2x"}, "'2024-2x'"},
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

TEST(Cli, LunarCalendarCommands) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"lunar", "2023-04-10"}, Utf8(u8"AD14-20-2023\t闰二月二十\n")},
      {{"lunar", "2024-02-10"}, Utf8(u8"AD01-01-2024\t正月初一\n")},
      {{"solar", "2023-14-20"}, "2023-04-10\tAD04-10-2023\n"},
      {{"solar", "-103-01-01"}, "-103-02-22\tBC02-22-0104\n"},
      {{"solar", "-103-01-01", "--modern"}, "-103-02-21\tBC02-21-0104\n"},
      {{"years", "2023", "2024"}, "2023\t01011011010120122\n2024\t01001011011000210\n"},
      {{"years", "1914", "1914"}, "1914\t11010010010151126\n"},
      {{"years", "1914", "1914", "--modern"}, "1914\t11010010100151126\n"},
  };
  for (const auto& c : cases) {
    const Result r = RunLine(c.args);
    EXPECT_EQ(r.code, kOk) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(r.out, c.out) << c.args[0] << " " << c.args[1];
  }
}

// One JSON object per day, with every field the engine gives for it.
TEST(Cli, DumpOneObjectPerDay) {
  const Result r = RunLine({"dump", "2024-02-04", "2024-02-04"});
  ASSERT_EQ(r.code, kOk);
  EXPECT_EQ(r.out, Utf8(u8"{\"jdn\":2460345,\"g\":\"2024-02-04\",\"lunar\":\"AD12-25-2023\",\"term\":\"立春 16:27:02\","
                        u8"\"hijri\":\"AD07-24-1445\",\"weekday\":\"星期日\",\"sign\":\"水瓶座\","
                        u8"\"ganzhi\":\"甲辰(龙)年丙寅月戊戌日\",\"ganzhi_ny\":\"癸卯(兔)年乙丑月戊戌日\","
                        u8"\"festival\":\"\",\"lunar_festival\":\"\",\"holiday\":\"班 春节\","
                        u8"\"term_note\":\"今日立春 16:27:02\","
                        u8"\"nine\":\"五九第9天\",\"dog\":\"\",\"plum\":\"\",\"era\":\"二○二三\","
                        u8"\"sun\":{\"rise\":\"07:20:38\",\"set\":\"17:35:42\",\"dawn\":\"06:52:11\","
                        u8"\"dusk\":\"18:04:08\"}}\n"));
  const Result span = RunLine({"dump", "2024-02-09", "2024-02-10"});
  ASSERT_EQ(span.code, kOk);
  ASSERT_EQ(std::count(span.out.begin(), span.out.end(), '\n'), 2);
  const std::string second = span.out.substr(span.out.find('\n') + 1);
  EXPECT_EQ(second.rfind(Utf8(u8"{\"jdn\":2460351,\"g\":\"2024-02-10\",\"lunar\":\"AD01-01-2024\",\"newmoon\":\"06:59:04\","), 0), 0u)
      << second;
  EXPECT_NE(second.find(Utf8(u8"\"lunar_festival\":\"春节\"")), std::string::npos);
  // Another place moves the sun times.
  const Result west = RunLine({"dump", "2024-02-04", "2024-02-04", "--city", "21"});
  EXPECT_NE(west.out.find("\"sun\":{\"rise\":\"09:"), std::string::npos) << west.out;
}

TEST(Cli, YearListsItsMonthsWithTheirSpans) {
  const Result r = RunLine({"year", "2033"});
  ASSERT_EQ(r.code, kOk);
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "2033\t010010101111B0131");
  EXPECT_NE(r.out.find(Utf8(u8"闰冬月小\t2033-12-22\t2034-01-19\n")), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(Utf8(u8"腊月大\t2034-01-20\t2034-02-18\n")), std::string::npos) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 14);
}

TEST(Cli, EventsOfAYearInTimeOrder) {
  const Result r = RunLine({"events", "2024"});
  ASSERT_EQ(r.code, kOk);
  std::istringstream lines(r.out);
  std::string line, previous;
  int terms = 0, newMoons = 0, fullMoons = 0;
  while (std::getline(lines, line)) {
    ASSERT_EQ(line.size() > 21 && line[21] == '\t', true) << line;
    terms += line.find("\tterm\t") != std::string::npos;
    newMoons += line.find(Utf8(u8"\tnewmoon\t朔")) != std::string::npos;
    fullMoons += line.find(Utf8(u8"\tfullmoon\t望")) != std::string::npos;
    // Date-time texts of one year sort as text within a month; compare instants
    // through their month-day-time part.
    const std::string key = line.substr(2, 5) + line.substr(12, 9);
    EXPECT_LE(previous, key) << line;
    previous = key;
  }
  EXPECT_EQ(terms, 24);
  EXPECT_EQ(newMoons, 13);
  EXPECT_EQ(fullMoons, 12);
  EXPECT_NE(r.out.find(Utf8(u8"AD02-04-2024 16:27:02\tterm\t立春\n")), std::string::npos);
}

TEST(Cli, LunarCommandsRejectBadInput) {
  const std::vector<std::string> bad[] = {
      {"solar", "2023-13-01"}, {"solar", "2023-14-30"}, {"solar", "9001-01-01"}, {"solar", "2023-1"},
      {"year", "10000"},        {"years", "5", "3"},      {"years", "1", "x"},      {"events", "10000"},
      {"dump", "2024-01-02", "2024-01-01"},              {"lunar", "9001-01-01"},   {"years", "1", "2", "--bogus"},
      {"jd", "2000-01-01", "--modern=1"},
  };
  for (const auto& args : bad) {
    const Result r = RunLine(args);
    EXPECT_EQ(r.code, kBadInput) << args[0] << " " << args[1];
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

// --traditional: each command's output is its plain output through the
// program's own table, the user's --lunar titles as written.
TEST(Cli, TraditionalCharacters) {
  const struct {
    std::vector<std::string> args;
    std::string shows;
    std::vector<std::string> kept;
  } cases[] = {
      {{"day", "2024-04-19"}, Utf8(u8"穀雨"), {}},
      {{"lunar", "2024-02-09"}, Utf8(u8"臘月"), {}},
      {{"day", "2024-02-10"}, Utf8(u8"甲辰(龍)年"), {}},
      {{"day", "1736-03-01", "--dynasty"}, Utf8(u8"清代乾隆"), {}},
      {{"era", Utf8(u8"乾隆")}, Utf8(u8"清代乾隆"), {}},
      {{"month", "2024-03"}, Utf8(u8"驚蟄"), {}},
      {{"table", "terms", "2024"}, Utf8(u8"節氣"), {}},
      {{"ics", "2024-09-17", "2024-09-17", "--festivals", "--lunar", "08-15", Utf8(u8"谷雨种树")}, Utf8(u8"中秋節"),
       {Utf8(u8"谷雨种树")}},
  };
  for (const auto& c : cases) {
    const Result plain = RunLine(c.args);
    std::vector<std::string> args = c.args;
    args.push_back("--traditional");
    const Result traditional = RunLine(args);
    ASSERT_EQ(traditional.code, kOk) << c.args[0] << traditional.err;
    std::vector<std::string> kept;
    for (const std::string& k : c.kept) kept.push_back(Utf8ToCp936(k));
    EXPECT_EQ(traditional.out, Cp936ToUtf8(ToTraditional(Utf8ToCp936(plain.out), kept))) << c.args[0];
    EXPECT_NE(traditional.out.find(c.shows), std::string::npos) << traditional.out;
    for (const std::string& k : c.kept) EXPECT_NE(traditional.out.find(k), std::string::npos) << k;
  }
}

TEST(Cli, WhatTheWindowsShow) {
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"day", "2024-02-10"},
       Utf8(u8"公历 2024年 2月 10日\tAD02-10-2024\n农历 二○二四年 正月 初一\tAD01-01-2024\n"
            u8"回历 回历1445年 7月 30日\tAD07-30-1445\n星期六 水瓶座  甲辰(龙)年丙寅月甲辰日\n"
            u8"春节 国际气象节 2月19日雨水 六九第6天\n")},
      {{"hijri", "2024-03-11"}, Utf8(u8"AD09-01-1445\t回历1445年9月1日\n")},
      {{"hijri", "622-07-15"}, Utf8(u8"BC12-29-0001\t回历前1年12月29日\n")},
      {{"search", "leap", "2000", "10", "--month", "7"},
       Utf8(u8"    共找到 1 个农历闰七月\n\nAD2006闰七月小    AD08-24-2006 ～ AD09-21-2006\n")},
  };
  for (const auto& c : cases) {
    const Result r = RunLine(c.args);
    EXPECT_EQ(r.code, kOk) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(r.out, c.out) << c.args[0] << " " << c.args[1];
  }
  const Result month = RunLine({"month", "2024-02"});
  ASSERT_EQ(month.code, kOk);
  EXPECT_EQ(month.out.rfind(Utf8(u8"星期日    星期一"), 0), 0u);
  EXPECT_NE(month.out.find(Utf8(u8"\n4         5         6         7         8         9         10\n"
                                u8"立春      廿六      廿七      廿八      廿九      除夕      春节\n")),
            std::string::npos)
      << month.out;
  EXPECT_NE(month.out.find(Utf8(u8"\n4日16:27:02立春 19日12:13:05雨水\n10日06:59:04朔 24日20:30:17望\n")),
            std::string::npos);
  const Result monday = RunLine({"month", "2024-02", "--monday"});
  ASSERT_EQ(monday.code, kOk);
  EXPECT_EQ(monday.out.rfind(Utf8(u8"星期一    星期二"), 0), 0u);
  EXPECT_NE(monday.out.find(Utf8(u8"星期六    星期日\n                              [1]       2         3         4\n")),
            std::string::npos)
      << monday.out;
  EXPECT_NE(monday.out.find(Utf8(u8"\n5         6         7         8         9         10        11\n")),
            std::string::npos);
  EXPECT_EQ(RunLine({"month", "2024-02", "--monday", "--json"}).code, kBadInput);
  const Result table = RunLine({"table", "terms", "2024"});
  EXPECT_EQ(table.out.rfind(Utf8(u8"    公历 2024 年共 24 个节气\n01: 小寒01月06日04:49:17   02: 大寒"), 0), 0u);
  const Result sun = RunLine({"table", "sun", "2024", "--city", "21", "--dawn"});
  EXPECT_EQ(std::count(sun.out.begin(), sun.out.end(), '\n'), 367);
  EXPECT_EQ(sun.out.rfind(Utf8(u8"    公历 2024 年 乌鲁木齐 天亮天黑时刻\n01-01 天亮时刻"), 0), 0u);
  const Result days = RunLine({"search", "days", "2020", "5", "--hmonth", "9", "--hday", "1"});
  EXPECT_EQ(days.out.rfind(Utf8(u8"    共找到 5 个条件日\n\n\n第1个条件日：\n    对应公历→AD04-24-2020\n"), 0), 0u);
  const Result named = RunLine({"search", "days", "2018", "1", "--term", Utf8(u8"立春"), "--weekday", "7"});
  EXPECT_NE(named.out.find(Utf8(u8"对应节气→立春 ")), std::string::npos) << named.out;
}

TEST(Cli, WindowCommandsRejectBadInput) {
  const std::vector<std::string> bad[] = {
      {"day", "4104-01-01"},          {"day", "2024-01-01", "--info", "3"}, {"day", "2024-01-01", "--city", "44"},
      {"month", "2024-13"},           {"table", "stars", "2024"},           {"table", "months", "5001"},
      {"table", "terms", "-104"},     {"search", "leap", "2000", "0"},      {"search", "leap", "6000", "5"},
      {"search", "days", "2000", "5"}, {"search", "days", "2000", "5", "--term", "x"},
      {"search", "leap", "2000", "5", "--month", "13"},                    {"search", "weeks", "2000", "5"},
      {"hijri", "-9999-01-01"},
      // The place and twilight mean something for the sun table only.
      {"table", "terms", "2024", "--city", "0"}, {"table", "moons", "2024", "--city", "2"},
      {"table", "months", "2024", "--dawn"},
      // A note about a cut range would make a second line before the error.
      {"search", "days", "4990", "250", "--gday", "99"},
  };
  for (const auto& args : bad) {
    const Result r = RunLine(args);
    EXPECT_EQ(r.code, kBadInput) << args[0] << " " << args[1];
    EXPECT_EQ(r.out, "") << args[0] << " " << args[1];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  // A range beyond 100 years of days is cut, with a note.
  const Result cut = RunLine({"search", "days", "4990", "250", "--gday", "1", "--gmonth", "1"});
  EXPECT_EQ(cut.code, kOk);
  EXPECT_NE(cut.err.find("11"), std::string::npos) << cut.err;
  EXPECT_EQ(cut.out.rfind(Utf8(u8"    共找到 11 个条件日"), 0), 0u);
}

// The help names every command of the table with its usage and summary, and
// every option a command takes; an option it names is one some command takes.
TEST(Cli, HelpListsEveryCommandAndOption) {
  const Result r = RunLine({"--help"});
  EXPECT_EQ(r.code, kOk);
  std::set<std::string> accepted(std::begin(kCommonOptions), std::end(kCommonOptions));
  accepted.insert({"help", "version"});
  for (const Command& c : Commands()) {
    const std::size_t at = r.out.find("\n  " + std::string(c.name) + " " + std::string(c.usage));
    EXPECT_NE(at, std::string::npos) << c.name;
    EXPECT_NE(r.out.find(Cp936ToUtf8(c.summary), at), std::string::npos) << c.name;
    for (std::string_view o : c.options) accepted.insert(std::string(o.substr(0, o.find('='))));
  }
  const std::size_t optionsAt = r.out.find("\noptions:\n");
  ASSERT_NE(optionsAt, std::string::npos);
  std::set<std::string> listed;
  for (std::size_t at = r.out.find("--", optionsAt); at != std::string::npos; at = r.out.find("--", at + 2)) {
    const std::size_t end = r.out.find_first_not_of("abcdefghijklmnopqrstuvwxyz-", at + 2);
    listed.insert(r.out.substr(at + 2, end - at - 2));
  }
  EXPECT_EQ(listed, accepted);
}

// "today" is the computer's local date, or TOVANI_TODAY's; without a command
// the tool shows today's day view, and month without a month this month.
TEST(Cli, TodayWhereverADateGoes) {
  {
    const ScopedEnv today("TOVANI_TODAY", "2024-02-10");
    struct Case {
      std::vector<std::string> args, same;  // the same output as an explicit date gives
    };
    const Case cases[] = {
        {{}, {"day", "2024-02-10"}},
        {{"--info", "1", "--city", "21"}, {"day", "2024-02-10", "--info", "1", "--city", "21"}},
        {{"day"}, {"day", "2024-02-10"}},
        {{"month"}, {"month", "2024-02-10"}},
        {{"month", "today"}, {"month", "2024-02-10"}},
        {{"dump", "today", "today"}, {"dump", "2024-02-10", "2024-02-10"}},
        {{"hijri", "today"}, {"hijri", "2024-02-10"}},
        {{"day", "--json"}, {"day", "2024-02-10", "--json"}},
    };
    for (const auto& c : cases) {
      const Result r = RunLine(c.args), expected = RunLine(c.same);
      EXPECT_EQ(r.code, kOk) << c.same[0];
      EXPECT_EQ(r.out, expected.out) << c.same[0];
    }
    // 2024-02-10 is JDN 2460351 and 春节 of 甲辰.
    EXPECT_EQ(RunLine({"jd", "today"}).out, "2460351\n");
    EXPECT_EQ(RunLine({"lunar", "today"}).out, Utf8(u8"AD01-01-2024\t正月初一\n"));
    EXPECT_EQ(RunLine({"interval", "2024-01-01", "today"}).out, "40\n");
    EXPECT_EQ(RunLine({"add", "today", "20"}).out, "2024-03-01\tAD03-01-2024\n");
  }
  {
    const ScopedEnv bad("TOVANI_TODAY", "2024-02-30");
    const Result r = RunLine({});
    EXPECT_EQ(r.code, kBadInput);
    EXPECT_NE(r.err.find("TOVANI_TODAY '2024-02-30'"), std::string::npos) << r.err;
  }
  // The computer's own date (read before and after, should midnight pass).
  unsetenv("TOVANI_TODAY");
  const auto jdnNow = [] {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char iso[32];
    std::strftime(iso, sizeof iso, "%Y-%m-%d", &local);
    return RunLine({"jd", iso}).out;
  };
  const std::string before = jdnNow();
  const std::string today = RunLine({"jd", "today"}).out;
  EXPECT_TRUE(today == before || today == jdnNow()) << today;
}

// Columns of a UTF-8 line as a terminal shows it: CJK ideographs take two.
std::vector<std::size_t> FieldColumns(const std::string& line) {
  std::vector<std::size_t> starts;
  std::size_t column = 0;
  bool blank = true;
  for (std::size_t i = 0; i < line.size();) {
    const auto c = static_cast<unsigned char>(line[i]);
    const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t cp = length == 1 ? c : c & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; ++k) cp = cp << 6 | (line[i + k] & 0x3F);
    if (blank && c != ' ') starts.push_back(column);
    blank = c == ' ';
    column += cp >= 0x3000 && cp <= 0x9FFF ? 2 : 1;
    i += length;
  }
  return starts;
}

// Every cell of the month grid starts at its column, whatever the characters.
TEST(Cli, MonthGridColumnsLineUp) {
  for (const char* month : {"2024-02", "2023-04", "2033-12", "-103-02", "1582-10"}) {
    const Result r = RunLine({"month", month});
    ASSERT_EQ(r.code, kOk) << month;
    std::istringstream lines(r.out);
    std::string line;
    int rows = 0;
    while (std::getline(lines, line) && !line.empty()) {
      ++rows;
      for (std::size_t start : FieldColumns(line)) EXPECT_EQ(start % 10, 0u) << month << ": " << line;
    }
    EXPECT_GE(rows, 9) << month;
  }
}

// On a terminal today's cell is in reverse video and official days off and
// make-up working days are marked; never in a pipe.
TEST(Cli, MonthMarksTodayAndHolidaysOnATerminalOnly) {
  const ScopedEnv today("TOVANI_TODAY", "2024-02-14");
  const Terminal terminal{true, false};
  const Result styled = RunLine({"month", "2024-02"}, terminal);
  ASSERT_EQ(styled.code, kOk);
  EXPECT_NE(styled.out.find(Utf8(u8"13休      \x1b[7m14休    \x1b[0m  15休")), std::string::npos) << styled.out;
  EXPECT_NE(styled.out.find(Utf8(u8"初四      \x1b[7m情人节  \x1b[0m  初六")), std::string::npos) << styled.out;
  EXPECT_EQ(std::count(styled.out.begin(), styled.out.end(), '\x1b'), 4);
  // 春节 2024: 10 to 17 February off, Sunday 4 and Sunday 18 February worked.
  EXPECT_NE(styled.out.find(Utf8(u8"\n4班 ")), std::string::npos) << styled.out;
  EXPECT_NE(styled.out.find(Utf8(u8"\n18班 ")), std::string::npos) << styled.out;
  for (int day = 10; day <= 17; ++day) {
    EXPECT_NE(styled.out.find(std::to_string(day) + Utf8(u8"休")), std::string::npos) << day;
  }
  const std::string marks[] = {"\x1b", Utf8(u8"休"), Utf8(u8"班")};
  for (const Result& plain : {RunLine({"month", "2024-02"}), RunLine({"month", "2024-03"}, terminal)}) {
    for (const std::string& mark : marks) EXPECT_EQ(plain.out.find(mark), std::string::npos) << plain.out;
  }
}

// --json gives one object with the keys of dump: a day, or a month and its days.
TEST(Cli, JsonOfDayAndMonthHasTheKeysOfDump) {
  const Result day = RunLine({"day", "2024-02-04", "--json", "--city", "21"});
  ASSERT_EQ(day.code, kOk);
  EXPECT_EQ(day.out, RunLine({"dump", "2024-02-04", "2024-02-04", "--city", "21"}).out);
  const Result month = RunLine({"month", "2023-02", "--json"});
  ASSERT_EQ(month.code, kOk);
  std::string days = RunLine({"dump", "2023-02-01", "2023-02-28"}).out;
  std::replace(days.begin(), days.end(), '\n', ',');
  days.pop_back();
  EXPECT_EQ(month.out, "{\"month\":\"2023-02\",\"days\":[" + days + "]}\n");
  // Options that mean nothing for the output asked for are refused, not ignored.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"day", "--json", "--info", "1"}, {"day", "--json", "--dynasty"},
        {"month", "--json", "--ganzhi-newyear"}, {"day", "--holidays", "x.txt"}}) {
    const Result r = RunLine(args);
    EXPECT_EQ(r.code, kBadInput) << args[2];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

// Era names were reused by several dynasties; the years are the published ones.
TEST(Cli, EraListsEveryEraOfAName) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> lines;  // each must appear
  };
  const Case cases[] = {
      // 光武帝 from 25, 东晋元帝 from 317, 南齐明帝 from 494; each ended in mid-year (建武中元
      // from 56, 大兴 from 318, 永泰 from 498), a year the calendar names by the new era.
      {{"era", Utf8(u8"建武")},
       {Utf8(u8"东汉建武\t25\t55\n"), Utf8(u8"东晋建武\t317\t317\n"), Utf8(u8"南齐建武\t494\t497\n")}},
      // 建武三十二年 is AD 56, the year it became 建武中元.
      {{"era", Utf8(u8"建武"), "32"}, {Utf8(u8"东汉建武\t25\t55\t建武32年 = 56, "), Utf8(u8"东汉中元01\n")}},
      {{"era", Utf8(u8"贞观")}, {Utf8(u8"唐代贞观\t627\t649\n")}},
      {{"era", Utf8(u8"清代康熙"), "61"}, {Utf8(u8"清代康熙\t1662\t1722\t康熙61年 = 1722\n")}},
      // There was no 康熙六十二年: 1723 is 雍正元年.
      {{"era", Utf8(u8"康熙"), "62"}, {Utf8(u8"康熙62年 = 1723, "), Utf8(u8"清代雍正01\n")}},
      {{"era", Utf8(u8"康熙"), "70"}, {Utf8(u8"康熙70年 = 1731: past the era's last year 1722\n")}},
      // 忽必烈's 至元 (1264-1294) and 顺帝's (1335-1340).
      {{"era", Utf8(u8"至元"), "31"},
       {Utf8(u8"元代至元\t1264\t1294\t至元31年 = 1294\n"), Utf8(u8"元代至元\t1335\t1340\t至元31年 = 1365: past")}},
      {{"era", Utf8(u8"乾隆"), "60"}, {Utf8(u8"清代乾隆\t1736\t1795\t乾隆60年 = 1795\n")}},
  };
  for (const auto& c : cases) {
    const Result r = RunLine(c.args);
    EXPECT_EQ(r.code, kOk) << c.args[1];
    for (const std::string& line : c.lines) EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  }
  const std::string jianwu = RunLine({"era", Utf8(u8"建武")}).out;
  EXPECT_EQ(std::count(jianwu.begin(), jianwu.end(), '\n'), 3) << jianwu;
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"era", Utf8(u8"民国")}, {"era", Utf8(u8"建武"), "0"}, {"era", Utf8(u8"建武"), "x"},
        {"era", Utf8(u8"汉建武")}, {"era", ""}}) {
    const Result r = RunLine(bad);
    EXPECT_EQ(r.code, kBadInput) << bad[1];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

// Output that cannot be written ends the command with exit code 1 and one
// line, and the rest is not computed.
TEST(Cli, FailedWriteStopsWithExitCodeOne) {
  FullBuffer full(1000);
  std::ostream out(&full);
  std::ostringstream err;
  EXPECT_EQ(cli::Run({"years", "-103", "4103"}, out, err), kOutputFailed);
  EXPECT_EQ(err.str(), "tovani: cannot write the output\n");
  EXPECT_LT(full.offered, 1100u);
  // What stays in a stream's buffer until the end is checked there.
  struct LateFailure : std::streambuf {
    char buffer[256];
    LateFailure() { setp(buffer, buffer + sizeof buffer); }
    int sync() override { return -1; }
  } late;
  std::ostream buffered(&late);
  std::ostringstream lateErr;
  const int code = cli::Run({"jd", "2000-01-01"}, buffered, lateErr);
  EXPECT_EQ(code, kOk);
  EXPECT_EQ(FinishOutput(buffered, lateErr, code), kOutputFailed);
  const std::string message = lateErr.str();
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
}

}  // namespace
}  // namespace tovani::cli
