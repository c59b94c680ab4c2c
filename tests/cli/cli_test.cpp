#include "cli/cli.h"

#include <gtest/gtest.h>

#include <algorithm>
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
                        u8"\"festival\":\"\",\"lunar_festival\":\"\",\"term_note\":\"今日立春 16:27:02\","
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

TEST(Cli, HelpListsEveryCommand) {
  const Result r = RunLine({"--help"});
  EXPECT_EQ(r.code, kOk);
  for (const char* command : {"jd", "date", "interval", "add", "lunar", "solar", "year", "years", "events", "dump",
                              "day", "month", "table", "search", "hijri"}) {
    EXPECT_NE(r.out.find(std::string("  ") + command + " "), std::string::npos) << command;
  }
  EXPECT_EQ(RunLine({}).code, kBadInput);
}

}  // namespace
}  // namespace tovani::cli
