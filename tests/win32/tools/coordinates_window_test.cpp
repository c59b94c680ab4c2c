// The place, alarm and system-date window of the real tovani.exe, opened by
// its menu commands and driven from outside as its user would: the place
// chosen shows in the day window's sun times, the alarms are kept in the
// settings and ring, and the system-date question never changes the clock
// of the machine that runs the test.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "engine/cities.h"
#include "engine/dates.h"
#include "engine/sun_times.h"
#include "remote.h"
#include "ui/common/list_texts.h"
#include "ui/coordinates/coordinates_frame.h"
#include "ui/coordinates/coordinates_model.h"
#include "ui/day/day_frame.h"
#include "ui/day/day_model.h"
#include "ui/menu/menu_model.h"

namespace tovani::testing_win32 {
namespace {

using namespace coordinates;

// The sun-times line of the day window for the displayed date (today) holds
// the sunrise and sunset of the place.
bool ShowsSunTimesOf(const std::string& line, double longitude, double latitude) {
  const CalendarTriple today = Today();
  const DayNumber z = DateToDayNumber(CivilDate{today.year, today.month, today.day});
  const std::string rise = SunEventTime(z, longitude, latitude, TimeZoneHours, kSunrise);
  const std::string set = SunEventTime(z, longitude, latitude, TimeZoneHours, kSunset);
  return !rise.empty() && line.find("日出时刻" + rise) != std::string::npos &&
         line.find("日落时刻" + set) != std::string::npos;
}

double Degrees(const char* text) { return std::stod(text); }

class CoordinatesWindow : public ProgramTest {
 protected:
  bool Launch() {
    main_ = Start(L"TOVANI_DFORM");
    if (main_ == nullptr) return false;
    AnswerQuestions(IDNO);  // a place or an alarm changed while registry use is off
    return true;
  }
  // Opens a mode by its menu command (the window is modal: posted).
  HWND Open(int command) {
    PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(command), 0);
    HWND w = WaitForWindow(*program_, L"TOVANI_LFORM");
    if (w != nullptr) {
      EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(main_); }, 5000));
    }
    return w;
  }
  // The window has gone and the main window is back for good: a kept
  // setting changed while registry use is off brings a question right after
  // the window goes (answered by the test), so the main window must stay
  // enabled with no question open for a while.
  bool Gone(HWND w) {
    if (!WaitUntil([&] { return !IsWindow(w); }, 10000)) return false;
    const auto settled = [&] {
      if (IsWindowEnabled(main_) == FALSE) return false;
      for (HWND h : WindowsOf(program_->id(), L"#32770")) {
        if (IsMessageBox(h)) return false;
      }
      return true;
    };
    for (int tries = 0; tries < 50; ++tries) {
      if (WaitUntil(settled, 5000) && !WaitUntil([&] { return !settled(); }, 500)) return true;
    }
    return false;
  }
  // The window is still there a moment after a press.
  bool StaysOpen(HWND w) { return !WaitUntil([&] { return !IsWindow(w); }, 400); }
  static HWND Item(HWND w, int id) { return GetDlgItem(w, id); }
  static void Type(HWND field, const std::string& text) {
    Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
  }
  static bool ReadOnly(HWND field) { return (GetWindowLongW(field, GWL_STYLE) & ES_READONLY) != 0; }
  static bool Checked(HWND box) { return Send(box, BM_GETCHECK) == BST_CHECKED; }
  // A click on a check box (which ticks or unticks it, then tells the window).
  static void Tick(HWND box) { Send(box, BM_CLICK); }
  // The caption, and every control within the window.
  static void ExpectFrame(HWND w, const char* caption) {
    EXPECT_EQ(TextOf(w), caption);
    ExpectControlsInside(w);
  }
  // What the place fields show.
  struct Shown {
    int item;
    bool nameShown;
    std::string name, longitude, latitude;
    bool editable;
  };
  static void ExpectPlace(HWND w, const Shown& s) {
    EXPECT_EQ(ListOf(Item(w, kCityList)).selected, s.item);
    EXPECT_EQ(IsWindowVisible(Item(w, kNameField)) != FALSE, s.nameShown);
    EXPECT_EQ(TextOf(Item(w, kNameField)), s.name);
    EXPECT_EQ(TextOf(Item(w, kLongitudeField)), s.longitude);
    EXPECT_EQ(TextOf(Item(w, kLatitudeField)), s.latitude);
    EXPECT_EQ(ReadOnly(Item(w, kLongitudeField)), !s.editable);
    EXPECT_EQ(ReadOnly(Item(w, kLatitudeField)), !s.editable);
  }
  std::string SunLine() { return TextOf(GetDlgItem(main_, day::kTextLine2Id)); }

  HWND main_ = nullptr;
};

