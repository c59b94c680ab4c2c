#include "ui/memorial/memorial_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "../app/fake_platform.h"
#include "app/startup.h"
#include "engine/date_text.h"

namespace tovani::memorial {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

DayInCalendars Day(int y, int m, int d) { return *FromGregorian({y, m, d}, kHistoricalRules); }

TEST(MemorialLines, TextsOfTheKinds) {
  EXPECT_STREQ(Caption(kMemorials), "编辑纪念日");
  EXPECT_STREQ(Caption(kReminders), "编辑提醒日");
  EXPECT_STREQ(Caption(kCountdown), "编辑倒计日");
  EXPECT_STREQ(TitleTip(kReminders), "提醒事项");
  EXPECT_STREQ(AddCaption(kMemorials, kLunarRow), "添加农历纪念日");
  EXPECT_STREQ(AddCaption(kMemorials, kHijriRow), "添加回历纪念日");
  EXPECT_STREQ(AddCaption(kReminders, kHijriRow), "添加公历提醒日");
  EXPECT_STREQ(AddCaption(kCountdown, kLunarRow), "添加公历倒计日");
}

// The title is cut to 20 bytes without splitting a two-byte character and
// right-aligned; the path follows after one blank, from byte 22.
TEST(MemorialLines, RecordTextCutsTheTitleByDisplayWidth) {
  struct Case {
    const char* title;
    const char* audio;
    const char* record;
  } cases[] = {
      {"母亲生日", "", "            母亲生日"},
      {"  母亲生日  ", "  C:\\a.mp3 ", "            母亲生日 C:\\a.mp3"},
      {"一二三四五六七八九十", "", "一二三四五六七八九十"},
      {"一二三四五六七八九十一", "", "一二三四五六七八九十"},
      {"a一二三四五六七八九十", "", " a一二三四五六七八九"},  // the tenth character would end at byte 21
      {"abcdefghijklmnopqrstuvwxyz", "", "abcdefghijklmnopqrst"},
      {"abcdefghijklmnopqrs 一", "", " abcdefghijklmnopqrs"},
  };
  for (const Case& c : cases) {
    const std::string r = RecordText(c.title, c.audio);
    EXPECT_EQ(r, c.record) << c.title;
    EXPECT_EQ(SplitRecord(r).name, TrimBlanks(std::string(c.record).substr(0, 20))) << c.title;
  }
}

TEST(MemorialLines, LinesAndKeysOfTheKinds) {
  const DayInCalendars day = Day(2023, 6, 10);  // lunar 04-23 (after a leap second month), Hijri 1444-11-21
  struct Case {
    int kind, row;
    const char* line;
    const char* key;
  } cases[] = {
      {kMemorials, kGregorianRow, "公历06月10日（AD2023年）：            母亲生日", "公历06月10日"},
      {kMemorials, kLunarRow, "农历04月23日（AD2023年）：            母亲生日", "农历04月23日"},
      {kMemorials, kHijriRow, "回历11月21日（AD1444年）：            母亲生日", "回历11月21日"},
      {kReminders, kLunarRow, "提醒06月10日（AD2023年）：            母亲生日", "提醒06月10日（AD2023年）："},
      {kCountdown, kHijriRow, "倒计06月10日（AD2023年）：            母亲生日", "倒计"},
  };
  for (const Case& c : cases) {
    MemorialEditor e(c.kind, true, {}, kHistoricalRules);
    ASSERT_TRUE(e.Add(c.row, day, "母亲生日", ""));
    ASSERT_EQ(e.lines().size(), 1u);
    EXPECT_EQ(e.lines()[0], c.line);
    const auto f = FieldsOfLine(c.line);
    ASSERT_TRUE(f);
    EXPECT_EQ(e.KeyOf(f->row, f->date), c.key);
    EXPECT_EQ(f->title, "母亲生日");
    EXPECT_EQ(e.Choose(0), f) << "the added line stands for what its layout says";
    const auto back = DayOfLine(*f, kHistoricalRules);
    ASSERT_TRUE(back) << c.line;
    EXPECT_EQ(*back, day) << c.line;
  }
  // A leap month keeps its month code; the audio path comes back from the line.
  const DayInCalendars leap = *FromLunar({2023, 14, 5}, kHistoricalRules);
  MemorialEditor e(kMemorials, true, {}, kHistoricalRules);
  ASSERT_TRUE(e.Add(kLunarRow, leap, "闰月", "C:\\a b\\c.mp3"));
  EXPECT_EQ(e.lines()[0], "农历14月05日（AD2023年）：                闰月 C:\\a b\\c.mp3");
  const auto f = FieldsOfLine(e.lines()[0]);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->audio, "C:\\a b\\c.mp3");
  EXPECT_EQ(DayOfLine(*f, kHistoricalRules), leap);
  EXPECT_EQ(e.Choose(0), f);
  // A title cut to its 20 bytes, blanks around title and path.
  ASSERT_TRUE(e.Add(kGregorianRow, leap, "  一二三四五六七八九十十一 ", " D:\\a.wav "));
  EXPECT_EQ(e.Choose(1), FieldsOfLine(e.lines()[1])) << e.lines()[1];
  EXPECT_EQ(e.Choose(1)->title, "一二三四五六七八九十");
  // Dates the lists cannot show, and lines of another layout.
  EXPECT_FALSE(DayOfLine({kGregorianRow, {1799, 12, 31}, "", ""}, kHistoricalRules));
  EXPECT_FALSE(DayOfLine({kLunarRow, {2023, 13, 1}, "", ""}, kHistoricalRules));  // no leap first month in 2023
  for (const char* bad : {"", "公历06月10日（AD2023年）", "其他06月10日（AD2023年）：x", "公历6月10日（AD2023年）：x"}) {
    EXPECT_FALSE(FieldsOfLine(bad)) << bad;
  }
  EXPECT_EQ(EraYear(-104), "BC0105");
  EXPECT_EQ(OpeningDate({1582, 10, 4}), (CalendarTriple{1800, 1, 1}));
  EXPECT_EQ(OpeningDate({4000, 2, 29}), (CalendarTriple{2200, 12, 31}));
  EXPECT_EQ(OpeningDate({2024, 2, 29}), (CalendarTriple{2024, 2, 29}));
}

