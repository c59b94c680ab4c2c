#include "app/records.h"

#include <gtest/gtest.h>

#include <random>

#include "app/settings.h"
#include "app/startup.h"
#include "engine/lunar_calendar.h"
#include "fake_platform.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

class Records : public testing::Test {
 protected:
  void SetUp() override {
    StartUp(state, registry, platform);
    platform.files = {"C:\\music\\song.mp3", "C:\\music\\clip.WaV", "C:\\music\\notes.txt"};
  }
  RecordContext Context(bool near = false) {
    state.NearLocateMemorialFlag = near ? 1 : 0;
    return MakeRecordContext(state, registry, platform);
  }
  void Memorial(const char* key, const char* day, const std::string& data) {
    registry.Set(kUser, std::string(kSettingsKey) + "\\" + key, day, data);
  }

  MemoryRegistry registry;
  FakePlatform platform;
  AppState state;
};

std::string Name(const std::string& record) { return SplitRecord(record).name; }

TEST_F(Records, ValidatingAStoredMemorial) {
  struct Case {
    const char* data;
    const char* record;  // "" when rejected
  };
  const Case cases[] = {
      {"AD2000      母亲生日", "AD2000            母亲生日"},
      {"AD2000            母亲生日 C:\\music\\song.mp3", "AD2000            母亲生日 C:\\music\\song.mp3"},
      {"AD2000            母亲生日 C:\\music\\gone.mp3", "AD2000            母亲生日"},  // the file was deleted
      {"AD2000            母亲生日 C:\\music\\notes.txt", "AD2000            母亲生日"},  // not an audio file
      {"AD2000            母亲生日 C:\\music\\clip.WaV", "AD2000            母亲生日 C:\\music\\clip.WaV"},
      {"AD2000母亲生日 C:\\music\\song.mp3", "AD2000母亲生日 C:\\music\\so"},  // the name field is 20 bytes
      {"AD1799母亲生日", ""},   // before the records' years
      {"AD2201母亲生日", ""},
      {"AD20a0母亲生日", ""},
      {"AD0000母亲生日", ""},
      {"CE2000母亲生日", ""},
      {"AD2000", ""},           // no name
      {"AD2000          ", ""},
      {"AD", ""},
      {"", ""},
      // A name longer than 20 bytes is cut without splitting a character.
      {"AD2000a一二三四五六七八九十", "AD2000 a一二三四五六七八九"},
  };
  for (const auto& c : cases) {
    Memorial("SolarMemorial", "05-01", c.data);
    EXPECT_EQ(ReadMemorialRecord(Context(), MemorialKind::kSolar, 5, 1), c.record) << c.data;
  }
  // A date that does not exist in the calendar is rejected.
  Memorial("SolarMemorial", "02-30", "AD2000生日");
  EXPECT_EQ(ReadMemorialRecord(Context(), MemorialKind::kSolar, 2, 30), "");
  Memorial("LunarMemorial", "13-01", "AD2000生日");  // 闰正月 of 2000 does not exist
  EXPECT_EQ(ReadMemorialRecord(Context(), MemorialKind::kLunar, 13, 1), "");
  Memorial("LunarMemorial", "16-01", "AD2001生日");  // 闰四月 of 2001 does
  EXPECT_EQ(ReadMemorialRecord(Context(), MemorialKind::kLunar, 16, 1), "AD2001                生日");
}

TEST_F(Records, TheTwentyNinthOfFebruary) {
  Memorial("SolarMemorial", "02-29", "AD2000闰日生日");
  EXPECT_EQ(Name(FindSolarMemorial(Context(), 2008, 2, 29)), "闰日生日");
  EXPECT_EQ(FindSolarMemorial(Context(), 2007, 2, 28), "");
  EXPECT_EQ(Name(FindSolarMemorial(Context(true), 2007, 2, 28)), "闰日生日");
  EXPECT_EQ(FindSolarMemorial(Context(true), 2008, 2, 28), "");  // a leap year has its own 29th
  EXPECT_EQ(FindSolarMemorial(Context(true), 2007, 2, 29), "");  // no such date
}

