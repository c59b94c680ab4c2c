// The search window of the real tovani.exe, opened by its two menu commands:
// what it shows, its searches against the model's texts for the same input,
// and every way a running search stops.  (How long searches take:
// tools/timing.)
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "remote.h"
#include "ui/search/search_model.h"
#include "ui/search/search_window_win32.h"

namespace tovani::testing_win32 {
namespace {

using namespace tovani::search;

constexpr int kSearchMonthsCommand = 3075, kSearchDaysCommand = 3076;
constexpr WPARAM kCloseHotKey = 45060;
constexpr int kRadioIds[4] = {kLeapRadioId, kThreeBigRadioId, kThreeSmallRadioId, kFourBigRadioId};

std::string ModelText(std::unique_ptr<Search> s) {
  while (s->Step()) {
  }
  return s->Result();
}

// Texts of many thousand lines: a difference is shown where it begins.
testing::AssertionResult SameText(const std::string& shown, const std::string& expected) {
  if (shown == expected) return testing::AssertionSuccess();
  const auto end = std::mismatch(shown.begin(), shown.end(), expected.begin(), expected.end());
  const std::size_t at = static_cast<std::size_t>(end.first - shown.begin());
  const std::size_t from = at > 60 ? at - 60 : 0;
  return testing::AssertionFailure() << "the texts (" << shown.size() << " and " << expected.size()
                                     << " bytes) differ at byte " << at << ":\n  shown:    "
                                     << testing::PrintToString(shown.substr(from, 120))
                                     << "\n  expected: " << testing::PrintToString(expected.substr(from, 120));
}

bool IsProgress(const std::string& text) { return text.rfind("    正在查询，已完成 ", 0) == 0; }
bool IsResult(const std::string& text) { return text.rfind("    共找到 ", 0) == 0; }

// A condition that every day of the span must be tested against to the end:
// the long search of page 2.
constexpr int kThanksgivingItem = 4;

class SearchWindow : public ProgramTest {
 protected:
  // Starts the program (unless it runs) and opens the window by the command.
  void Open(int command) {
    if (program_ == nullptr || main_ == nullptr || !IsWindow(main_)) main_ = Start(L"TOVANI_DFORM");
    ASSERT_NE(main_, nullptr);
    PostMessageW(main_, WM_COMMAND, static_cast<WPARAM>(command), 0);
    window_ = WaitForWindow(*program_, L"TOVANI_SFORM");
    ASSERT_NE(window_, nullptr);
  }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  std::string Box() const { return TextOf(Item(kResultId)); }
  // The program started after this pauses a millisecond after each step of
  // a search (a year or a day), so that a long search still runs when the
  // test acts on it: the engine alone finishes 5000 years too soon.
  void HoldSearches() { SetEnvironmentVariableW(L"TOVANI_SEARCH_PAUSE_MS", L"1"); }
  void TearDown() override {
    SetEnvironmentVariableW(L"TOVANI_SEARCH_PAUSE_MS", nullptr);
    ProgramTest::TearDown();
  }
  // The user types a field's whole text.
  void Type(int id, const std::string& text) {
    const std::wstring w = Wide(text);
    Send(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
    Notify(Item(id), EN_CHANGE);
  }
  void Fill(const std::string& start, bool beforeEra, const std::string& range) {
    Type(kStartId, start);
    if ((Send(Item(kBeforeEraId), BM_GETCHECK) == BST_CHECKED) != beforeEra) Send(Item(kBeforeEraId), BM_CLICK);
    Type(kRangeId, range);
  }
  // "查询": posted, as a click arrives.
  void Press() {
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(kSearchButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(kSearchButtonId)));
  }
  // Presses "查询" and waits for the result.  The range field is touched
  // first, which empties the box: an earlier result is not taken for this one.
  std::string SearchAndWait() {
    Notify(Item(kRangeId), EN_CHANGE);
    EXPECT_EQ(Box(), "");
    Press();
    std::string text;
    EXPECT_TRUE(WaitUntil([&] { return IsResult(text = Box()); }, 120000)) << text;
    return text;
  }
  // Presses "查询" and waits until the search shows its progress.
  void StartLongSearch() {
    Press();
    std::string text;
    ASSERT_TRUE(WaitUntil([&] { return IsProgress(text = Box()); }, 20000)) << text;
  }
  // The box is empty and stays so for a second (a search still running
  // would show its progress within a fifth of one).
  void ExpectStopped(const char* how) {
    EXPECT_TRUE(WaitUntil([&] { return Box().empty(); }, 10000)) << how;
    std::string text;
    EXPECT_FALSE(WaitUntil([&] { return !(text = Box()).empty(); }, 1000)) << how << ": " << text.substr(0, 80);
  }
  // Page 2's list of a condition picks an item (0 is "any").
  void Choose(Condition c, int item) { ChooseItem(Item(kListBaseId + static_cast<int>(c)), item); }