TEST(MemorialEditorList, AddReplacesInPlaceByKey) {
  struct Step {
    int kind, row;
    DayInCalendars day;
    const char* title;
    std::vector<std::string> prefixes;  // the lines after the step, by their first bytes
    int chosen;
  };
  const DayInCalendars may1 = Day(2024, 5, 1), may2 = Day(2024, 5, 2), may1Next = Day(2025, 5, 1);
  const std::vector<Step> memorials = {
      {kMemorials, kGregorianRow, may1, "一", {"公历05月01日（AD2024年）：                  一"}, 0},
      {kMemorials, kLunarRow, may1, "二", {"公历05月01日", "农历03月23日"}, 1},
      {kMemorials, kGregorianRow, may2, "三", {"公历05月01日", "农历03月23日", "公历05月02日"}, 2},
      // Another year, same month and day: the memorial day is replaced.
      {kMemorials, kGregorianRow, may1Next, "四", {"公历05月01日（AD2025年）：                  四", "农历", "公历05月02日"}, 0},
      // An empty title or a blank one adds nothing.
      {kMemorials, kHijriRow, may1, "  ", {"公历05月01日", "农历", "公历05月02日"}, 0},
  };
  const std::vector<Step> reminders = {
      {kReminders, kGregorianRow, may1, "一", {"提醒05月01日（AD2024年）：                  一"}, 0},
      {kReminders, kHijriRow, may1Next, "二", {"提醒05月01日（AD2024年）", "提醒05月01日（AD2025年）"}, 1},
      {kReminders, kLunarRow, may1, "三", {"提醒05月01日（AD2024年）：                  三", "提醒05月01日（AD2025年）"}, 0},
  };
  const std::vector<Step> countdown = {
      {kCountdown, kGregorianRow, may1, "一", {"倒计05月01日（AD2024年）：                  一"}, 0},
      {kCountdown, kLunarRow, may2, "二", {"倒计05月02日（AD2024年）：                  二"}, 0},
  };
  for (const auto* steps : {&memorials, &reminders, &countdown}) {
    MemorialEditor e(steps->front().kind, true, {}, kHistoricalRules);
    for (const Step& s : *steps) {
      e.Add(s.row, s.day, s.title, "");
      ASSERT_EQ(e.lines().size(), s.prefixes.size()) << s.title;
      for (std::size_t i = 0; i < s.prefixes.size(); ++i) {
        EXPECT_EQ(e.lines()[i].compare(0, s.prefixes[i].size(), s.prefixes[i]), 0) << e.lines()[i];
      }
      EXPECT_EQ(e.chosen(), s.chosen) << s.title;
    }
  }
}

