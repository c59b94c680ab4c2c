// Seeded random user actions on both calendar windows of the real
// tovani.exe: list choices, arrow keys, the wheel, day cells, buttons and menu
// commands.  The test keeps the models the windows draw from in step with the
// same actions; after each action the window must show what its model shows,
// the model's three calendars must be one day, and the program must still run.
// TOVANI_RANDOM_SEED chooses another seed.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>

#include "engine/lunar_calendar.h"
#include "engine/solar_terms.h"
#include "views.h"

namespace tovani::testing_win32 {
namespace {

constexpr int kEvents = 1200;
// Every so many events the other window takes over (closing the day window
// takes Wine two seconds: the tray icon's removal waits for a window manager).
constexpr int kEventsPerWindow = 200;
// Menu commands without a window of their own (no tools, no exit, no file
// dialog, no change of the computer's date), the current window's included.
constexpr int kCommands[] = {3035, 3036, 3037, 3040, 3041, 3042, 3043, 3044, 3045, 3046, 3047, 3048,
                             3049, 3050, 3080, 3085, 3086, 3087, 3090, 3091, 3092, 3093, 3095, 3096,
                             3097, 3098, 3105, 3025, 3026};

class RandomEvents : public ProgramTest {
 protected:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  int Direction() { return Pick(2) == 0 ? -1 : 1; }
  // An item near the selection (where the ends of the ranges are) or anywhere.
  int Index(int selected, int count) {
    if (Pick(2) == 0) return Pick(count);
    return std::clamp(selected + Pick(7) - 3, 0, count - 1);
  }
  UINT ArrowKey(int direction) { return direction < 0 ? (Pick(2) ? VK_LEFT : VK_UP) : (Pick(2) ? VK_RIGHT : VK_DOWN); }

  // What a key or a notch of the wheel does to a day-window list.
  void StepDayList(day::ListId list, int direction) {
    if (day_->Step(list, direction)) return;
    const int i = day_->Selected(list) + direction;
    if (i >= 0 && i < static_cast<int>(day_->List(list).items.size())) day_->Choose(list, i);
  }

  void DayEvent(std::ostringstream& log) {
    const DayView& v = *dayView_;
    const auto list = static_cast<day::ListId>(Pick(day::kListCount));
    const int kind = Pick(100);
    if (kind < 40) {
      const int i = Index(day_->Selected(list), static_cast<int>(day_->List(list).items.size()));
      log << "choose " << day::ListName(list) << " item " << i;
      ChooseItem(v[list], i);
      if (i != day_->Selected(list)) day_->Choose(list, i);
    } else if (kind < 65) {
      const int d = Direction();
      const UINT vk = ArrowKey(d);
      log << "key " << vk << " in " << day::ListName(list);
      Key(v[list], vk);
      StepDayList(list, d);
    } else if (kind < 90) {
      const int d = Direction();
      log << "wheel " << d << " in " << day::ListName(list);
      Wheel(v[list], d);
      StepDayList(list, d);
    } else {
      MenuEvent(log);
    }
  }

  void MonthEvent(std::ostringstream& log) {
    const MonthView& v = *monthView_;
    const int kind = Pick(100);
    if (kind < 15) {
      const int i = Index(month_->YearIndex(), FullRange().lastYear - FullRange().firstYear + 1);
      log << "choose year item " << i;
      ChooseItem(v.years, i);
      if (i != month_->YearIndex()) month_->ChooseYear(i);
    } else if (kind < 30) {
      const int i = Pick(12);
      log << "choose month item " << i;
      ChooseItem(v.months, i);
      if (i != month_->MonthIndex()) month_->ChooseMonth(i);
    } else if (kind < 50) {
      const int cell = 1 + Pick(month::kCellCount);
      log << "click cell " << cell;
      v.ClickCell(cell);
      month_->ClickCell(cell);
    } else if (kind < 75) {
      const int b = Pick(month::kButtonCount);
      log << "button " << b;
      Click(v.buttons[b]);
      switch (b) {
        case month::kPreviousYear: month_->StepYear(-1); break;
        case month::kNextYear: month_->StepYear(1); break;
        case month::kPreviousMonth: month_->StepMonth(-1); break;
        case month::kNextMonth: month_->StepMonth(1); break;
        case month::kPreviousDay: month_->StepDay(-1); break;
        case month::kNextDay: month_->StepDay(1); break;
        default: month_->GoTo(Today()); break;
      }
    } else if (kind < 92) {
      const bool months = Pick(2) == 0;
      const int d = Direction();
      if (kind < 85) {
        const UINT vk = ArrowKey(d);
        log << "key " << vk << (months ? " in months" : " in years");
        Key(months ? v.months : v.years, vk);
      } else {
        log << "wheel " << d << (months ? " in months" : " in years");
        Wheel(months ? v.months : v.years, d);
      }
      if (months) {
        month_->StepMonth(d);
      } else {
        month_->StepYear(d);
      }
    } else {
      MenuEvent(log);
    }
  }