// A city of the table, chosen and confirmed, is the place of the day
// window's sun times; a choice undone by "取消" or the close box is not.
TEST_F(CoordinatesWindow, ATableCityBecomesThePlaceOfTheSunTimes) {
  ASSERT_TRUE(Launch());
  Command(main_, menu::kOptionInfoSunTimes);
  const City* first = CityAt(1);
  EXPECT_TRUE(ShowsSunTimesOf(SunLine(), Degrees(first->longitude), Degrees(first->latitude))) << SunLine();

  HWND w = Open(menu::kCoordinates);
  ASSERT_NE(w, nullptr);
  ExpectFrame(w, "本地坐标");
  SaveShot(w, "mode1-city");
  const ListState list = ListOf(Item(w, kCityList));
  EXPECT_EQ(list.count, CityCount() + 1);
  EXPECT_EQ(ItemOf(Item(w, kCityList), CityCount()), "自定义...");
  const std::pair<int, const char*> texts[] = {{kNameLabel, "地 名"},      {kLongitudeLabel, "经 度"},
                                               {kLatitudeLabel, "纬 度"},   {kTimeZoneLabel, "历算时区为东8区"},
                                               {kOk, "确定"},               {kCancel, "取消"}};
  for (const auto& [id, text] : texts) EXPECT_EQ(TextOf(Item(w, id)), text) << id;
  ExpectPlace(w, {0, false, "", "东经116.3833度", "北纬39.9000度", false});

  ChooseItem(Item(w, kCityList), 22);  // 拉萨
  ExpectPlace(w, {22, false, "", "东经091.1333度", "北纬29.6500度", false});
  Click(Item(w, kOk));
  ASSERT_TRUE(Gone(w));
  const City* lhasa = CityAt(23);
  const std::string lhasaLine = SunLine();
  EXPECT_TRUE(ShowsSunTimesOf(lhasaLine, Degrees(lhasa->longitude), Degrees(lhasa->latitude))) << lhasaLine;

  // Another city chosen, then 取消 (and then the close box): the place stays.
  for (bool byCancel : {true, false}) {
    w = Open(menu::kCoordinates);
    ASSERT_NE(w, nullptr);
    ExpectPlace(w, {22, false, "", "东经091.1333度", "北纬29.6500度", false});
    ChooseItem(Item(w, kCityList), 5);  // 哈尔滨
    ExpectPlace(w, {5, false, "", "东经126.5333度", "北纬45.8000度", false});
    if (byCancel) {
      Click(Item(w, kCancel));
    } else {
      PostMessageW(w, WM_CLOSE, 0, 0);
    }
    ASSERT_TRUE(Gone(w));
    EXPECT_EQ(SunLine(), lhasaLine);
  }
}

