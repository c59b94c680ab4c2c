#include "ui/common/day_records.h"

#include <gtest/gtest.h>

#include "../app/fake_platform.h"
#include "app/startup.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

TEST(DayRecords, BalloonAndDetailsJoinCountdownAndTitles) {
  const std::string details = "\r\n农历 …\r\n回历 …\r\n06:46:22天亮";
  const std::string withFestival = details + "\r\n 世界艾滋病日";
  struct Case {
    DayRecords records;
    std::string balloon, plainDetails, festivalDetails;
  };
  const Case cases[] = {
      {{}, "", details, withFestival},
      {{"距婚礼还有3天", {}, "", "婚礼"}, "距婚礼还有3天", details + "\r\n 距婚礼还有3天", withFestival + " 距婚礼还有3天"},
      {{"", {"母亲生日", "结婚纪念"}, "C:\\a.mp3", ""}, "母亲生日   结婚纪念", details + "\r\n 母亲生日 结婚纪念",
       withFestival + " 母亲生日 结婚纪念"},
      {{"距考试还有10天", {"父亲生日"}, "", "考试"}, "距考试还有10天   父亲生日", details + "\r\n 距考试还有10天 父亲生日",
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
    const auto day = FromGregorian(c.gregorian, kHistoricalRules);
    ASSERT_TRUE(day.has_value());
    EXPECT_EQ(TrayTipText(*day), c.tip) << c.gregorian.year << "-" << c.gregorian.month << "-" << c.gregorian.day;
  }
}

// October 2025 as the month window marks it: 1..8 off, the 11th worked, and
// nothing else; the years not yet announced are said so up to next year.
TEST(HolidayTexts, WhatTheWindowsSayOfADay) {
  const HolidayCalendar calendar;
  std::string october;
  for (int day = 1; day <= 31; ++day) {
    const HolidayNote note = HolidayNoteOf(calendar, {2025, 10, day}, 2026);
    october += note.mark.empty() ? "." : note.mark;
  }
  EXPECT_EQ(october, "休休休休休休休休..班....................");
  struct Case {
    CivilDate day;
    std::int32_t thisYear;
    const char* mark;
    const char* name;
    bool notAnnounced;
  };
  const Case cases[] = {
      {{2025, 10, 6}, 2026, "休", "国庆节、中秋节", false},
      {{2025, 9, 28}, 2026, "班", "国庆节、中秋节", false},
      {{2026, 12, 31}, 2026, "", "", true},  // 2027's New Year holiday, not yet announced
      {{2027, 5, 1}, 2026, "", "", true},
      {{2028, 5, 1}, 2026, "", "", false},  // too far ahead to say
      {{1999, 10, 1}, 2026, "", "", false},  // before the table
  };
  for (const Case& c : cases) {
    const HolidayNote note = HolidayNoteOf(calendar, c.day, c.thisYear);
    EXPECT_EQ(note.mark, c.mark) << c.day.year << "-" << c.day.month << "-" << c.day.day;
    EXPECT_EQ(note.name, c.name) << c.day.year << "-" << c.day.month << "-" << c.day.day;
    EXPECT_EQ(note.notAnnounced, c.notAnnounced) << c.day.year << "-" << c.day.month << "-" << c.day.day;
  }

  const HolidayNote off{HolidayStatus::kDayOff, "休", "国庆节、中秋节", false},
      worked{HolidayStatus::kWorkDay, "班", "劳动节", false}, unknown{HolidayStatus::kNotAnnounced, "", "", true};
  const std::string details = "\r\n农历 …\r\n回历 …\r\n06:46:22天亮";
  struct Texts {
    HolidayNote note;
    std::string line, lineAfter, detailsBefore, detailsAfter;
  };
  const Texts texts[] = {
      {off, "国庆节 霜降还有22天", "休 国庆节、中秋节 霜降还有22天", details + "\r\n 中秋节 国庆节 老人节",
       details + "\r\n 国庆节、中秋节 休 老人节"},
      {worked, "谷雨还有7天", "班 劳动节 谷雨还有7天", details, details + "\r\n 劳动节 班"},
      {unknown, "立夏还有4天", "立夏还有4天", details + "\r\n 青年节", details + "\r\n 放假安排未公布 青年节"},
      {{}, "立夏还有4天", "立夏还有4天", details, details},
  };
  for (const Texts& t : texts) {
    EXPECT_EQ(LineWithHoliday(t.line, t.note), t.lineAfter);
    EXPECT_EQ(DetailsWithHoliday(t.detailsBefore, t.note), t.detailsAfter);
    EXPECT_EQ(CellWithMark("\r\n1\r\n初十", t.note), t.note.mark + "\r\n1\r\n初十");
  }
  EXPECT_EQ(TrayTipWith("农历八月初十 甲子日", off, {{{2025, 10, 8}, 2, "生日"}}),
            "农历八月初十 甲子日 国庆节、中秋节 休\n10月8日 2天后 生日");
}

// A record's name, right-aligned in its 20 bytes.
std::string Field(const std::string& name) { return std::string(20 - name.size(), ' ') + name; }

// The records of the next 30 days, nearest first, each where the lookups of
// its day would find it (approximate placement included).
TEST(RecordsAhead, TheNextThirtyDays) {
  MemoryRegistry registry;
  FakePlatform platform;
  AppState state;
  StartUp(state, registry, platform);
  state.NearLocateMemorialFlag = true;
  const std::string key = kSettingsKey;
  registry.Set(kUser, key + "\\SolarMemorial", "12-31", "AD2000" + Field("年末"));
  registry.Set(kUser, key + "\\SolarMemorial", "01-19", "AD2000" + Field("第三十天"));
  registry.Set(kUser, key + "\\SolarMemorial", "01-20", "AD2000" + Field("第三十一天"));
  // Lunar 2025 has a leap sixth month: a memorial of 闰四月初十 (16-10, of
  // 2020, which had one) shows on 四月初十, 2025-05-07.  Its 八月 has 29 days:
  // 八月三十 (of 2024, whose 八月 had 30) shows on 八月廿九, 2025-10-20.
  registry.Set(kUser, key + "\\LunarMemorial", "16-10", "AD2020" + Field("闰四初十"));
  registry.Set(kUser, key + "\\LunarMemorial", "08-30", "AD2024" + Field("八月三十"));
  registry.Set(kUser, key + "\\SolarReminded", "A", "AD12-25-2025" + Field("圣诞"));
  registry.Set(kUser, key, "MyCountdownDay", "AD12-31-2025" + Field("跨年"));
  const RecordContext context = MakeRecordContext(state, registry, platform);
  const auto ahead = [&](CivilDate today) {
    std::vector<std::string> seen;
    for (const RecordAhead& r : FindRecordsAhead(context, today)) seen.push_back(RecordAheadText(r));
    return seen;
  };
  EXPECT_EQ(ahead({2025, 12, 20}), (std::vector<std::string>{"12月25日 5天后 圣诞", "12月31日 11天后 跨年",
                                                             "12月31日 11天后 年末", "1月19日 30天后 第三十天"}));
  EXPECT_EQ(ahead({2025, 10, 1}), std::vector<std::string>{"10月20日 19天后 八月三十"});
  EXPECT_EQ(ahead({2025, 4, 20}), std::vector<std::string>{"5月7日 17天后 闰四初十"});
}

}  // namespace
}  // namespace tovani