TEST_F(Records, AMemorialCountsFromItsOwnYear) {
  Memorial("SolarMemorial", "10-01", "AD2010开业");
  EXPECT_EQ(FindSolarMemorial(Context(), 2009, 10, 1), "");
  EXPECT_EQ(Name(FindSolarMemorial(Context(), 2010, 10, 1)), "开业");
  EXPECT_EQ(Name(FindSolarMemorial(Context(), 2150, 10, 1)), "开业");
  Memorial("SolarMemorial", "10-02", "BC0001开业");  // year 0: before the records' years
  EXPECT_EQ(FindSolarMemorial(Context(), 2010, 10, 2), "");
}

TEST_F(Records, LunarMemorialsPlacedApproximately) {
  // A leap fourth month's tenth day: in 2001 (闰四月) exactly; in 2002 on the
  // ordinary fourth month only with approximate placement.
  Memorial("LunarMemorial", "16-10", "AD2001闰月纪念");
  EXPECT_EQ(Name(FindLunarMemorial(Context(), 2001, 16, 10)), "闰月纪念");
  EXPECT_EQ(FindLunarMemorial(Context(), 2002, 4, 10), "");
  EXPECT_EQ(Name(FindLunarMemorial(Context(true), 2002, 4, 10)), "闰月纪念");
  EXPECT_EQ(FindLunarMemorial(Context(true), 2001, 4, 10), "");  // 2001 has its own 闰四月
  // Day 30 of the eighth month: on day 29 of a short eighth month.
  Memorial("LunarMemorial", "08-30", "AD1900三十");
  int shortYear = 0, longYear = 0;
  for (int y = 2000; y < 2030 && (shortYear == 0 || longYear == 0); ++y) {
    (IsValidLunarDate(y, 8, 30, kHistoricalRules) ? longYear : shortYear) = y;
  }
  ASSERT_NE(shortYear, 0);
  ASSERT_NE(longYear, 0);
  EXPECT_EQ(Name(FindLunarMemorial(Context(), longYear, 8, 30)), "三十");
  EXPECT_EQ(FindLunarMemorial(Context(), shortYear, 8, 29), "");
  EXPECT_EQ(Name(FindLunarMemorial(Context(true), shortYear, 8, 29)), "三十");
  EXPECT_EQ(FindLunarMemorial(Context(true), longYear, 8, 29), "");
}

TEST_F(Records, HijriMemorialOnTheLastDay) {
  registry.Set(kUser, "Software\\Tovani\\MuharramMemorial", "12-30", "AD1420年末");
  EXPECT_EQ(Name(FindHijriMemorial(Context(), 1445, 12, 30)), "年末");  // 1445 is a leap year
  EXPECT_EQ(FindHijriMemorial(Context(), 1446, 12, 29), "");
  EXPECT_EQ(Name(FindHijriMemorial(Context(true), 1446, 12, 29)), "年末");
  EXPECT_EQ(FindHijriMemorial(Context(true), 1446, 12, 30), "");
}

TEST_F(Records, RemindersMatchTheirExactDateAndTheFirstSlotWins) {
  const std::string key = "Software\\Tovani\\SolarReminded";
  registry.Set(kUser, key, "A", "AD05-01-2008              第一个 C:\\music\\song.mp3");
  registry.Set(kUser, key, "B", "AD05-01-2008第二个");
  registry.Set(kUser, key, "C", "AD06-01-2008");  // no name: skipped
  registry.Set(kUser, key, "D", "AD06-01-2008第四个");
  EXPECT_EQ(FindReminder(Context(), 2008, 5, 1), "              第一个 C:\\music\\song.mp3");
  EXPECT_EQ(FindReminder(Context(), 2009, 5, 1), "");
  EXPECT_EQ(Name(FindReminder(Context(), 2008, 6, 1)), "第四个");
  EXPECT_EQ(SplitRecord(FindReminder(Context(), 2008, 5, 1)).audio, "C:\\music\\song.mp3");
  EXPECT_EQ(FindReminder(Context(), 1799, 5, 1), "");
}