// The user's own place: faulty coordinates are reset and keep the window
// open; a right one is stored, shown in the sun times, and kept across a
// restart, even under the name "0", which the registry cannot hold as it is.
TEST_F(CoordinatesWindow, AnOwnPlaceIsCheckedKeptAndShown) {
  SeedSettings({{L"Version", L"4.1"}});
  ASSERT_TRUE(Launch());
  Command(main_, menu::kOptionInfoSunTimes);
  HWND w = Open(menu::kCoordinates);
  ASSERT_NE(w, nullptr);
  ChooseItem(Item(w, kCityList), CityCount());
  ExpectPlace(w, {CityCount(), true, "", "东经000.0000度", "南纬00.0000度", true});
  SaveShot(w, "mode1-own");

  struct Press {
    const char* name;
    const char* longitude;
    const char* latitude;
    bool closes;
    const char* longitudeAfter;
    const char* latitudeAfter;
  };
  const Press presses[] = {
      {"", "东经120.5度", "北纬30.25度", false, "东经120.5度", "北纬30.25度"},  // no name
      {"0", "东经181度", "北纬30.25度", false, "东经000.0000度", "北纬30.25度"},
      {"0", "东经120.5度", "北纬91度", false, "东经120.5度", "北纬00.0000度"},
      {"0", "东经120.5度", "北纬30.25", false, "东经120.5度", "北纬00.0000度"},
      {"0", "东经120.5度", "北纬30.25度", true, "", ""},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(std::string(p.name) + " " + p.longitude + " " + p.latitude);
    Type(Item(w, kNameField), p.name);
    Type(Item(w, kLongitudeField), p.longitude);
    Type(Item(w, kLatitudeField), p.latitude);
    if (p.closes) {
      Send(w, WM_COMMAND, IDOK, 0);  // Enter
      ASSERT_TRUE(Gone(w));
      break;
    }
    Click(Item(w, kOk));
    ASSERT_TRUE(StaysOpen(w));
    EXPECT_EQ(TextOf(Item(w, kLongitudeField)), p.longitudeAfter);
    EXPECT_EQ(TextOf(Item(w, kLatitudeField)), p.latitudeAfter);
  }
  EXPECT_TRUE(ShowsSunTimesOf(SunLine(), -120.5, 30.25)) << SunLine();

  // A double click fills an empty coordinate field with its zero text.
  w = Open(menu::kCoordinates);
  ASSERT_NE(w, nullptr);
  ExpectPlace(w, {CityCount(), true, "0", "东经120.5000度", "北纬30.2500度", true});
  Type(Item(w, kLongitudeField), "");
  Send(Item(w, kLongitudeField), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(TextOf(Item(w, kLongitudeField)), kZeroLongitude);
  Click(Item(w, kCancel));
  ASSERT_TRUE(Gone(w));
  EXPECT_TRUE(ShowsSunTimesOf(SunLine(), -120.5, 30.25)) << SunLine();

  ASSERT_TRUE(CloseAndWait(main_));
  EXPECT_EQ(StoredSetting(L"NowCityCode"), L"44");
  EXPECT_EQ(StoredSetting(L"MyCityName"), L"<none>");  // "0" is kept as the coordinates alone
  EXPECT_EQ(StoredSetting(L"MyCityLongitude"), L"-120.5");
  EXPECT_EQ(StoredSetting(L"MyCityLatitude"), L"30.25");
  ASSERT_TRUE(Launch());
  Command(main_, menu::kOptionInfoSunTimes);
  EXPECT_TRUE(ShowsSunTimesOf(SunLine(), -120.5, 30.25)) << SunLine();
  w = Open(menu::kCoordinates);
  ASSERT_NE(w, nullptr);
  ExpectPlace(w, {CityCount(), true, "0", "东经120.5000度", "北纬30.2500度", true});
  Click(Item(w, kCancel));
  ASSERT_TRUE(Gone(w));
}

// The place name takes exactly what the store keeps, 6 Chinese characters or
// 12 letters: one more is refused as it is typed, never cut later.
TEST_F(CoordinatesWindow, ThePlaceNameTakesWhatIsKept) {
  ASSERT_TRUE(Launch());
  HWND w = Open(menu::kCoordinates);
  ASSERT_NE(w, nullptr);
  ChooseItem(Item(w, kCityList), CityCount());
  HWND name = Item(w, kNameField);
  struct Case {
    const wchar_t* typed;
    const char* shown;
  };
  const Case cases[] = {
      {L"黑龙江省城市区", "黑龙江省城市"},
      {L"abcdefghijklm", "abcdefghijkl"},
      {L"ab黑龙江省城x", "ab黑龙江省城"},
  };
  for (const Case& c : cases) {
    Type(name, "");
    for (const wchar_t* p = c.typed; *p != 0; ++p) Send(name, WM_CHAR, *p, 1);
    EXPECT_EQ(TextOf(name), c.shown);
  }
  SaveShot(w, "name-refused");
  Type(Item(w, kLongitudeField), "东经120度");
  Type(Item(w, kLatitudeField), "北纬30度");
  Click(Item(w, kOk));
  ASSERT_TRUE(Gone(w));
  w = Open(menu::kCoordinates);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(TextOf(Item(w, kNameField)), "ab黑龙江省城");
  Click(Item(w, kCancel));
  ASSERT_TRUE(Gone(w));
}

// ---- Alarms ----

// The minute of the day and the second by the program's clock.
int MinuteNow() {
  const SYSTEMTIME t = ProgramNow();
  return t.wHour * 60 + t.wMinute;
}

int SecondNow() { return ProgramNow().wSecond; }

// Times are checked before anything is stored; the alarms set are kept in
// the settings, an armed one rings in its minute, and unticking every alarm
// stops the ringing.
TEST_F(CoordinatesWindow, AlarmsAreCheckedStoredAndRing) {
  SeedSettings({{L"Version", L"4.1"}});
  ASSERT_TRUE(Launch());
  HWND w = Open(menu::kEditAlarms);
  ASSERT_NE(w, nullptr);
  ExpectFrame(w, "编辑闹钟");  // with the days of each alarm and the quiet time
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(TextOf(Item(w, kAlarmBox + row)), AlarmBoxLabel(row));
    EXPECT_FALSE(Checked(Item(w, kAlarmBox + row)));
    EXPECT_EQ(TextOf(Item(w, kTimeField + row)), "00:00");
    const ListState sounds = ListOf(Item(w, kSoundList + row));
    EXPECT_EQ(sounds.count, 5);
    EXPECT_EQ(sounds.text, "空袭警报");
    EXPECT_EQ(ItemOf(Item(w, kSoundList + row), 4), "电话铃");
    EXPECT_EQ(ListOf(Item(w, kDaysList + row)).text, "每天");
  }
  EXPECT_EQ(TextOf(Item(w, kTimeField + kQuietFromField)), "22:00");
  EXPECT_EQ(TextOf(Item(w, kTimeField + kQuietToField)), "07:00");

  // The first faulty time is reset, and nothing is stored.
  struct Press {
    const char* times[3];
    const char* after[3];
  };
  const Press faulty[] = {
      {{"7:5", "24", ""}, {"7:5", "00:00", ""}},  // an unticked alarm's time counts too
      {{"7:5", "23:59", ""}, {"7:5", "23:59", "00:00"}},
      {{"", "23:59", "x"}, {"00:00", "23:59", "x"}},
  };
  for (const Press& p : faulty) {
    for (int row = 0; row < 3; ++row) Type(Item(w, kTimeField + row), p.times[row]);
    Click(Item(w, kOk));
    ASSERT_TRUE(StaysOpen(w));
    for (int row = 0; row < 3; ++row) EXPECT_EQ(TextOf(Item(w, kTimeField + row)), p.after[row]) << row;
  }

  // A armed for the next minute with sound 4, B at 23:59 unarmed with sound
  // 2, C armed at 06:00 with sound 1.
  const int ring = (MinuteNow() + 1) % 1440;
  const std::string ringText = AlarmTimeText(ring);
  Tick(Item(w, kAlarmBox + 0));
  Type(Item(w, kTimeField + 0), ringText);
  ChooseItem(Item(w, kSoundList + 0), 4);
  Type(Item(w, kTimeField + 1), "23:59");
  ChooseItem(Item(w, kSoundList + 1), 2);
  Tick(Item(w, kAlarmBox + 2));
  Type(Item(w, kTimeField + 2), "6");
  ChooseItem(Item(w, kSoundList + 2), 1);
  SaveShot(w, "mode2");
  Click(Item(w, kOk));
  ASSERT_TRUE(Gone(w));

  w = Open(menu::kEditAlarms);
  ASSERT_NE(w, nullptr);
  const bool on[] = {true, false, true};
  const std::string times[] = {ringText, "23:59", "06:00"};
  const int sounds[] = {4, 2, 1};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(Checked(Item(w, kAlarmBox + row)), on[row]) << row;
    EXPECT_EQ(TextOf(Item(w, kTimeField + row)), times[row]) << row;
    EXPECT_EQ(ListOf(Item(w, kSoundList + row)).selected, sounds[row]) << row;
  }
  Click(Item(w, kCancel));
  ASSERT_TRUE(Gone(w));

  // The program plays its sounds on threads of their own, whatever device
  // plays them (under Wine a null one): the passes of the alarm sounds are
  // what shows from outside.  None before the minute, passes within it,
  // none once every alarm is unticked.
  if (MinuteNow() != ring && SecondNow() < 55) {  // the quiet time ends before the minute does
    EXPECT_EQ(ThreadsStartedWithin(program_->id(), 1500), 0);
  }
  ASSERT_TRUE(WaitUntil([&] { return MinuteNow() == ring; }, 65000));
  // The program's clock may be a moment behind this reckoning of it (it was
  // read as the program started): the passes are counted until there are two.
  int passes = 0;
  for (int i = 0; i < 4 && passes < 2; ++i) passes += ThreadsStartedWithin(program_->id(), 2000);
  std::printf("[ note ] %d threads started in the alarm's minute\n", passes);
  EXPECT_GE(passes, 2) << "the alarm does not ring";
  w = Open(menu::kEditAlarms);
  ASSERT_NE(w, nullptr);
  Tick(Item(w, kAlarmBox + 0));
  Tick(Item(w, kAlarmBox + 2));
  Click(Item(w, kOk));
  ASSERT_TRUE(Gone(w));
  Sleep(1500);  // the pass under way ends
  EXPECT_EQ(ThreadsStartedWithin(program_->id(), 3000), 0) << "the alarm rings on";
  EXPECT_EQ(MinuteNow(), ring) << "too late in the minute to tell";

  ASSERT_TRUE(CloseAndWait(main_));
  const auto stored = [](int minute) { return minute == 0 ? std::wstring(L"<none>") : std::to_wstring(minute); };
  EXPECT_EQ(StoredSetting(L"OpenAlarmClockAFlag"), L"<none>");
  EXPECT_EQ(StoredSetting(L"DefiniteAlarmATime"), stored(ring));
  EXPECT_EQ(StoredSetting(L"DefiniteAlarmASoundNo"), L"4");
  EXPECT_EQ(StoredSetting(L"OpenAlarmClockBFlag"), L"<none>");
  EXPECT_EQ(StoredSetting(L"DefiniteAlarmBTime"), L"1439");
  EXPECT_EQ(StoredSetting(L"DefiniteAlarmBSoundNo"), L"2");
  EXPECT_EQ(StoredSetting(L"OpenAlarmClockCFlag"), L"<none>");
  EXPECT_EQ(StoredSetting(L"DefiniteAlarmCTime"), L"360");
  EXPECT_EQ(StoredSetting(L"DefiniteAlarmCSoundNo"), L"1");
}

