#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "tests/cli/cli_runner.h"

namespace tovani::cli {
namespace {

std::vector<std::string> Split(const std::string& s, char by) {
  std::vector<std::string> parts;
  std::istringstream in(s);
  for (std::string part; std::getline(in, part, by);) parts.push_back(part);
  return parts;
}

// The marked lines of a command's output; every other line keeps its usual
// number of tab-separated fields.
std::vector<std::string> MarkedLines(const std::string& out, std::size_t fields) {
  std::vector<std::string> marked;
  for (const std::string& line : Split(out, '\n')) {
    if (line.find(Utf8(u8"※")) != std::string::npos) {
      EXPECT_EQ(Split(line, '\t').size(), fields + 1) << line;
      marked.push_back(line);
    } else {
      EXPECT_LE(Split(line, '\t').size(), fields) << line;
    }
  }
  return marked;
}

// 2057: 九月 begins on a new moon less than a minute from midnight (the
// published tables put it on 29 September); 1987: 处暑 ten minutes after the
// midnight that began 七月 kept the leap month at 闰六月.
TEST(CloseCallsCli, YearAndEventsMarkThemAndKeepOtherLines) {
  const struct {
    std::vector<std::string> args;
    std::size_t fields;
    std::string linePart, markPart;
  } cases[] = {
      {{"year", "2057"}, 3, Utf8(u8"九月"), Utf8(u8"\t※ 新月距午夜 ")},
      {{"events", "2057"}, 3, "\tnewmoon\t", Utf8(u8"\t※ 新月距午夜 ")},
      {{"year", "1987"}, 3, Utf8(u8"七月"), Utf8(u8"\t※ 处暑距午夜 +")},
      {{"events", "1987"}, 3, Utf8(u8"AD08-24-1987 00:"), Utf8(u8"\t※ 处暑距午夜 +")},
  };
  for (const auto& c : cases) {
    const Result r = RunLine(c.args);
    ASSERT_EQ(r.code, kOk) << c.args[0] << " " << c.args[1];
    const auto marked = MarkedLines(r.out, c.fields);
    ASSERT_EQ(marked.size(), 1u) << r.out;
    EXPECT_NE(marked[0].find(c.linePart), std::string::npos) << marked[0];
    EXPECT_NE(marked[0].find(c.markPart), std::string::npos) << marked[0];
    EXPECT_NE(marked[0].find(Utf8(u8" 分钟")), std::string::npos) << marked[0];
  }
  EXPECT_NE(RunLine({"year", "1987"}).out.find(Utf8(u8"，定闰月")), std::string::npos);
}

TEST(CloseCallsCli, YearsListsASpanOneLineEach) {
  const Result r = RunLine({"years", "1901", "2100", "--close-calls"});
  ASSERT_EQ(r.code, kOk) << r.err;
  const auto lines = Split(r.out, '\n');
  ASSERT_GE(lines.size(), 5u);
  for (const std::string& line : lines) {
    const auto f = Split(line, '\t');
    ASSERT_EQ(f.size(), 3u) << line;
    EXPECT_EQ(f[0].size(), 19u) << line;  // "2057-09-28 23:59:51"
    const double margin = std::stod(f[2]);
    EXPECT_LE(std::abs(margin), 10.0) << line;
    EXPECT_TRUE(f[2][0] == '+' || f[2][0] == '-') << line;
  }
  for (const char8_t* what : {u8"\t新月 1924年二月初一\t", u8"\t新月 2057年九月初一\t", u8"\t新月 2089年八月初一\t",
                              u8"\t新月 2097年七月初一\t", u8"\t处暑 1987年七月初一 定闰月\t+"}) {
    EXPECT_NE(r.out.find(Utf8(what)), std::string::npos) << Utf8(what);
  }
  // Bad input as for years; the option belongs to years only.
  EXPECT_EQ(RunLine({"years", "2100", "1901", "--close-calls"}).code, kBadInput);
  EXPECT_EQ(RunLine({"year", "2057", "--close-calls"}).code, kBadInput);
}

}  // namespace
}  // namespace tovani::cli