  HWND main_ = nullptr, window_ = nullptr;
};

TEST_F(SearchWindow, MonthsPageFindsWhatTheModelFinds) {
  ASSERT_NO_FATAL_FAILURE(Open(kSearchMonthsCommand));
  EXPECT_EQ(TextOf(window_), "查询条件月");
  EXPECT_FALSE(IsWindowEnabled(main_));
  // Opened on the displayed year (today's), after the era unticked, no range.
  EXPECT_EQ(TextOf(Item(kStartId)), std::to_string(Today().year));
  EXPECT_EQ(Send(Item(kBeforeEraId), BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(TextOf(Item(kRangeId)), "");
  EXPECT_EQ(TextOf(Item(kStartLabelId)), "起始农历年份");
  EXPECT_EQ(Send(Item(kLeapRadioId), BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(Send(Item(kResultId), EM_GETLIMITTEXT), -1);  // no limit (multi-line)
  EXPECT_EQ(GetWindowLongW(Item(kResultId), GWL_STYLE) & (ES_READONLY | ES_MULTILINE | WS_VSCROLL),
            ES_READONLY | ES_MULTILINE | WS_VSCROLL);

  struct Case {
    int radio;
    const char* start;
    bool beforeEra;
    const char* range;
    const char* month;
    std::function<std::unique_ptr<Search>()> model;
  };
  const Case cases[] = {
      {0, "2000", false, "10", "", [] { return MakeLeapMonthSearch(2000, 10, 0, kHistoricalRules); }},
      {0, "2000", false, "10", "7", [] { return MakeLeapMonthSearch(2000, 10, 7, kHistoricalRules); }},
      {0, "105", true, "3", "", [] { return MakeLeapMonthSearch(-104, 3, 0, kHistoricalRules); }},
      {1, "2000", false, "50", "", [] { return MakeRunSearch(2000, 50, RunKind::kThreeBig, kHistoricalRules); }},
      {2, "619", false, "1", "", [] { return MakeRunSearch(619, 1, RunKind::kThreeSmall, kHistoricalRules); }},
      {3, "4990", false, "50", "", [] { return MakeRunSearch(4990, 11, RunKind::kFourBig, kHistoricalRules); }},  // cut at 5000
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " " + c.range + " radio " + std::to_string(c.radio));
    Send(Item(kRadioIds[c.radio]), BM_CLICK);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Send(Item(kRadioIds[i]), BM_GETCHECK) == BST_CHECKED, i == c.radio);
    Fill(c.start, c.beforeEra, c.range);
    Type(kMonthId, c.month);
    EXPECT_TRUE(SameText(SearchAndWait(), ModelText(c.model())));
  }
  EXPECT_EQ(TextOf(Item(kRangeId)), "11");  // the cut range is shown

  // A start before the range or beyond 5000 empties the start field and
  // searches nothing; a month beyond 12 is cleared and restricts nothing.
  for (const char* start : {"106", "5001"}) {
    Fill(start, std::string(start) == "106", "5");
    PostMessageW(Item(kStartId), WM_KEYDOWN, VK_RETURN, 1);  // Enter is "查询" too
    EXPECT_TRUE(WaitUntil([&] { return TextOf(Item(kStartId)).empty(); }, 5000)) << start;
    EXPECT_EQ(Box(), "") << start;
  }
  Send(Item(kLeapRadioId), BM_CLICK);
  Fill("2000", false, "10");
  Type(kMonthId, "13");
  EXPECT_TRUE(SameText(SearchAndWait(), ModelText(MakeLeapMonthSearch(2000, 10, 0, kHistoricalRules))));
  EXPECT_EQ(TextOf(Item(kMonthId)), "");

  PostMessageW(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window_); }, 5000));
  EXPECT_TRUE(IsWindowEnabled(main_));
  EXPECT_TRUE(CloseAndWait(main_));
}

TEST_F(SearchWindow, DaysPageFindsWhatTheModelFinds) {
  ASSERT_NO_FATAL_FAILURE(Open(kSearchDaysCommand));
  EXPECT_EQ(TextOf(window_), "查询条件日");
  EXPECT_EQ(TextOf(Item(kStartLabelId)), "起始公历年份");
  EXPECT_EQ(Item(kLeapRadioId), nullptr);
  for (int c = 0; c < kConditionCount; ++c) {
    const auto items = ConditionItems(static_cast<Condition>(c));
    EXPECT_EQ(TextOf(Item(kListLabelBaseId + c)), ConditionLabel(static_cast<Condition>(c)));
    const ListState list = ListOf(Item(kListBaseId + c));
    EXPECT_EQ(list.count, static_cast<int>(items.size()) + 1) << c;
    EXPECT_EQ(list.selected, 0) << c;
    EXPECT_EQ(list.text, "") << c;
    EXPECT_EQ(ItemOf(Item(kListBaseId + c), 1), items.front()) << c;
  }
  // No condition: nothing is searched (the press, sent, returns at once).
  Fill("2020", false, "5");
  Click(Item(kSearchButtonId));
  EXPECT_EQ(Box(), "");

  DayConditions ramadan;
  ramadan.values[kHijriMonth] = 9;
  Choose(kHijriMonth, 9);
  EXPECT_TRUE(SameText(SearchAndWait(), ModelText(MakeConditionDaySearch(2020, 5, ramadan, YearStart::kStartOfSpring,
                                                                         kHistoricalRules))));

  // 250 years become 100, shown in the field.
  DayConditions first;
  first.values[kGregorianDay] = 1;
  Choose(kHijriMonth, 0);
  Choose(kGregorianDay, 1);
  Fill("1950", false, "250");
  EXPECT_TRUE(SameText(SearchAndWait(),
                       ModelText(MakeConditionDaySearch(1950, 100, first, YearStart::kStartOfSpring, kHistoricalRules))));
  EXPECT_EQ(TextOf(Item(kRangeId)), "100");
  SaveShot(window_, "search-days-result");
  EXPECT_TRUE(CloseAndWait(main_));
}

// Every way a running search stops leaves the box empty and no search
// running: the next press searches again.
TEST_F(SearchWindow, EveryStopEmptiesTheBox) {
  HoldSearches();
  ASSERT_NO_FATAL_FAILURE(Open(kSearchMonthsCommand));
  // "查询" pressed twice quickly, over 5000 years from year 1.
  Fill("1", false, "5000");
  Press();
  Press();
  ExpectStopped("查询 twice");
  Fill("2000", false, "10");
  EXPECT_TRUE(SameText(SearchAndWait(), ModelText(MakeLeapMonthSearch(2000, 10, 0, kHistoricalRules))));

  struct Trigger {
    const char* how;
    std::function<void()> act;
  };
  const Trigger monthTriggers[] = {
      {"查询 again", [&] { Press(); }},
      {"a radio button", [&] { Send(Item(kThreeBigRadioId), BM_CLICK); }},
      {"the month field", [&] { Type(kMonthId, "5"); }},
      {"the range field", [&] { Type(kRangeId, "4000"); }},
  };
  for (const Trigger& t : monthTriggers) {
    Send(Item(kLeapRadioId), BM_CLICK);
    Type(kMonthId, "");
    Fill("1", false, "5000");
    ASSERT_NO_FATAL_FAILURE(StartLongSearch());
    t.act();
    ExpectStopped(t.how);
  }
  Send(Item(kLeapRadioId), BM_CLICK);
  Type(kMonthId, "");
  Fill("2000", false, "10");
  EXPECT_TRUE(SameText(SearchAndWait(), ModelText(MakeLeapMonthSearch(2000, 10, 0, kHistoricalRules))));
  PostMessageW(window_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window_); }, 5000));

  ASSERT_NO_FATAL_FAILURE(Open(kSearchDaysCommand));
  Choose(kFestival, kThanksgivingItem);
  const Trigger dayTriggers[] = {
      {"查询 again", [&] { Press(); }},
      {"纪元前", [&] { Send(Item(kBeforeEraId), BM_CLICK); }},
      {"the start field", [&] { Type(kStartId, "1901"); }},
  };
  for (const Trigger& t : dayTriggers) {
    Fill("1900", false, "100");
    ASSERT_NO_FATAL_FAILURE(StartLongSearch());
    t.act();
    ExpectStopped(t.how);
  }
  DayConditions thanksgiving;
  thanksgiving.festival = "感恩节";
  Fill("2000", false, "3");
  EXPECT_TRUE(SameText(SearchAndWait(), ModelText(MakeConditionDaySearch(
                                            2000, 3, thanksgiving, YearStart::kStartOfSpring, kHistoricalRules))));

  // Esc during a search closes the window; the main window is back.
  Fill("1900", false, "100");
  ASSERT_NO_FATAL_FAILURE(StartLongSearch());
  HWND focus = Item(kStartId);
  PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window_); }, 10000));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 5000));
  EXPECT_TRUE(CloseAndWait(main_));
}

// Ctrl+Alt+X during a search stops it and closes the search window only;
// the next opening searches as usual.
TEST_F(SearchWindow, CloseHotKeyDuringASearchClosesOnlyTheSearchWindow) {
  HoldSearches();
  ASSERT_NO_FATAL_FAILURE(Open(kSearchDaysCommand));
  Choose(kFestival, kThanksgivingItem);
  Fill("1900", false, "100");
  ASSERT_NO_FATAL_FAILURE(StartLongSearch());
  PostMessageW(main_, WM_HOTKEY, kCloseHotKey, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window_); }, 10000));
  EXPECT_TRUE(IsWindow(main_));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 5000));
  EXPECT_EQ(program_->WaitForExit(300), STILL_ACTIVE);

  ASSERT_NO_FATAL_FAILURE(Open(kSearchMonthsCommand));
  Fill("2000", false, "10");
  EXPECT_TRUE(SameText(SearchAndWait(), ModelText(MakeLeapMonthSearch(2000, 10, 0, kHistoricalRules))));
  PostMessageW(main_, WM_HOTKEY, kCloseHotKey, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window_); }, 10000));
  EXPECT_TRUE(CloseAndWait(main_));
}

}  // namespace
}  // namespace tovani::testing_win32