// ---- The computer's date ----

// The computer's own date, which these tests are about: it must not change.
CalendarTriple ComputerDate() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay};
}

// The question shows for a displayed year of 1980..2099 and 取消 leaves the
// date alone; for another year the command opens nothing.  (确定 itself is
// not pressed here: it would set the clock of the machine running the test.)
TEST_F(CoordinatesWindow, TheSystemDateQuestion) {
  ASSERT_TRUE(Launch());
  HWND years = GetDlgItem(main_, day::kListBase + day::kGregorianYear);
  const int firstYear = MakeCalendarRange(-103, 4103, kHistoricalRules).firstYear;
  ChooseItem(years, 1999 - firstYear);
  HWND w = Open(menu::kSetSystemDate);
  ASSERT_NE(w, nullptr);
  ExpectFrame(w, "警告");
  EXPECT_EQ(TextOf(Item(w, kQuestion)), kSystemDateQuestion);
  EXPECT_EQ(TextOf(Item(w, kOk)), "确定");
  EXPECT_EQ(TextOf(Item(w, kCancel)), "取消");
  SaveShot(w, "mode3");
  Click(Item(w, kCancel));
  ASSERT_TRUE(Gone(w));
  EXPECT_NE(ComputerDate().year, 1999);  // the computer's clock was not set to the displayed date

  // The displayed year 1979 and then 2100, chosen in the day window's list.
  for (int year : {1979, 2100}) {
    const int index = year - firstYear;
    ASSERT_EQ(ItemOf(years, index), GregorianYearItem(year));
    ChooseItem(years, index);
    PostMessageW(main_, WM_COMMAND, menu::kSetSystemDate, 0);
    EXPECT_FALSE(WaitUntil([&] { return !WindowsOf(program_->id(), L"TOVANI_LFORM").empty(); }, 1500)) << year;
    EXPECT_TRUE(IsWindowEnabled(main_));
  }
}

