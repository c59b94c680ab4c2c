// The calculator window of the real tovani.exe, opened by its menu commands
// and driven from outside as its user would: its results are those of the
// calendar engine for the same dates.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/date_text.h"
#include "engine/dates.h"
#include "engine/hijri.h"
#include "engine/lunar_calendar.h"
#include "engine/sexagenary.h"
#include "framework/win32/wide.h"
#include "program_runner.h"
#include "ui/calculator/calculator_model.h"
#include "ui/menu/menu_model.h"
#include "wait_until.h"

namespace tovani::calculator {
namespace {

using testing_win32::Program;
using testing_win32::ProgramNow;
using testing_win32::WaitForWindow;
using testing_win32::WaitUntil;

// ---- Talking to the program ----

LRESULT Send(HWND h, UINT msg, WPARAM w = 0, LPARAM l = 0) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG, 15000, &result) == 0) {
    ADD_FAILURE() << "message 0x" << std::hex << msg << " went unanswered";
    return -1;
  }
  return static_cast<LRESULT>(result);
}

std::string TextOf(HWND h) {
  wchar_t text[256] = {};
  const LRESULT n = Send(h, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return Narrow(std::wstring(text, n > 0 ? static_cast<std::size_t>(n) : 0));
}

// Replaces a field's text, as typing would (the field notifies its window).
void Type(HWND field, const std::string& text) {
  const std::wstring w = Wide(text);
  Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
}

void Click(HWND button) { Send(button, BM_CLICK); }
bool Checked(HWND button) { return Send(button, BM_GETCHECK) == BST_CHECKED; }

// A key as the program's message loop receives it, in the focused control.
void PressKey(HWND control, UINT vk) {
  PostMessageW(control, WM_KEYDOWN, vk, 1);
  PostMessageW(control, WM_KEYUP, vk, 0xC0000001);
}

// ---- Expected texts, from the engine ----

std::string Number(DayNumber z) { return std::to_string(z); }
DayNumber GregorianDay(const std::string& calendarDateText) {
  const auto d = ParseCalendarDateText(calendarDateText);
  return d ? DateToDayNumber(*d) : InvalidDayNumber;
}

class CalculatorWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tovani");  // the day window, no stored options
    program_ = new Program();
    main_ = program_->started() ? WaitForWindow(*program_, L"TOVANI_DFORM") : nullptr;
  }
  static void TearDownTestSuite() {
    if (main_ != nullptr) {
      PostMessageW(main_, WM_CLOSE, 0, 0);
      program_->WaitForExit(20000);
    }
    delete program_;
    program_ = nullptr;
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tovani");
  }
  void SetUp() override { ASSERT_NE(main_, nullptr) << "no day window"; }
  void TearDown() override {
    if (main_ == nullptr) return;
    EXPECT_LE(testing_win32::CaughtExceptionsOf(program_->id()), 0) << "exceptions caught in the program";
    // A test that failed with the window open closes it for the next one.
    if (window_ != nullptr && IsWindow(window_)) {
      PostMessageW(window_, WM_CLOSE, 0, 0);
      WaitUntil([this] { return !IsWindow(window_); }, 10000);
    }
    WaitUntil([] { return IsWindowEnabled(main_) != FALSE; }, 5000);
  }

  // Opens a page by its menu command (posted: the command returns only when
  // the modal window has closed); the window once it runs modally, its owner
  // disabled.
  HWND Open(int page) {
    PostMessageW(main_, WM_COMMAND, menu::kCalcJulianDay + page - 1, 0);
    window_ = WaitForWindow(*program_, L"TOVANI_JFORM");
    if (window_ == nullptr || !WaitUntil([] { return !IsWindowEnabled(main_); }, 5000)) return nullptr;
    return window_;
  }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  HWND Date(int i) const { return Control(kDateFieldId + i); }
  HWND Box(int i) const { return Control(kBeforeEraId + i); }
  HWND Radio(int group, Calendar c) const { return Control(RadioId(group, c)); }
  HWND Result() const { return Control(kResultFieldId); }
  std::string ResultText() const { return TextOf(Result()); }
  void Compute() const { Click(Control(kActionButtonId)); }
  // Enter in the first date field; true once the result shows the text.
  bool ComputeByEnter(const std::string& expected) const {
    PressKey(Date(0), VK_RETURN);
    return WaitUntil([&] { return ResultText() == expected; }, 5000);
  }
  // "取消"; true once the window is gone and the main window is enabled again.
  bool Cancel() {
    PostMessageW(Control(kCancelButtonId), BM_CLICK, 0, 0);
    return WaitUntil([this] { return !IsWindow(window_) && IsWindowEnabled(main_); }, 10000);
  }

  static Program* program_;
  static HWND main_;
  HWND window_ = nullptr;
};

