// The search window's searches, without any Win32.  A search runs in steps
// (a year on page 1, a day on page 2) so that the window can let its messages
// through between steps, show the progress and stop on request.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tovani::search {

enum Page { kMonths = 1, kDays = 2 };
inline constexpr std::int32_t kLastYear = 5000;
inline constexpr int kMaxDayRange = 100;
inline constexpr const char* kLineBreak = "\r\n";

// "查询条件月" or "查询条件日".
const char* PageCaption(int page);

// The fields of the window as typed.
struct Fields {
  std::string start;
  bool beforeEra = false;
  std::string range;
  std::string month;  // page 1: restricts the leap-month search to one month
};

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
  // "    正在查询，已完成 12.3%..." when the rounded progress changed since
  // the last call; empty otherwise.
  std::string ProgressUpdate();

 protected:
  virtual std::string Progress() const = 0;  // the formatted percentage

 private:
  std::string shown_;
};

enum class RunKind { kThreeBig, kThreeSmall, kFourBig };

// Page 1: the leap months of the lunar years start .. start + years - 1 (of
// one month number when restricted to 1..12).
std::unique_ptr<Search> MakeLeapMonthSearch(std::int32_t start, int years, int monthRestriction);
// Page 1: runs of three big, three small or four big months, across years.
std::unique_ptr<Search> MakeRunSearch(std::int32_t start, int years, RunKind kind);

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
                                               int ganzhiFromNewYear);

// The window's running flag and stop request around a search.
class SearchSession {
 public:
  // "查询": true when a search is to start; pressed while one runs, it is a
  // stop request instead (and false).
  bool Press();
  // An edit of a field, a click on a box or button, or closing the window.
  void RequestStop() { stop_ = true; }
  bool running() const { return running_; }

  // Runs a search to its end, calling pump after every step with the
  // progress text when it changed (empty otherwise); the pump lets the
  // window's messages through, which may request a stop.  The result, or
  // nothing when the search was stopped.
  std::optional<std::string> Run(Search& search, const std::function<void(const std::string&)>& pump);

 private:
  bool running_ = false;
  bool stop_ = false;
};

}  // namespace tovani::search