// 确定 as a user without the right to change the clock: the date stays, and
// the program says so and why.  Under Wine only, which refuses any change of
// its clock; on Windows the test would set the clock of its machine.
TEST_F(CoordinatesWindow, ARefusedDateChangeIsTold) {
  if (!UnderWine()) GTEST_SKIP() << "it would set the clock of this machine";
  ASSERT_TRUE(Launch());
  answerer_.reset();  // the message is answered here
  HWND years = GetDlgItem(main_, day::kListBase + day::kGregorianYear);
  ChooseItem(years, 2000 - MakeCalendarRange(-103, 4103, kHistoricalRules).firstYear);
  HWND w = Open(menu::kSetSystemDate);
  ASSERT_NE(w, nullptr);
  PostMessageW(w, WM_COMMAND, MAKEWPARAM(kOk, BN_CLICKED), reinterpret_cast<LPARAM>(Item(w, kOk)));
  HWND box = WaitForMessageBox(program_->id());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageOf(box), kDateNeedsAdministrator);
  SaveShot(box, "date-refused");
  ASSERT_TRUE(Answer(box, IDOK));
  ASSERT_TRUE(Gone(w));
  EXPECT_NE(ComputerDate().year, 2000);  // the computer's clock was not set to the displayed date
}

// ---- Opening times ----

TEST_F(CoordinatesWindow, OpeningTimes) {
  ASSERT_TRUE(Launch());
  for (int command : {menu::kCoordinates, menu::kEditAlarms, menu::kSetSystemDate}) {
    std::vector<double> ms;
    for (int i = 0; i < 7; ++i) {
      const auto start = Now();
      PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(command), 0);
      HWND w = nullptr;
      while (w == nullptr && MsSince(start) < 10000) {
        for (HWND h : WindowsOf(program_->id(), L"TOVANI_LFORM")) {
          if (IsWindowVisible(h)) w = h;
        }
        if (w == nullptr) Sleep(1);
      }
      ASSERT_NE(w, nullptr);
      ms.push_back(MsSince(start));
      PostMessageW(w, WM_CLOSE, 0, 0);
      ASSERT_TRUE(Gone(w));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("[ time ] command %d opens its window in %.1f ms (median of %zu)\n", command, ms[ms.size() / 2],
                ms.size());
  }
}

}  // namespace
}  // namespace tovani::testing_win32
