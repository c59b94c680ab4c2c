#include "ui/coordinates/coordinates_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "../app/fake_platform.h"
#include "engine/cities.h"

namespace tovani::coordinates {
namespace {

TEST(CoordinateTexts, ShownWithTheirSideAndFixedDigits) {
  struct Case {
    double degrees;
    const char* longitude;
    const char* latitude;
  };
  const Case cases[] = {
      {0, "东经000.0000度", "南纬00.0000度"},  // 0 is east and south
      {-0.0, "东经000.0000度", "南纬00.0000度"},
      {-120.5, "东经120.5000度", "南纬120.5000度"},
      {120.5, "西经120.5000度", "北纬120.5000度"},
      {-87.6167, "东经087.6167度", "南纬87.6167度"},
      {39.9, "西经039.9000度", "北纬39.9000度"},
      {5.25, "西经005.2500度", "北纬05.2500度"},
      {180, "西经180.0000度", "北纬180.0000度"},
      {-116.38333, "东经116.3833度", "南纬116.3833度"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LongitudeText(c.degrees), c.longitude) << c.degrees;
    EXPECT_EQ(LatitudeText(c.degrees), c.latitude) << c.degrees;
  }
}

TEST(CoordinateTexts, TypedTextsAreReadOrRejected) {
  struct Case {
    const char* text;
    std::optional<double> longitude, latitude;
  };
  const Case cases[] = {
      {"东经120.5度", -120.5, std::nullopt},
      {"西经120.5度", 120.5, std::nullopt},
      {"东经181度", std::nullopt, std::nullopt},
      {"东经180度", -180, std::nullopt},
      {"西经180.0001度", std::nullopt, std::nullopt},
      {"东经000.0000度", -0.0, std::nullopt},
      {"东经.5度", -0.5, std::nullopt},
      {"东经120.度", -120, std::nullopt},
      {"北纬91度", std::nullopt, std::nullopt},
      {"北纬90度", std::nullopt, 90},
      {"南纬30.25度", std::nullopt, -30.25},
      {"北纬00.0000度", std::nullopt, 0},
      {"东经度", std::nullopt, std::nullopt},
      {"东经.度", std::nullopt, std::nullopt},
      {"东经1.2.3度", std::nullopt, std::nullopt},
      {"东经120.5", std::nullopt, std::nullopt},
      {"120.5度", std::nullopt, std::nullopt},
      {"东经 120度", std::nullopt, std::nullopt},
      {"东经-5度", std::nullopt, std::nullopt},
      {"东经+5度", std::nullopt, std::nullopt},
      {"东经1e2度", std::nullopt, std::nullopt},
      {"东经１２度", std::nullopt, std::nullopt},  // full-width digits
      {"东经12度 ", std::nullopt, std::nullopt},
      {"北经10度", std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadLongitude(c.text), c.longitude) << c.text;
    EXPECT_EQ(ReadLatitude(c.text), c.latitude) << c.text;
  }
  // A shown coordinate reads back as its value to four decimals.
  for (double v : {-116.3833, 121.4667, 0.0001, -179.9999, 89.5, -45.0625}) {
    EXPECT_NEAR(*ReadLongitude(LongitudeText(v)), v, 5e-5) << v;
    if (std::fabs(v) <= 90) {
      EXPECT_NEAR(*ReadLatitude(LatitudeText(v)), v, 5e-5) << v;
    }
  }
}

class Place : public testing::Test {
 protected:
  void SetUp() override { SelectCity(state.NowCityCode, state.MyCity, state.Current); }
  AppState state;
};

TEST_F(Place, ListChoicesAreCurrentAtOnceAndOnlyConfirmedOnesStay) {
  const auto items = CityListItems();
  ASSERT_EQ(static_cast<int>(items.size()), CityCount() + 1);
  EXPECT_EQ(items.front(), "天安门");
  EXPECT_EQ(items.back(), "自定义...");

  {
    PlaceEditor editor(state);
    const PlaceFields& f = editor.fields();
    EXPECT_EQ(f.item, 0);
    EXPECT_FALSE(f.own);
    EXPECT_EQ(f.name, "");
    EXPECT_EQ(f.longitude, "东经116.3833度");
    EXPECT_EQ(f.latitude, "北纬39.9000度");
    editor.Choose(22);  // 拉萨
    EXPECT_EQ(state.Current.name, "拉萨");
    EXPECT_EQ(f.longitude, "东经091.1333度");
    EXPECT_EQ(f.latitude, "北纬29.6500度");
    EXPECT_FALSE(editor.FillEmptyLongitude());  // a table city's fields are not edited
    editor.Cancel();
  }
  EXPECT_EQ(state.NowCityCode, 1);
  EXPECT_EQ(state.Current.name, "天安门");

  {
    PlaceEditor editor(state);
    editor.Choose(5);  // 哈尔滨
    EXPECT_EQ(editor.Confirm(), PlaceOutcome::kDone);
    editor.Cancel();  // the close after "确定" changes nothing
  }
  EXPECT_EQ(state.NowCityCode, 6);
  EXPECT_EQ(state.Current.name, "哈尔滨");
  EXPECT_DOUBLE_EQ(state.Current.longitude, -126.5333);

  // The own place, not set yet: an empty name and zero coordinates to edit.
  PlaceEditor editor(state);
  EXPECT_EQ(editor.fields().item, 5);
  editor.Choose(CityCount());
  const PlaceFields& f = editor.fields();
  EXPECT_TRUE(f.own);
  EXPECT_EQ(f.name, "");
  EXPECT_EQ(f.longitude, "东经000.0000度");
  EXPECT_EQ(f.latitude, "南纬00.0000度");
  editor.EditLongitude("");
  EXPECT_TRUE(editor.FillEmptyLongitude());
  EXPECT_EQ(f.longitude, "东经000.0000度");
  EXPECT_FALSE(editor.FillEmptyLongitude());
  editor.EditLatitude("");
  EXPECT_TRUE(editor.FillEmptyLatitude());
  EXPECT_EQ(f.latitude, "北纬00.0000度");
  editor.Cancel();
  EXPECT_EQ(state.Current.name, "哈尔滨");
}

TEST_F(Place, TheOwnPlaceIsStoredOnlyWhenEveryFieldIsRight) {
  struct Case {
    const char* name;
    const char* longitude;
    const char* latitude;
    PlaceOutcome outcome;
    const char* longitudeAfter;
    const char* latitudeAfter;
    OwnPlace stored;  // when kDone
  };
  const Case cases[] = {
      {"", "东经120.5度", "北纬30度", PlaceOutcome::kNameMissing, "东经120.5度", "北纬30度", {}},
      {"我家", "东经181度", "北纬30度", PlaceOutcome::kBadLongitude, "东经000.0000度", "北纬30度", {}},
      {"我家", "西经120.5", "北纬91度", PlaceOutcome::kBadLongitude, "东经000.0000度", "北纬91度", {}},
      {"我家", "西经120.5度", "北纬91度", PlaceOutcome::kBadLatitude, "西经120.5度", "北纬00.0000度", {}},
      {"我家", "东经120.5度", "南纬30.25度", PlaceOutcome::kDone, "东经120.5000度", "南纬30.2500度",
       {"我家", -120.5, -30.25}},
      {"我家", "西经120.5度", "北纬00.0000度", PlaceOutcome::kDone, "西经120.5000度", "南纬00.0000度",
       {"我家", 120.5, 0}},
      {"0", "东经000.0000度", "北纬1度", PlaceOutcome::kDone, "东经000.0000度", "北纬01.0000度", {"0", 0, 1}},
      // Exactly what is kept, 12 bytes; a longer name is refused as typed,
      // never cut.
      {"黑龙江省城市", "东经1度", "北纬1度", PlaceOutcome::kDone, "东经001.0000度", "北纬01.0000度",
       {"黑龙江省城市", -1, 1}},
      {"abcd黑龙江省", "东经1度", "北纬1度", PlaceOutcome::kDone, "东经001.0000度", "北纬01.0000度",
       {"abcd黑龙江省", -1, 1}},
      {"abc黑龙江省城", "东经1度", "北纬1度", PlaceOutcome::kNameMissing, "东经1度", "北纬1度", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.longitude + " " + c.latitude);
    AppState s = state;
    PlaceEditor editor(s);
    editor.Choose(CityCount());
    EXPECT_EQ(editor.EditName(c.name), std::string(c.name).size() <= 12);
    editor.EditLongitude(c.longitude);
    editor.EditLatitude(c.latitude);
    EXPECT_EQ(editor.Confirm(), c.outcome);
    EXPECT_EQ(editor.fields().longitude, c.longitudeAfter);
    EXPECT_EQ(editor.fields().latitude, c.latitudeAfter);
    editor.Cancel();  // the window closes
    if (c.outcome == PlaceOutcome::kDone) {
      EXPECT_EQ(s.NowCityCode, kOwnPlaceCode);
      EXPECT_EQ(s.MyCity.name, c.stored.name);
      EXPECT_EQ(s.MyCity.longitude, c.stored.longitude);
      EXPECT_EQ(s.MyCity.latitude, c.stored.latitude);
      EXPECT_EQ(s.Current.name, c.stored.name);
      EXPECT_EQ(s.Current.longitude, c.stored.longitude);
      EXPECT_EQ(editor.fields().name, c.stored.name);
    } else {
      EXPECT_EQ(s.NowCityCode, 1);
      EXPECT_EQ(s.MyCity.name, "");
      EXPECT_EQ(s.Current.name, "天安门");
    }
  }
}

TEST(AlarmTimes, TypedTimesAreReadOrRejected) {
  struct Case {
    const char* text;
    std::optional<int> minute;
  };
  const Case cases[] = {
      {"23:59", 1439}, {"00:00", 0}, {"7", 420},  {"07:05", 425},      {"7:5", 425},       {"0023", 1380},
      {"24", {}},      {"24:00", {}}, {"12:60", {}}, {"", {}},         {":30", {}},        {"7:", {}},
      {"1:2:3", {}},   {" 7", {}},    {"-1", {}},    {"7.5", {}},      {"99999", {}},      {"０７:００", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadAlarmTime(c.text), c.minute) << c.text;
  for (int m : {0, 1, 450, 1439}) EXPECT_EQ(ReadAlarmTime(AlarmTimeText(m)), m);
  EXPECT_EQ(AlarmTimeText(450), "07:30");
}

TEST(AlarmTimes, TheFirstFaultyTimeStopsTheStore) {
  AppState state;
  state.Alarms = {AlarmSetting{true, 450, 4}, AlarmSetting{false, 0, 0}, AlarmSetting{true, 1439, 2}};
  AlarmEditor editor(state);
  EXPECT_EQ(editor.rows()[0].time, "07:30");
  EXPECT_TRUE(editor.rows()[0].on);
  EXPECT_EQ(editor.rows()[0].sound, 4);
  EXPECT_EQ(editor.rows()[1].time, "00:00");
  EXPECT_EQ(editor.rows()[2].time, "23:59");
  EXPECT_EQ(SoundListItems(), (std::vector<std::string>{"空袭警报", "锣鼓声", "鸡叫声", "号角声", "电话铃"}));
  EXPECT_EQ(AlarmBoxLabel(2), "打开闹钟3");

  const auto before = state.Alarms;
  struct Case {
    const char* a;
    const char* b;
    const char* c;
    std::optional<int> faultyRow;
  };
  const Case cases[] = {
      {"8", "", "24", 1},  // an empty time of an unticked alarm counts too
      {"8", "0:0", "24", 2},
      {"x", "", "", 0},
  };
  for (const auto& c : cases) {
    AlarmEditor e(state);
    e.EditTime(0, c.a);
    e.EditTime(1, c.b);
    e.EditTime(2, c.c);
    EXPECT_EQ(e.Confirm(state), c.faultyRow) << c.a << "|" << c.b << "|" << c.c;
    EXPECT_EQ(e.rows()[*c.faultyRow].time, "00:00");
    EXPECT_EQ(state.Alarms, before);
  }
  EXPECT_FALSE(editor.FillEmptyTime(1));
  editor.EditTime(1, "");
  EXPECT_TRUE(editor.FillEmptyTime(1));
  EXPECT_EQ(editor.rows()[1].time, "00:00");

  editor.Tick(0, false);
  editor.Tick(1, true);
  editor.EditTime(1, "6:5");
  editor.ChooseSound(1, 3);
  editor.ChooseSound(2, -1);
  EXPECT_EQ(editor.Confirm(state), std::nullopt);
  EXPECT_EQ(state.Alarms[0], (AlarmSetting{false, 450, 4}));
  EXPECT_EQ(state.Alarms[1], (AlarmSetting{true, 365, 3}));
  EXPECT_EQ(state.Alarms[2], (AlarmSetting{true, 1439, 0}));
}

// The days of each alarm, the quiet time (checked after the alarms' times)
// and the working-days option of the hourly announcement.
TEST(AlarmTimes, TheDaysOfTheAlarmsAndTheQuietTime) {
  AppState state;
  state.Alarms[1].days = kWorkingDays;
  state.HourlyQuietTime = "23:30-06:00";
  AlarmEditor editor(state);
  EXPECT_EQ(DaysListItems(), (std::vector<std::string>{"每天", "工作日", "休息日"}));
  EXPECT_EQ(editor.rows()[1].days, kWorkingDays);
  EXPECT_EQ(editor.TimeText(kQuietFromField), "23:30");
  EXPECT_EQ(editor.TimeText(kQuietToField), "06:00");
  editor.EditTime(kQuietToField, "25:00");
  EXPECT_EQ(editor.Confirm(state), kQuietToField);
  EXPECT_EQ(editor.TimeText(kQuietToField), "00:00");
  EXPECT_EQ(state.HourlyQuietTime, "23:30-06:00");
  editor.EditTime(kQuietFromField, "21");
  editor.EditTime(kQuietToField, "8:15");
  editor.ChooseDays(1, kDaysOff);
  editor.ChooseDays(2, 7);  // no such item: every day
  editor.SetWorkingDaysOnly(true);
  EXPECT_EQ(editor.Confirm(state), std::nullopt);
  EXPECT_EQ(state.Alarms[1].days, kDaysOff);
  EXPECT_EQ(state.Alarms[2].days, kEveryDay);
  EXPECT_EQ(state.HourlyQuietTime, "21:00-08:15");
  EXPECT_TRUE(state.HourlyWorkdaysOnlyFlag);
}

// The displayed date of 1980..2099 only; a refusal is told, with its reason.
TEST(SystemDate, TheDisplayedDateOf1980To2099Only) {
  constexpr DateChange kDone = DateChange::kDone, kNotAllowed = DateChange::kNotAllowed;
  struct Case {
    CivilDate displayed;
    DateChange system;
    std::optional<DateChange> outcome;
    const char* message;
  };
  const Case cases[] = {
      {{2024, 2, 29}, kDone, kDone, ""},
      {{1980, 1, 1}, kDone, kDone, ""},
      {{2099, 12, 31}, kDone, kDone, ""},
      {{1979, 12, 31}, kDone, std::nullopt, ""},
      {{2100, 1, 1}, kDone, std::nullopt, ""},
      {{2023, 2, 29}, kDone, std::nullopt, ""},
      {{2024, 5, 1}, kNotAllowed, kNotAllowed, "系统日期没有修改：修改系统日期需要管理员权限。"},
      {{2024, 5, 2}, DateChange::kRefused, DateChange::kRefused, "系统日期没有修改：系统拒绝了这次修改。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.displayed.year) + "-" + std::to_string(c.displayed.month));
    AppState state;
    state.CurrentYear = c.displayed.year;
    state.CurrentMonth = c.displayed.month;
    state.CurrentDay = c.displayed.day;
    FakePlatform platform;
    platform.dateChange = c.system;
    const CivilDate before = platform.today;
    const auto outcome = SetSystemDate(state, platform);
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(platform.today, outcome == kDone ? c.displayed : before);
    EXPECT_EQ(platform.datesSet.size(), c.outcome ? 1u : 0u);
    EXPECT_STREQ(outcome ? DateChangeMessage(*outcome) : "", c.message);
  }
}

}  // namespace
}  // namespace tovani::coordinates
