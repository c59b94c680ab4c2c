// The official holidays and the working week in the real tovani.exe: the
// marks of the month window, a year added in the registry, the day window's
// second line, alarms and the hourly announcement that follow the working
// week, and the records ahead in the balloon at the start.  The program's
// clock is set through TOVANI_CLOCK, never the computer's.
#include "ui/menu/menu_model.h"
#include "views.h"

namespace tovani::testing_win32 {
namespace {

class WorkingWeek : public ProgramTest {
 protected:
  // The month window at a month, by its lists.
  static void ShowMonth(const MonthView& v, int year, int month) {
    ChooseItem(v.years, year - FullRange().firstYear);
    ChooseItem(v.months, month - 1);
  }
  // The marks of a month's days, "." for none.
  static std::string Marks(const MonthView& v, int year, int month) {
    const month::MonthGrid grid = month::MakeMonthGrid(year, month, kHistoricalRules);
    std::string marks;
    for (int c = grid.firstCell; c <= grid.lastCell; ++c) {
      const std::string text = TextOf(v.Cell(c));
      marks += text.rfind("\r\n", 0) == 0 ? "." : text.substr(0, text.find("\r\n"));
    }
    return marks;
  }
  HWND Balloon() const {
    for (HWND tip : WindowsOf(program_->id(), L"tooltips_class32")) {
      if (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) return tip;
    }
    return nullptr;
  }
};

// October 2025: the 1st to the 8th off, the 11th worked, nothing else; the
// details name the holiday.  Pictures at 96 DPI for a person (TOVANI_SHOTS).
TEST_F(WorkingWeek, TheMonthWindowMarksDaysOffAndWorkedDays) {
  SeedSettings({{L"Version", L"4.1"}, {L"ShowCalendarTypeFlag", L"1"}});
  HWND main = Start(L"TOVANI_MFORM");
  ASSERT_NE(main, nullptr);
  const MonthView v(main);
  ShowMonth(v, 2025, 10);
  EXPECT_EQ(Marks(v, 2025, 10), "休休休休休休休休..班....................");
  v.ClickCell(month::MakeMonthGrid(2025, 10, kHistoricalRules).firstCell + 5);  // the 6th, 中秋节
  EXPECT_NE(TextOf(v.details).find(" 国庆节、中秋节 休"), std::string::npos) << TextOf(v.details);
  SaveShot(main, "month-holidays");
  ShowMonth(v, 2025, 9);
  v.ClickCell(month::MakeMonthGrid(2025, 9, kHistoricalRules).firstCell + 27);  // the 28th, a Sunday worked
  EXPECT_NE(TextOf(v.details).find(" 国庆节、中秋节 班"), std::string::npos) << TextOf(v.details);
  EXPECT_TRUE(CloseAndWait(main));
}

// Years announced later, added under "Holidays": an added year replaces the
// built-in one, and a value that cannot be used is passed over.
TEST_F(WorkingWeek, AYearAddedInTheRegistry) {
  SeedSettings({{L"Version", L"4.1"}, {L"ShowCalendarTypeFlag", L"1"}});
  SeedSettings({{L"2027-01-01", L"休 元旦"}, {L"2027-01-02", L"休 元旦"}, {L"2027-01-09", L"班 元旦"},
                {L"2027-13-01", L"休 不是日期"}, {L"2026-10-01", L"班 改过的"}},
               L"Holidays");
  HWND main = Start(L"TOVANI_MFORM");
  ASSERT_NE(main, nullptr);
  const MonthView v(main);
  ShowMonth(v, 2027, 1);
  EXPECT_EQ(Marks(v, 2027, 1), "休休......班......................");
  ShowMonth(v, 2026, 10);
  EXPECT_EQ(Marks(v, 2026, 10), "班..............................");
  EXPECT_TRUE(CloseAndWait(main));
}

// With festivals shown, the day window's second line begins with the mark
// and the holiday's name.
TEST_F(WorkingWeek, TheDayWindowsSecondLineOnADayOff) {
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  const DayView v(main);
  ChooseItem(v[day::kGregorianYear], 2025 - FullRange().firstYear);
  ChooseItem(v[day::kGregorianMonth], 9);
  ChooseItem(v[day::kGregorianDay], 0);
  const std::string line = TextOf(v.line2);
  EXPECT_EQ(line.rfind("休 国庆节、中秋节", 0), 0u) << line;
  EXPECT_EQ(line, DayLine2(*FromGregorian({2025, 10, 1}, kHistoricalRules), DayInfo::kFestivals));
  EXPECT_TRUE(CloseAndWait(main));
}

// An alarm for working days stays silent on a day off and rings on a Sunday
// worked; the hour is not said in the quiet time.  What rings or speaks runs
// on threads of its own: their starts are counted.
TEST_F(WorkingWeek, AlarmsAndTheHourFollowTheWorkingWeek) {
  struct Case {
    const char* what;
    const wchar_t* moment;  // ten seconds before the alarm's or the hour's minute
    std::map<std::wstring, std::wstring> settings;
    bool sounds;
  };
  const std::map<std::wstring, std::wstring> alarm = {
      {L"Version", L"4.1"}, {L"OpenAlarmClockAFlag", L"1"}, {L"DefiniteAlarmATime", L"480"},
      {L"DefiniteAlarmASoundNo", L"1"}, {L"DefiniteAlarmADaysFlag", L"1"}};
  const std::map<std::wstring, std::wstring> hourly = {{L"Version", L"4.1"}, {L"WholeAutoReportTimeFlag", L"1"}};
  const Case cases[] = {
      {"working-day alarm on a day off", L"2025-10-01 07:59:50", alarm, false},
      {"working-day alarm on a Sunday worked", L"2025-09-28 07:59:50", alarm, true},
      {"the hour in the quiet time", L"2025-10-13 22:59:50", hourly, false},
      {"the hour outside it", L"2025-10-13 20:59:50", hourly, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SeedSettings(c.settings);
    HWND main = StartAt(c.moment, L"TOVANI_DFORM");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ThreadsStartedWithin(program_->id(), 16000) > 0, c.sounds);
    EXPECT_TRUE(CloseAndWait(main));
    RemoveSettings();
  }
}

// At the start, the balloon shows today's records and, below them, those of
// the days ahead with their dates and how far away they are.
TEST_F(WorkingWeek, TheRecordsAheadInTheBalloonAtTheStart) {
  SeedSettings({{L"Version", L"4.1"}});
  SeedSettings({{L"12-20", L"AD2000                今天"}, {L"12-25", L"AD2000                圣诞"}},
               L"SolarMemorial");
  HWND main = StartAt(L"2025-12-20 12:00:00", L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Balloon()) == "今天\r\n12月25日 5天后 圣诞"; }, 5000))
      << TextOf(Balloon());
  EXPECT_TRUE(IsWindowVisible(Balloon()));
  SaveShot(Balloon(), "balloon-ahead");
  EXPECT_TRUE(CloseAndWait(main));
}

}  // namespace
}  // namespace tovani::testing_win32