TEST_F(Records, TheCountdownSentence) {
  registry.Set(kUser, kSettingsKey, "MyCountdownDay", "AD09-01-2029        考试");
  const DayNumber target = DateToDayNumber(2029, 9, 1);
  const auto on = [&](DayNumber z) {
    const CivilDate d = *DayNumberToDate(z);
    return CountdownText(Context(), d.year, d.month, d.day);
  };
  EXPECT_EQ(on(target), "距考试还有0天");
  EXPECT_EQ(on(target - 12), "距考试还有12天");
  EXPECT_EQ(on(target - 1000), "距考试还有1000天");
  EXPECT_EQ(on(target - 1001), "");
  EXPECT_EQ(on(target + 1), "");
  for (const char* bad : {"AD9-01-2029考试", "AD09-01-2029", "XX09-01-2029考试", "AD02-30-2029考试",
                          "AD09-01-2201考试", "AD09/01/2029考试", "AD"}) {
    registry.Set(kUser, kSettingsKey, "MyCountdownDay", bad);
    EXPECT_EQ(on(target - 3), "") << bad;
  }
}

TEST_F(Records, TheEditorWritesWhatTheLookupsRead) {
  EXPECT_EQ(WriteMemorialLines(registry, {"公历05月01日（AD2000年）：            母亲生日 C:\\music\\song.mp3",
                                "农历08月30日（AD1900年）：                三十",
                                "回历12月30日（AD1420年）：                年末",
                                "短行"}), RecordSave::kSaved);
  EXPECT_EQ(ReadRegistryText(registry, kUser, "Software\\Tovani\\SolarMemorial", "05-01"),
            "AD2000            母亲生日 C:\\music\\song.mp3");
  EXPECT_EQ(Name(FindSolarMemorial(Context(), 2024, 5, 1)), "母亲生日");
  EXPECT_EQ(Name(FindHijriMemorial(Context(), 1445, 12, 30)), "年末");
  EXPECT_EQ(ReadMemorialLines(Context()).size(), 3u);
  // Writing the list again replaces it: what is not listed is gone, values
  // of other names too, and a key left with nothing.
  Memorial("SolarMemorial", "5-1", "AD2000 x");
  ASSERT_EQ(WriteMemorialLines(registry, {"公历05月02日（AD2000年）：                其他"}), RecordSave::kSaved);
  EXPECT_EQ(FindSolarMemorial(Context(), 2024, 5, 1), "");
  EXPECT_EQ(FindHijriMemorial(Context(), 1445, 12, 30), "");
  EXPECT_EQ(registry.ValueNames(kUser, "Software\\Tovani\\SolarMemorial"), std::vector<std::string>{"05-02"});
  EXPECT_FALSE(registry.HasKey(kUser, "Software\\Tovani\\MuharramMemorial"));
  EXPECT_EQ(ReadMemorialLines(Context()), std::vector<std::string>{"公历05月02日（AD2000年）：                其他"});

  WriteReminderLines(registry, {"提醒05月01日（AD2008年）：              第一个", "提醒06月01日（AD2008年）：第二个"});
  EXPECT_EQ(ReadRegistryText(registry, kUser, "Software\\Tovani\\SolarReminded", "A"), "AD05-01-2008              第一个");
  EXPECT_EQ(Name(FindReminder(Context(), 2008, 6, 1)), "第二个");
  // Twenty fill the slots A..T; a twenty-first line would be lost, so the
  // whole write is refused and the stored days stay.
  std::vector<std::string> many(20, "提醒07月01日（AD2008年）：                  多");
  EXPECT_EQ(WriteReminderLines(registry, many), RecordSave::kSaved);
  EXPECT_EQ(ReadRegistryText(registry, kUser, "Software\\Tovani\\SolarReminded", "T"), "AD07-01-2008                  多");
  EXPECT_EQ(ReadReminderLines(Context()).size(), 20u);
  const auto twenty = registry.Values();
  many.push_back("提醒08月01日（AD2008年）：                  满");
  EXPECT_EQ(WriteReminderLines(registry, many), RecordSave::kRefused);
  EXPECT_EQ(registry.Values(), twenty);
  WriteReminderLines(registry, {"提醒05月01日（AD2008年）：              第一个"});
  EXPECT_EQ(registry.ValueNames(kUser, "Software\\Tovani\\SolarReminded"), std::vector<std::string>{"A"});

  WriteCountdownLines(registry, {"倒计09月01日（AD2029年）：                考试 C:\\x.mp3"});
  EXPECT_EQ(ReadRegistryText(registry, kUser, kSettingsKey, "MyCountdownDay"), "AD09-01-2029                考试");
  EXPECT_EQ(ReadCountdownLines(Context()), std::vector<std::string>{"倒计09月01日（AD2029年）：                考试"});
  WriteCountdownLines(registry, {});
  EXPECT_EQ(ReadRegistryText(registry, kUser, kSettingsKey, "MyCountdownDay"), "");
}

