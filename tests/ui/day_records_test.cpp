#include "ui/menu/day_records.h"

#include <gtest/gtest.h>

namespace tovani {
namespace {

TEST(DayRecords, BalloonAndDetailsJoinCountdownAndTitles) {
  const std::string details = "\r\n农历 …\r\n回历 …\r\n06:46:22天亮";
  const std::string withFestival = details + "\r\n 世界艾滋病日";
  struct Case {
    DayRecords records;
    std::string balloon, plainDetails, festivalDetails;
  };
  const Case cases[] = {
      {{}, "", details, withFestival},
      {{"距婚礼还有3天", {}, ""}, "距婚礼还有3天", details + "\r\n 距婚礼还有3天", withFestival + " 距婚礼还有3天"},
      {{"", {"母亲生日", "结婚纪念"}, "C:\\a.mp3"}, "母亲生日   结婚纪念", details + "\r\n 母亲生日 结婚纪念",
       withFestival + " 母亲生日 结婚纪念"},
      {{"距考试还有10天", {"父亲生日"}, ""}, "距考试还有10天   父亲生日", details + "\r\n 距考试还有10天 父亲生日",
       withFestival + " 距考试还有10天 父亲生日"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BalloonText(c.records), c.balloon);
    EXPECT_EQ(DetailsWithRecords(details, c.records), c.plainDetails);
    EXPECT_EQ(DetailsWithRecords(withFestival, c.records), c.festivalDetails);
  }
}

TEST(DayRecords, TrayTipIsTodaysLunarDateAndDay) {
  struct Case {
    CalendarTriple gregorian;
    const char* tip;
  };
  const Case cases[] = {
      {{2016, 1, 31}, "农历腊月廿二 壬子日"},
      {{2023, 4, 10}, "农历闰二月二十 戊戌日"},
      {{2024, 2, 10}, "农历正月初一 甲辰日"},
  };
  for (const Case& c : cases) {
    const auto day = FromGregorian(c.gregorian);
    ASSERT_TRUE(day.has_value());
    EXPECT_EQ(TrayTipText(*day), c.tip) << c.gregorian.year << "-" << c.gregorian.month << "-" << c.gregorian.day;
  }
}

}  // namespace
}  // namespace tovani
