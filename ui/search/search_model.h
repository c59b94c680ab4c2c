// The search window's searches, without any Win32.  A search runs in steps
// (a year on page 1, a day on page 2) on a worker thread, which shows its
// progress and stops on request between steps.
#pragma once

#include "engine/rules.h"
#include "engine/sexagenary.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tovani::search {

enum Page { kMonths = 1, kDays = 2 };
inline constexpr std::int32_t kLastYear = 5000;
inline constexpr int kMaxDayRange = 100;
inline constexpr const char* kLineBreak = "\r\n";
// The shortest time between two progress texts in the window (and before
// the first): five a second read well, and cost little beside the search.
inline constexpr std::int64_t kProgressIntervalMs = 200;

// "查询条件月" or "查询条件日".
const char* PageCaption(int page);
// The start field's label: "起始农历年份" (page 1) or "起始公历年份" (page 2).
const char* StartLabel(int page);
inline constexpr const char* kRangeLabel = "查询年份范围";

// The fields of the window as typed.
struct Fields {
  std::string start;
  bool beforeEra = false;
  std::string range;
  std::string month;  // page 1: restricts the leap-month search to one month
};

// The fields at the window's opening: the displayed Gregorian year as a
// positive number, "纪元前" ticked for years up to 0; the range empty.
Fields InitialFields(std::int32_t displayedYear);

struct Request {
  std::int32_t start = 0;
  int years = 0;
};

// Applies the rules of the fields for "查询": a field with anything but digits
// is emptied; a start year outside firstYear..5000 empties the start field; on
// page 2 a range above 100 becomes 100; a range reaching past 5000 is cut; the
// fields show what was made of them.  Nothing to search (empty result) when
// the start is missing or the range is empty or 0.
std::optional<Request> ReadRequest(Fields& fields, int page, std::int32_t firstYear);
// The leap-month restriction 1..12 of the month field, 0 for none; any other
// text is cleared.
int ReadMonthRestriction(Fields& fields);

// ---- Searches ----

class Search {
 public:
  virtual ~Search() = default;
  // One step; false once the search has nothing left to do.
  virtual bool Step() = 0;
  // The finished search's text: a header line, then the items.
  virtual std::string Result() const = 0;
  // "    正在查询，已完成 12.3%..." when it is to be shown at nowMs: the
  // rounded percentage changed since the last text shown, and at least
  // minIntervalMs passed since then (or, for the first, since the first
  // call: a search shorter than that shows none); empty otherwise.
  std::string ProgressUpdate(std::int64_t nowMs = 0, std::int64_t minIntervalMs = 0);

 protected:
  virtual std::string Progress() const = 0;  // the formatted percentage

 private:
  std::string shown_;
  std::optional<std::int64_t> shownAt_;
};

enum class RunKind { kThreeBig, kThreeSmall, kFourBig };

// Page 1: the leap months of the lunar years start .. start + years - 1 (of
// one month number when restricted to 1..12).
std::unique_ptr<Search> MakeLeapMonthSearch(std::int32_t start, int years, int monthRestriction, CalendarRules rules);
// Page 1: runs of three big, three small or four big months, across years.
std::unique_ptr<Search> MakeRunSearch(std::int32_t start, int years, RunKind kind, CalendarRules rules);

// Page 1's four searches, in the order of their radio buttons.
enum class MonthSearchKind { kLeapMonths, kThreeBig, kThreeSmall, kFourBig };
inline constexpr int kMonthSearchKinds = 4;
// "农历闰月", "三连大月", "三连小月", "四连大月".
const char* MonthSearchLabel(MonthSearchKind kind);
// Page 1's search of a kind; the month restriction counts for leap months
// only.
std::unique_ptr<Search> MakeMonthSearch(MonthSearchKind kind, const Request& request, int monthRestriction,
                                        CalendarRules rules);

// Page 2: the twelve conditions; 0 or an empty text means "any".
enum Condition {
  kGregorianMonth, kGregorianDay, kLunarMonth, kLunarDay, kHijriMonth, kHijriDay,
  kCycleYear, kCycleMonth, kCycleDay, kWeekday, kSolarTerm, kFestival, kConditionCount
};
struct DayConditions {
  std::array<int, 9> values{};  // by Condition up to kCycleDay; 0 = any
  std::string weekday, solarTerm, festival;
  bool Any() const;
};
// The label and the items (after the empty "any" item) of each list.
const char* ConditionLabel(Condition c);
std::vector<std::string> ConditionItems(Condition c);
// The conditions of the lists' selections (index 0 being the empty item).
DayConditions ConditionsFromSelections(const std::array<int, kConditionCount>& selections);

std::unique_ptr<Search> MakeConditionDaySearch(std::int32_t start, int years, const DayConditions& conditions,
                                               YearStart yearStart, CalendarRules rules);

// The window's search: it runs on a worker thread of its own, so that the
// window answers throughout, and stops on request after the step it is in.
class SearchSession {
 public:
  SearchSession() = default;
  ~SearchSession();  // stops a running search and waits for its thread
  SearchSession(const SearchSession&) = delete;
  SearchSession& operator=(const SearchSession&) = delete;

  // The window opens on a page; opening page 1 clears a stop request left
  // from before.
  void Open(int page);
  // "查询": true when a search is to start; pressed while one runs, it is a
  // stop request instead (and false), and so is a press that comes before a
  // stopped search has ended.
  bool Press();
  // An edit of a field, a click on a box or button, or closing the window.
  void RequestStop() { stop_ = true; }
  // A search runs and no stop was asked of it.
  bool running() const { return worker_.joinable() && !ended_ && !stop_; }
  // A stop was asked for and no search has taken it yet.
  bool stopRequested() const { return stop_; }

  // Starts the search on the worker.  After a step, notify is called there
  // (the window posts itself a message) when there is news: a progress text
  // to show, or the end.  With a clock (milliseconds), the progress changes
  // at most every kProgressIntervalMs; without one, at every change.  A
  // pause after each step holds a search running for the tests of the
  // program from outside, to which the engine is now too quick.
  void Start(std::unique_ptr<Search> search, std::function<void()> notify,
             std::function<std::int64_t()> clockMs = nullptr,
             int pauseAfterStepMs = 0);
  // What to show after a notification, on the window's thread: the latest
  // progress text (empty when none is new or the search was stopped), and
  // at the end the result, or nothing when the search was stopped.
  struct News {
    std::string progress;
    bool ended = false;
    std::optional<std::string> result;
  };
  News Collect();
  // Waits for the worker thread, which a stop request ends within a step.
  void Join();

 private:
  std::thread worker_;
  std::atomic<bool> stop_ = false;
  std::atomic<bool> ended_ = false;
  std::mutex lock_;  // guards what follows, written by the worker
  std::string progress_;
  std::optional<std::string> result_;
};

}  // namespace tovani::search