// A refused write puts back what the save had written before it; when that is
// refused too, the save says that the old records are not all back.
TEST_F(Records, ARefusedWriteAndARefusedRestore) {
  const std::vector<std::string> old = {"提醒05月01日（AD2008年）：                旧一",
                                        "提醒06月01日（AD2008年）：                旧二"};
  const std::vector<std::string> edited = {"提醒05月02日（AD2008年）：                新一",
                                           "提醒06月02日（AD2008年）：                新二"};
  struct Case {
    int refuse;
    bool onward;
    RecordSave result;
  };
  const Case cases[] = {
      {0, false, RecordSave::kSaved},
      {1, false, RecordSave::kRefused},       // nothing written yet
      {2, false, RecordSave::kRefused},       // "A" written, then put back
      {2, true, RecordSave::kNotRestored},    // "A" written, and putting it back refused
  };
  for (const Case& c : cases) {
    RefusingRegistry store;
    ASSERT_EQ(WriteReminderLines(store, old), RecordSave::kSaved);
    const auto before = store.Values();
    store.writes = 0;
    store.refuse = c.refuse;
    store.refuseOnward = c.onward;
    EXPECT_EQ(WriteReminderLines(store, edited), c.result) << c.refuse;
    // Refused: put back as it was (not all of it when that was refused too).
    EXPECT_EQ(store.Values() == before, c.result == RecordSave::kRefused) << c.refuse;
  }
}

// Whatever the registry holds, the lookups return "" or a well-formed record.
TEST_F(Records, RandomStoredEntriesNeverBreakTheLookups) {
  std::mt19937 random(8);
  const std::string pieces[] = {"AD", "BC", "2000", "1800", "0000", "9", "-", "05", "01", "母亲", " ", "C:\\music\\song.mp3",
                                "\xB0", "\x81\x40", "x", "\\", ":", ".WAV", "2200", "12-31-"};
  for (int round = 0; round < 4000; ++round) {
    std::string data;
    const int count = static_cast<int>(random() % 10);
    for (int i = 0; i < count; ++i) data += pieces[random() % std::size(pieces)];
    if (random() % 3 == 0 && !data.empty()) data[random() % data.size()] = static_cast<char>(random() % 256);
    Memorial("SolarMemorial", "05-01", data);
    registry.Set(kUser, "Software\\Tovani\\SolarReminded", "A", data);
    registry.Set(kUser, kSettingsKey, "MyCountdownDay", data);
    for (const std::string& r : {FindSolarMemorial(Context(true), 2024, 5, 1), FindReminder(Context(), 2000, 5, 1)}) {
      if (r.empty()) continue;
      ASSERT_GE(r.size(), 20u);
      ASSERT_FALSE(SplitRecord(r).name.empty());
    }
    const std::string countdown = CountdownText(Context(), 2000, 1, 1);
    ASSERT_TRUE(countdown.empty() || countdown.rfind("距", 0) == 0);
  }
}

}  // namespace
}  // namespace tovani