TEST(MemorialEditorList, ChooseDeleteAndRegistryUseOff) {
  MemorialEditor e(kMemorials, true, {"公历05月01日（AD2000年）：                  一",
                                      "回历12月30日（AD1420年）：                  二 C:\\x.wav"},
                   kHistoricalRules);
  EXPECT_EQ(e.chosen(), -1);
  EXPECT_FALSE(e.Delete());
  EXPECT_FALSE(e.Choose(2));
  const auto f = e.Choose(1);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->row, kHijriRow);
  EXPECT_EQ(f->date, (CalendarTriple{1420, 12, 30}));
  EXPECT_EQ(f->title, "二");
  EXPECT_EQ(f->audio, "C:\\x.wav");
  EXPECT_TRUE(e.Delete());
  EXPECT_EQ(e.lines(), std::vector<std::string>{"公历05月01日（AD2000年）：                  一"});
  EXPECT_EQ(e.chosen(), -1);

  // Registry use off: nothing listed, nothing added, deleted or saved.
  MemoryRegistry registry;
  MemorialEditor off(kMemorials, false, {"公历05月01日（AD2000年）：                  一"}, kHistoricalRules);
  EXPECT_FALSE(off.editable());
  EXPECT_TRUE(off.lines().empty());
  EXPECT_FALSE(off.Add(kGregorianRow, Day(2024, 5, 1), "一", ""));
  EXPECT_FALSE(off.Save(registry));
  EXPECT_TRUE(registry.Values().empty());
}

// Opening lists what is stored; saving the list unchanged keeps it; a store
// that refuses any one write leaves every record as it was and the editor
// says so.
TEST(MemorialEditorSave, ARefusedWriteLeavesTheRecordsAsTheyWere) {
  FakePlatform platform;
  platform.files = {"C:\\music\\song.mp3"};
  AppState state;
  RefusingRegistry registry;
  StartUp(state, registry, platform);
  const std::string key = kSettingsKey;
  const std::map<std::string, std::string> seeded = {
      {key + "\\SolarMemorial|05-01", "AD2000            母亲生日 C:\\music\\song.mp3"},
      {key + "\\SolarMemorial|06-01", "AD2001                儿童"},
      {key + "\\LunarMemorial|16-10", "AD2001                闰四"},
      {key + "\\MuharramMemorial|12-30", "AD1420                年末"},
      {key + "\\SolarReminded|A", "AD05-01-2008              第一个"},
      {key + "\\SolarReminded|B", "AD06-01-2008              第二个"},
      {key + "\\SolarReminded|C", "AD07-01-2008              第三个"},
      {key + "|MyCountdownDay", "AD09-01-2029                考试"},
  };
  const auto seed = [&] {
    for (const char* k : {"SolarMemorial", "LunarMemorial", "MuharramMemorial", "SolarReminded"}) {
      registry.RemoveKey(kUser, key + "\\" + k);
    }
    registry.RemoveValue(kUser, key, "MyCountdownDay");
    for (const auto& [path, data] : seeded) {
      const auto bar = path.find('|');
      registry.Set(kUser, path.substr(0, bar), path.substr(bar + 1), data);
    }
  };
  seed();
  const RecordContext records = MakeRecordContext(state, registry, platform);
  const auto before = registry.Values();

  const MemorialEditor opened = MemorialEditor::Open(kMemorials, true, records);
  EXPECT_EQ(opened.lines(), (std::vector<std::string>{
                                "公历05月01日（AD2000年）：            母亲生日 C:\\music\\song.mp3",
                                "公历06月01日（AD2001年）：                儿童",
                                "农历16月10日（AD2001年）：                闰四",
                                "回历12月30日（AD1420年）：                年末"}));
  EXPECT_EQ(MemorialEditor::Open(kReminders, true, records).lines().size(), 3u);
  EXPECT_EQ(MemorialEditor::Open(kCountdown, true, records).lines(),
            std::vector<std::string>{"倒计09月01日（AD2029年）：                考试"});
  EXPECT_TRUE(MemorialEditor::Open(kMemorials, false, records).lines().empty());

  const DayInCalendars day = Day(2024, 7, 1);
  for (const int kind : {kMemorials, kReminders, kCountdown}) {
    // The edit: one line changed, one added, one deleted (what applies).
    MemorialEditor edited = MemorialEditor::Open(kind, true, records);
    edited.Add(kGregorianRow, day, "新的", "");
    edited.Add(kLunarRow, day, "农历新的", "");
    if (kind != kCountdown && edited.Choose(0)) edited.Delete();
    for (int refuse = 1;; ++refuse) {
      MemorialEditor e(kind, true, edited.lines(), kHistoricalRules);
      registry.writes = 0;
      registry.refuse = refuse;
      if (e.Save(registry)) break;  // every write went through
      EXPECT_EQ(registry.Values(), before) << kind << " refused write " << refuse;
      EXPECT_EQ(e.status(), kSaveFailedText);
      EXPECT_EQ(e.lines(), edited.lines());  // the list stays for another try
    }
    registry.refuse = 0;
    // Saved: what is stored lists as the editor had it (memorial days by
    // calendar, month and day).
    std::vector<std::string> stored = MemorialEditor::Open(kind, true, records).lines(), listed = edited.lines();
    if (kind == kMemorials) {
      std::sort(stored.begin(), stored.end());
      std::sort(listed.begin(), listed.end());
    }
    EXPECT_EQ(stored, listed) << kind;
    EXPECT_NE(registry.Values(), before) << kind;
    seed();
  }
  // An empty list of memorial days removes them all.
  MemorialEditor empty(kMemorials, true, {}, kHistoricalRules);
  ASSERT_TRUE(empty.Save(registry));
  for (const char* k : {"SolarMemorial", "LunarMemorial", "MuharramMemorial"}) {
    EXPECT_FALSE(registry.HasKey(kUser, key + "\\" + k)) << k;
  }
  EXPECT_EQ(ReadRegistryText(registry, kUser, key + "\\SolarReminded", "A"), "AD05-01-2008              第一个");
}