Program* CalculatorWindowTest::program_ = nullptr;
HWND CalculatorWindowTest::main_ = nullptr;

TEST_F(CalculatorWindowTest, EachPageOpensFromTheMainWindowAtItsSize) {
  const wchar_t* captions[] = {L"计算儒略日", L"计算间隔日", L"计算干支历", L"公历农历回历互转"};
  const SYSTEMTIME now = ProgramNow();
  const DateField today = FieldOf({now.wYear, now.wMonth, now.wDay});
  for (int page = 1; page <= 4; ++page) {
    SCOPED_TRACE(page);
    ASSERT_NE(Open(page), nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(window_, caption, 64);
    EXPECT_STREQ(caption, captions[page - 1]);
    EXPECT_EQ(GetWindow(window_, GW_OWNER), main_);
    // The date field shows the displayed date, today.
    EXPECT_EQ(TextOf(Date(0)), today.text);
    EXPECT_TRUE(Checked(Radio(0, Calendar::kGregorian)));
    EXPECT_EQ(TextOf(Control(kActionButtonId)), page == 4 ? "转换" : "计算");
    EXPECT_EQ(TextOf(Control(kCancelButtonId)), "取消");
    EXPECT_EQ(Radio(1, Calendar::kGregorian) != nullptr, page == 2 || page == 4);
    EXPECT_EQ(Date(1) != nullptr, page == 2);
    EXPECT_TRUE(GetWindowLongW(Result(), GWL_STYLE) & ES_READONLY);
    ASSERT_TRUE(Cancel());
  }
}

TEST_F(CalculatorWindowTest, JulianDayOfADateInEachCalendar) {
  ASSERT_NE(Open(1), nullptr);
  Type(Date(0), "01-01-2000");
  Compute();
  EXPECT_EQ(ResultText(), Number(DateToDayNumber(2000, 1, 1)));
  // Loosely typed, with Enter; the field shows the pattern.
  Type(Date(0), "7-4-1776");
  EXPECT_EQ(ResultText(), "");  // editing empties the result
  EXPECT_TRUE(ComputeByEnter(Number(DateToDayNumber(1776, 7, 4))));
  EXPECT_EQ(TextOf(Date(0)), "07-04-1776");
  // 104 BC with the box ticked.
  Type(Date(0), "01-01-0104");
  Click(Box(0));
  EXPECT_TRUE(Checked(Box(0)));
  Compute();
  EXPECT_EQ(ResultText(), Number(DateToDayNumber(-103, 1, 1)));
  Type(Date(0), "12-31-0105");
  Compute();
  EXPECT_EQ(TextOf(Date(0)), "");  // before the first day
  EXPECT_EQ(ResultText(), "");
  Click(Box(0));

  // Lunar: 闰二月二十 of 2023.
  Click(Radio(0, Calendar::kLunar));
  EXPECT_TRUE(Checked(Radio(0, Calendar::kLunar)));
  EXPECT_FALSE(Checked(Radio(0, Calendar::kGregorian)));
  EXPECT_TRUE(IsWindowEnabled(Box(0)));  // the lunar years reach back before AD 1
  Type(Date(0), "14-20-2023");
  Compute();
  EXPECT_EQ(ResultText(), Number(GregorianDay(LunarToSolar(2023, 14, 20, kHistoricalRules))));
  Type(Date(0), "13-01-2023");  // 2023 has no 闰正月
  Compute();
  EXPECT_EQ(TextOf(Date(0)), "");
  Type(Date(0), "13-10-2262");  // 2262 has
  Compute();
  EXPECT_EQ(ResultText(), Number(GregorianDay(LunarToSolar(2262, 13, 10, kHistoricalRules))));

  // Hijri: day 30 of a 29-day month is no date.
  Click(Radio(0, Calendar::kHijri));
  EXPECT_EQ(ResultText(), "");  // choosing a calendar empties the result
  EXPECT_TRUE(IsWindowEnabled(Box(0)));
  Type(Date(0), "09-01-1445");
  Compute();
  EXPECT_EQ(ResultText(), Number(HijriDayNumber(1445, 9, 1)));
  Type(Date(0), "02-30-1445");
  Compute();
  EXPECT_EQ(TextOf(Date(0)), "");
  EXPECT_EQ(ResultText(), "");
  ASSERT_TRUE(Cancel());
}

TEST_F(CalculatorWindowTest, IntervalAcrossTheCalendarSwitchAndBetweenCalendars) {
  ASSERT_NE(Open(2), nullptr);
  EXPECT_EQ(TextOf(Control(kResultLabelId)), "间隔日数");
  Type(Date(0), "10-04-1582");
  Type(Date(1), "10-15-1582");
  Compute();
  EXPECT_EQ(ResultText(), std::to_string(*DaysBetween({1582, 10, 4}, {1582, 10, 15})));
  EXPECT_EQ(ResultText(), "1");
  // 10 October 1582 never was: its field is emptied, nothing shown.
  Type(Date(1), "10-10-1582");
  Compute();
  EXPECT_EQ(TextOf(Date(1)), "");
  EXPECT_EQ(TextOf(Date(0)), "10-04-1582");
  EXPECT_EQ(ResultText(), "");

  // From a Hijri date to a lunar date, backwards: a negative number.
  Click(Radio(0, Calendar::kHijri));
  Type(Date(0), "09-01-1445");
  Click(Radio(1, Calendar::kLunar));
  Type(Date(1), "01-01-2024");
  EXPECT_TRUE(ComputeByEnter(std::to_string(GregorianDay(LunarToSolar(2024, 1, 1, kHistoricalRules)) - HijriDayNumber(1445, 9, 1))));
  EXPECT_EQ(ResultText(), "-30");
  ASSERT_TRUE(Cancel());
}

TEST_F(CalculatorWindowTest, OffsetModeByADoubleClickOnTheLabel) {
  ASSERT_NE(Open(2), nullptr);
  HWND label = Control(kResultLabelId);
  RECT before{};
  GetWindowRect(Result(), &before);
  PostMessageW(label, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  // The number of days goes into the result field.
  const auto editable = [this] { return (GetWindowLongW(Result(), GWL_STYLE) & ES_READONLY) == 0; };
  ASSERT_TRUE(WaitUntil(editable, 5000));
  EXPECT_FALSE(IsWindowVisible(Date(1)));
  EXPECT_FALSE(IsWindowVisible(Box(1)));
  RECT after{};
  GetWindowRect(Result(), &after);
  EXPECT_NE(after.top, before.top);  // rearranged

  // A leading minus goes back; the result is in the second group's calendar.
  Type(Date(0), "03-01-2024");
  Type(Result(), "-1");
  Compute();
  const auto addDays = [](CivilDate from, int n) { return *AddDays(from, n); };
  const CivilDate leapDay = addDays({2024, 3, 1}, -1);
  EXPECT_EQ(ResultText(), CalendarDateText(leapDay.year, leapDay.month, leapDay.day));
  EXPECT_EQ(ResultText(), "AD02-29-2024");
  // Typed into the field, key by key.
  Type(Result(), "");
  for (wchar_t ch : std::wstring(L"100")) PostMessageW(Result(), WM_CHAR, ch, 1);
  ASSERT_TRUE(WaitUntil([this] { return ResultText() == "100"; }, 5000));
  Click(Radio(1, Calendar::kHijri));
  EXPECT_EQ(ResultText(), "100");  // the days typed stay
  Compute();
  const CivilDate later = addDays({2024, 3, 1}, 100);
  EXPECT_EQ(ResultText(), HijriDateText(later.year, later.month, later.day));
  Click(Radio(1, Calendar::kLunar));
  EXPECT_EQ(ResultText(), "");  // a result goes
  Type(Result(), "-36500");
  Compute();
  const CivilDate earlier = addDays({2024, 3, 1}, -36500);
  EXPECT_EQ(ResultText(), SolarToLunar(earlier.year, earlier.month, earlier.day, kHistoricalRules));
  // A minus elsewhere empties the field.
  Type(Result(), "36-500");
  Compute();
  EXPECT_EQ(ResultText(), "");
  // So does a date past 31 December 5000.
  Type(Date(0), "12-31-5000");
  Type(Result(), "1");
  Compute();
  EXPECT_EQ(ResultText(), "");

  // Back to the interval.
  PostMessageW(label, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  ASSERT_TRUE(WaitUntil([&] { return !editable(); }, 5000));
  EXPECT_TRUE(IsWindowVisible(Date(1)));
  GetWindowRect(Result(), &after);
  EXPECT_EQ(after.top, before.top);
  ASSERT_TRUE(Cancel());
}

TEST_F(CalculatorWindowTest, SexagenaryTextOfADate) {
  ASSERT_NE(Open(3), nullptr);
  EXPECT_EQ(TextOf(Control(kResultLabelId)), "干支历");
  Type(Date(0), "02-05-2024");  // after 立春, before the lunar new year
  Compute();
  EXPECT_EQ(ResultText(), SexagenaryText(2024, 2, 5, YearStart::kStartOfSpring, kHistoricalRules));
  Click(Radio(0, Calendar::kLunar));
  Type(Date(0), "08-15-1911");
  EXPECT_TRUE(ComputeByEnter(SexagenaryText(1911, 10, 6, YearStart::kStartOfSpring, kHistoricalRules)));
  EXPECT_EQ(GregorianDay(LunarToSolar(1911, 8, 15, kHistoricalRules)), DateToDayNumber(1911, 10, 6));
  ASSERT_TRUE(Cancel());
}

TEST_F(CalculatorWindowTest, ConversionBetweenTheThreeCalendars) {
  ASSERT_NE(Open(4), nullptr);
  EXPECT_EQ(Control(kResultLabelId), nullptr);
  EXPECT_TRUE(Checked(Radio(1, Calendar::kLunar)));
  Type(Date(0), "04-10-2023");
  Compute();
  EXPECT_EQ(ResultText(), SolarToLunar(2023, 4, 10, kHistoricalRules));
  Click(Radio(1, Calendar::kHijri));
  EXPECT_EQ(ResultText(), "");
  EXPECT_TRUE(ComputeByEnter(HijriDateText(2023, 4, 10)));
  // Lunar to Gregorian.
  Click(Radio(0, Calendar::kLunar));
  Click(Radio(1, Calendar::kGregorian));
  Type(Date(0), "14-20-2023");
  Compute();
  EXPECT_EQ(ResultText(), LunarToSolar(2023, 14, 20, kHistoricalRules));
  // Hijri to lunar, before AD 1.
  Click(Radio(0, Calendar::kHijri));
  Click(Radio(1, Calendar::kLunar));
  Type(Date(0), "03-06-0748");
  Click(Box(0));
  Compute();
  const auto g = ParseCalendarDateText(HijriToGregorianText(-747, 3, 6));
  ASSERT_TRUE(g);
  EXPECT_EQ(ResultText(), SolarToLunar(g->year, g->month, g->day, kHistoricalRules));
  Type(Date(0), "03-05-0748");  // the day before the first day
  Compute();
  EXPECT_EQ(TextOf(Date(0)), "");
  EXPECT_EQ(ResultText(), "");
  ASSERT_TRUE(Cancel());
}

TEST_F(CalculatorWindowTest, DoubleClickFillsAnEmptyFieldAndPastingIsIgnored) {
  ASSERT_NE(Open(2), nullptr);
  Type(Date(1), "");
  PostMessageW(Date(1), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  ASSERT_TRUE(WaitUntil([this] { return TextOf(Date(1)) == kZeroDatePattern; }, 5000));
  // On a date, a double click selects it.
  Type(Date(0), "05-06-2007");
  Send(Date(0), EM_SETSEL, 2, 2);
  PostMessageW(Date(0), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  ASSERT_TRUE(WaitUntil([this] { return Send(Date(0), EM_GETSEL) == MAKELONG(0, 10); }, 5000));
  EXPECT_EQ(TextOf(Date(0)), "05-06-2007");

  // Pasting, by message or by key, changes no field.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const wchar_t pasted[] = L"12-31-2000";
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
  memcpy(GlobalLock(memory), pasted, sizeof pasted);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  Send(Date(0), WM_PASTE);  // would replace the selected date
  Send(Date(1), WM_PASTE);
  Send(Result(), WM_PASTE);
  PostMessageW(Date(0), WM_CHAR, 0x16, 1);  // Ctrl+V as typed
  PostMessageW(Date(0), EM_SETSEL, 2, 2);   // handled after the key
  ASSERT_TRUE(WaitUntil([this] { return Send(Date(0), EM_GETSEL) == MAKELONG(2, 2); }, 5000));
  EXPECT_EQ(TextOf(Date(0)), "05-06-2007");
  EXPECT_EQ(TextOf(Date(1)), kZeroDatePattern);
  EXPECT_EQ(ResultText(), "");
  ASSERT_TRUE(Cancel());
}

TEST_F(CalculatorWindowTest, EscapeClosesTheWindow) {
  ASSERT_NE(Open(3), nullptr);
  PressKey(Date(0), VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([this] { return !IsWindow(window_) && IsWindowEnabled(main_); }, 10000));
}

TEST_F(CalculatorWindowTest, CtrlAltXClosesTheCalculatorAndLeavesTheMainWindow) {
  ASSERT_NE(Open(2), nullptr);
  PostMessageW(main_, WM_HOTKEY, 45060, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'X'));
  EXPECT_TRUE(WaitUntil([this] { return !IsWindow(window_); }, 10000));
  EXPECT_TRUE(WaitUntil([] { return IsWindowEnabled(main_) != FALSE; }, 5000));
  EXPECT_TRUE(IsWindow(main_));
  EXPECT_TRUE(IsWindowVisible(main_));
  EXPECT_EQ(program_->WaitForExit(0), STILL_ACTIVE);
  // And the calculator opens again.
  ASSERT_NE(Open(1), nullptr);
  ASSERT_TRUE(Cancel());
}

}  // namespace
}  // namespace tovani::calculator