  // A menu command; without one, a random command that keeps the window.
  void MenuEvent(std::ostringstream& log, int id = 0) {
    const int other = day_ ? 3026 : 3025;
    for (bool chosen = id != 0; !chosen; chosen = id != other) {
      id = kCommands[Pick(static_cast<int>(std::size(kCommands)))];
    }
    log << "command " << id;
    if ((id == 3026 && day_) || (id == 3025 && month_)) {
      window_ = SwitchTo(window_, id, id == 3026 ? L"TOVANI_MFORM" : L"TOVANI_DFORM");
      ASSERT_NE(window_, nullptr);
      if (id == 3026) {
        month_.emplace(range_, day_->date());
        monthView_.emplace(window_);
        day_.reset();
      } else {
        day_.emplace(range_, *FromGregorian(month_->date().gregorian, range_.rules), options_.dynasty);
        dayView_.emplace(window_);
        month_.reset();
      }
      return;
    }
    Command(window_, id);
    switch (id) {
      case 3090:
        options_.yearStart =
            options_.yearStart == YearStart::kStartOfSpring ? YearStart::kLunarNewYear : YearStart::kStartOfSpring;
        break;
      case 3092:
        options_.rules.modern = !options_.rules.modern;
        range_ = MakeCalendarRange(FullRange().firstYear, FullRange().lastYear, options_.rules);
        if (day_) day_->SetRange(range_);
        if (month_) month_->SetRange(range_);
        break;
      // Greyed in the month window, these act in the day window only.
      case 3095:
        if (!day_) break;
        options_.dynasty = !options_.dynasty;
        day_->SetShowDynasty(options_.dynasty);
        break;
      case 3096:
      case 3097:
      case 3098:
        if (day_) options_.info = static_cast<DayInfo>(id - 3096);
        break;
      case 3105:
        if (day_) day_->GoTo(Today());
        if (month_) month_->GoTo(Today());
        break;
      default: break;
    }
  }

  // What the window shows against its model: everything on every tenth
  // event, the selections and the texts on the others.
  void Check(bool full) {
    const DayInCalendars date = day_ ? day_->date() : month_->date();
    EXPECT_EQ(FromGregorian(date.gregorian, options_.rules), date) << "the model's calendars disagree";
    if (month_) {
      ExpectMonthShows(*monthView_, date, options_, full);
      return;
    }
    const DayView& v = *dayView_;
    if (full) {
      ExpectDayShows(v, *day_, options_);
      return;
    }
    for (int i = 0; i < day::kListCount; ++i) {
      const auto id = static_cast<day::ListId>(i);
      EXPECT_EQ(Send(v.lists[i], CB_GETCURSEL), day_->Selected(id)) << day::ListName(id);
    }
    EXPECT_EQ(TextOf(v.line1), day::DayTextLine1(date, options_.yearStart, options_.rules));
    EXPECT_EQ(TextOf(v.line2), DayLine2(date, options_.info, options_.rules));
  }

  std::mt19937 random_;
  HWND window_ = nullptr;
  CalendarRange range_ = FullRange();
  ShowOptions options_;
  std::optional<day::DayModel> day_;
  std::optional<month::MonthModel> month_;
  std::optional<DayView> dayView_;
  std::optional<MonthView> monthView_;
};

TEST_F(RandomEvents, BothWindowsFollowTheirModels) {
  const char* seedText = std::getenv("TOVANI_RANDOM_SEED");
  const unsigned seed = seedText != nullptr ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : 20240501u;
  random_.seed(seed);
  window_ = Start(L"TOVANI_DFORM");
  ASSERT_NE(window_, nullptr);
  // Registry use off: the first option changed offers it, turning it off
  // asks first; "否" keeps the state as it is.
  AnswerQuestions(IDNO);
  dayView_.emplace(window_);
  day_.emplace(range_, *FromGregorian(dayView_->Gregorian(), kHistoricalRules), false);
  Check(true);
  ASSERT_FALSE(HasFailure());

  std::deque<std::string> recent;
  for (int n = 1; n <= kEvents; ++n) {
    std::ostringstream log;
    const bool wasDay = day_.has_value();
    if (n % kEventsPerWindow == 0) {
      MenuEvent(log, wasDay ? 3026 : 3025);
    } else if (wasDay) {
      DayEvent(log);
    } else {
      MonthEvent(log);
    }
    recent.push_back((wasDay ? "day: " : "month: ") + log.str());
    if (recent.size() > 8) recent.pop_front();
    ASSERT_EQ(program_->WaitForExit(0), STILL_ACTIVE) << "the program ended at event " << n;
    if (!HasFailure()) Check(n % 10 == 0 || log.str().rfind("command", 0) == 0);
    if (HasFailure()) {
      std::ostringstream last;
      for (const std::string& e : recent) last << "\n  " << e;
      FAIL() << "seed " << seed << ", event " << n << "; the last events:" << last.str();
    }
  }
  std::printf("[ random   ] seed %u: %d events\n", seed, kEvents);
  EXPECT_TRUE(CloseAndWait(window_));
}

}  // namespace
}  // namespace tovani::testing_win32
