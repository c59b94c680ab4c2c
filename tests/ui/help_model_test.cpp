#include "ui/help/help_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/settings.h"

namespace tovani::help {
namespace {

std::vector<std::string> Paragraphs(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0;;) {
    const auto end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

std::string Utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// The introduction and the pages for the years the program covers: the
// ranges it really has, "朔" for the new moon, the labels and the version.
TEST(HelpModel, TextsOfTheProgramsRanges) {
  const AppState state;
  const Coverage years{state.LowestYear, state.HighestYear, state.ToolHighestYear};
  EXPECT_EQ(VersionLine(), std::string("青鹭万年历V") + kVersionText);
  struct Case {
    std::string text;
    std::vector<std::string> paragraphs;
  };
  const Case cases[] = {
      {Introduction(years),
       {"    青鹭万年历V4.1只有一个文件，是一款绿色免安装万年历软件，直接运行即可使用。显示公元前104年~公元4103年共"
        "4207年范围内的公历、农历、回历、星期、星座、干支、属相、节日、节气、九伏梅、日出日落天亮天黑时刻、 "
        "5日内天气预报等信息。"}},
      {PageText(kFeatures, years),
       {"    1.支持日历、月历功能以及公农回历互转互查功能；",
        "    2.支持纪念日、提醒日、倒计日功能(选择允许使用注册表后有效)以及音频播放功能，日历界面下相关信息显示在下"
        "文本框的工具提示窗口中；",
        "    3.支持闹钟、语音报时和整点自动报时功能；",
        "    4.提供查询公元前104年~公元5000年范围内儒略日、间隔日、干支历、气朔日、条件月、条件日、日出日落天亮天黑"
        "时刻、5日内天气预报等信息的实用工具；",
        "    5.可以更换日历界面背景图片；",
        "    6.显示法定节假日的放假（休）和调休上班（班）：月历的日期格中和所选日期的信息中，日历界面的下文本框中。"
        "已内置2000~2026年的放假安排；以后公布的年份可以添加在注册表HKEY_CURRENT_USER\\Software\\Tovani\\Holidays下，"
        "每天一个字符串值：名称为日期（如2027-01-01），数据为“休 元旦”或“班 春节”，添加的年份代替内置的同一年"
        "(选择允许使用注册表后有效)；",
        "    7.闹钟可以每天、只在工作日或只在休息日响铃，整点报时可以设免打扰时段、只在工作日报时。"}},
      {PageText(kNotes, years),
       {"    1.回历9月份起止日期还须根据望月修订；",
        "    2.使用的日期格式：MM-DD-YYYY， 即2位月数-2位日数-4位年数，前缀BC、AD表示纪元前、后；",
        "    3.农历闰月的表示：月数+12。"}},
      {PageText(kHotKeys, years),
       {"    1.窗体级快捷键", "    Alt+X(退出软件)", "    2.系统级快捷键", "    Ctrl+Alt+R(激活软件)",
        "    Ctrl+Alt+W(天气预报)", "    Ctrl+Alt+V(语音报时)", "    Ctrl+Alt+X(退出软件)"}},
      {PageText(kAbout, years), {"    青鹭万年历V4.1"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Paragraphs(c.text), c.paragraphs);
    EXPECT_EQ(c.text.find("\xCB\xDC"), std::string::npos);  // the miswritten new-moon character, in GB2312
  }
  EXPECT_EQ(Introduction(), Introduction(years));
  EXPECT_NE(Introduction({1, 2000, 3000}).find("显示公元1年~公元2000年共2000年范围内"), std::string::npos);
  EXPECT_NE(PageText(kFeatures, {1, 2000, 3000}).find("查询公元1年~公元3000年范围内"), std::string::npos);

  const char* labels[] = {"功能", "说明", "快捷键", "关于"};
  for (int page = 0; page < kPageCount; ++page) EXPECT_STREQ(PageLabel(page), labels[page]);
  for (int page : {-1, int{kPageCount}}) {
    EXPECT_STREQ(PageLabel(page), "");
    EXPECT_EQ(PageText(page), "");
  }
}

TEST(HelpModel, VersionsCompareAsDecimalNumbers) {
  struct Case {
    const char *a, *b;
    std::optional<int> order;
  };
  const Case cases[] = {
      {"4.1", "4.1", 0},   {"4.10", "4.1", 0},  {"4.2", "4.1", 1},    {"4.2", "4.10", 1}, {"4.05", "4.1", -1},
      {"4.15", "4.1", 1},  {"5", "4.1", 1},     {"4", "4.1", -1},     {"4.0", "4", 0},    {"10.0", "9.9", 1},
      {"04.1", "4.1", 0},  {"0", "0.0", 0},     {"999.999", "4.1", 1},
      // Not version numbers.
      {"", "4.1", {}},     {"4.", "4.1", {}},   {".1", "4.1", {}},    {"4.1.2", "4.1", {}}, {"4,2", "4.1", {}},
      {"V4.2", "4.1", {}}, {"1000", "4.1", {}}, {"4.1000", "4.1", {}}, {"4.1", "x", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(CompareVersions(c.a, c.b), c.order);
    if (c.order) {
      EXPECT_EQ(CompareVersions(c.b, c.a), -*c.order);
    }
  }
}

TEST(HelpModel, VersionPageSetting) {
  const std::optional<VersionPage> none;  // no check at all
  struct Case {
    std::string setting;
    std::optional<VersionPage> page;
  };
  const Case cases[] = {
      {"", none},
      {"   ", none},
      {"127.0.0.1:8080/tovani.htm", VersionPage{"127.0.0.1", 8080, "/tovani.htm"}},
      {"  HTTP://soft.example.org/a/b.html?x=1&y=%20  ", VersionPage{"soft.example.org", 80, "/a/b.html?x=1&y=%20"}},
      {"example.org", VersionPage{"example.org", 80, "/"}},
      {"example.org:65535", VersionPage{"example.org", 65535, "/"}},
      {"a_b-c.d:1/", VersionPage{"a_b-c.d", 1, "/"}},
      {"/path/only", none},
      {"example.org:0/x", none},
      {"example.org:65536/x", none},
      {"example.org:/x", none},
      {"example.org:80x/x", none},
      {"exa mple.org/x", none},
      {"example.org/a b", none},
      {"example.org/新版", none},
      {"https://example.org/x", none},
      {"user@example.org/x", none},
      {std::string("example.org/\0x", 14), none},
      {"\x01\xff garbage \x80", none},
      {"example.org/" + std::string(kMaxPathBytes, 'a'), none},
      {"example.org/" + std::string(kMaxPathBytes - 1, 'a'), VersionPage{"example.org", 80, "/" + std::string(kMaxPathBytes - 1, 'a')}},
      {std::string(kMaxHostBytes, 'x'), VersionPage{std::string(kMaxHostBytes, 'x'), 80, "/"}},
      {std::string(kMaxHostBytes + 1, 'x'), none},
      {std::string(1 << 20, 'x'), none},
      {std::string(1 << 20, ':'), none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting.substr(0, 40));
    EXPECT_EQ(ParseVersionPage(c.setting), c.page);
  }
  const VersionPage local{"127.0.0.1", 8080, "/tovani.htm"};
  EXPECT_EQ(VersionRequest(local),
            "GET http://127.0.0.1:8080/tovani.htm HTTP/1.0\r\nReferer: http://127.0.0.1:8080/\r\n"
            "User-Agent: kpf HTTP FILE DOWNLOAD\r\n\r\n");
  EXPECT_EQ(NewVersionNote("4.2", local), "\r\n    下载4.2版→http://127.0.0.1:8080/tovani.htm");
  EXPECT_EQ(VersionPage({"example.org", 80, "/"}).Address(), "http://example.org/");
}

// The answer: only a page served with status 200 counts, and only its first
// mention of the product with a version, when that is newer than 4.1.
TEST(HelpModel, NewerVersionInTheAnswer) {
  const std::string ok = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
  struct Case {
    std::string answer;
    std::optional<std::string> newer;
  };
  const Case cases[] = {
      {ok + "<title>青鹭万年历V4.2 下载</title>", "4.2"},
      {ok + "青鹭万年历 v5", "5"},
      {ok + "<b>青鹭万年历</b> 青鹭万年历\t4.10.3", {}},  // 4.10 is 4.1
      {ok + "青鹭万年历V4.1", {}},
      {ok + "青鹭万年历V3.9", {}},
      {ok + "青鹭万年历V4.1 ... 青鹭万年历V4.2", {}},  // the first mention counts
      {ok + "青鹭万年历下载 青鹭万年历2024 青鹭万年历V4.3", "4.3"},
      {ok + Utf8(u8"<p>青鹭万年历V4.2</p>"), "4.2"},
      {ok + Utf8(u8"青鹭万年历V4.4") + " 青鹭万年历V4.3", "4.4"},
      {"HTTP/1.1 200\nServer: x\n\n青鹭万年历V4.2", "4.2"},
      {"HTTP/1.0 404 Not Found\r\n\r\n青鹭万年历V4.2", {}},
      {"HTTP/1.0 2000 OK\r\n\r\n青鹭万年历V4.2", {}},
      {"HTTP/1.0 302 Found\r\nLocation: https://x/\r\n\r\n青鹭万年历V4.2", {}},
      {"HTTP/1.0 200 OK\r\nX-Name: 青鹭万年历V4.2\r\n", {}},  // no page after the headers
      {"青鹭万年历V4.2", {}},
      {"", {}},
      {ok, {}},
      {ok + "青鹭万年历V", {}},
      {ok + "青鹭万年", {}},
      {ok + std::string("\0\xff\x80", 3) + "青鹭万年历V9.9", "9.9"},
      {ok + std::string(1 << 20, '\xa1') + "青鹭万年历V4.2", "4.2"},
      {ok + std::string(1 << 20, 'x'), {}},
      {ok + "青鹭万年历V" + std::string(1 << 20, '9'), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer.substr(0, 60));
    EXPECT_EQ(NewerVersion(c.answer), c.newer);
  }
  std::string noise;
  for (int i = 0; i < 200000; ++i) noise += static_cast<char>((i * 7919 + i / 13) & 0xFF);
  EXPECT_EQ(NewerVersion(ok + noise), std::nullopt);
  EXPECT_EQ(NewerVersion(noise), std::nullopt);
}

}  // namespace
}  // namespace tovani::help