// The store keeps 20 reminder days: a new 21st is refused with the limit
// named, a listed day can still be replaced, and after a delete one more fits.
TEST(MemorialEditorAdd, TwentyReminderDaysAtMost) {
  MemorialEditor e(kReminders, true, {}, kHistoricalRules);
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(e.Add(kGregorianRow, Day(2024, 1, 1 + i), "提醒", "")) << i;
  EXPECT_FALSE(e.Add(kGregorianRow, Day(2024, 2, 1), "第二十一", ""));
  EXPECT_EQ(e.status(), kReminderLimitText);
  EXPECT_EQ(e.lines().size(), 20u);
  EXPECT_TRUE(e.Add(kGregorianRow, Day(2024, 1, 5), "改名", ""));
  EXPECT_EQ(e.status(), "");
  ASSERT_TRUE(e.Choose(0));
  ASSERT_TRUE(e.Delete());
  EXPECT_TRUE(e.Add(kGregorianRow, Day(2024, 2, 1), "第二十一", ""));
  EXPECT_EQ(e.lines().size(), 20u);
  // Memorial days have a slot of their own for each date.
  MemorialEditor memorials(kMemorials, true, {}, kHistoricalRules);
  for (int i = 0; i < 21; ++i) EXPECT_TRUE(memorials.Add(kGregorianRow, Day(2024, 1, 1 + i), "纪念", "")) << i;
}

TEST(MemorialAudio, ADroppedFile) {
  FakePlatform platform;
  platform.files = {"C:\\music\\song.mp3", "C:\\music\\notes.txt"};
  struct Case {
    const char* path;
    bool hasForm;
    std::optional<std::string> field;
  } cases[] = {
      {"C:\\music\\song.mp3", true, "C:\\music\\song.mp3"},
      {"C:\\music\\song.mp3", false, ""},   // no code-page-936 form: the field is emptied
      {"C:\\music\\notes.txt", true, std::nullopt},
      {"C:\\music\\gone.mp3", true, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(DroppedAudio(c.path, c.hasForm, platform), c.field) << c.path;
}

}  // namespace
}  // namespace tovani::memorial
