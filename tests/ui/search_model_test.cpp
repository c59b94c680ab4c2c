#include "ui/search/search_model.h"
#include "ui/search/search_session.h"

#include <atomic>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>
#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace tovani::search {
namespace {

std::string RunToEnd(Search& s) {
  while (s.Step()) {
  }
  return s.Result();
}

TEST(SearchForm, FieldsLabelsAndPageOnesSearches) {
  struct Case {
    Fields fields;
    int page;
    bool valid;
    int start, years;
    const char* startAfter;
    const char* rangeAfter;
  };
  const Case cases[] = {
      {{"2000", false, "10", ""}, kMonths, true, 2000, 10, "2000", "10"},
      {{"2000", false, "250", ""}, kDays, true, 2000, 100, "2000", "100"},  // page 2 stops at 100 years
      {{"2000", false, "250", ""}, kMonths, true, 2000, 250, "2000", "250"},
      {{"4990", false, "50", ""}, kMonths, true, 4990, 11, "4990", "11"},    // cut at 5000
      {{"104", true, "5", ""}, kDays, true, -103, 5, "104", "5"},
      {{"105", true, "5", ""}, kDays, false, 0, 0, "", "5"},                  // before the range
      {{"5001", false, "5", ""}, kDays, false, 0, 0, "", "5"},
      {{"20a0", false, "5", ""}, kDays, false, 0, 0, "", "5"},
      {{"2000", false, "1x", ""}, kDays, false, 0, 0, "2000", ""},
      {{"2000", false, "", ""}, kDays, false, 0, 0, "2000", ""},
      {{"2000", false, "0", ""}, kDays, false, 0, 0, "2000", "0"},
      {{"2000", false, "99999999999999", ""}, kDays, true, 2000, 100, "2000", "100"},
  };
  for (const auto& c : cases) {
    Fields f = c.fields;
    const auto request = ReadRequest(f, c.page, -103);
    EXPECT_EQ(request.has_value(), c.valid) << c.fields.start << " " << c.fields.range;
    if (request) {
      EXPECT_EQ(request->start, c.start);
      EXPECT_EQ(request->years, c.years);
    }
    EXPECT_EQ(f.start, c.startAfter);
    EXPECT_EQ(f.range, c.rangeAfter);
  }
  // At the opening: the displayed year, before the era as a positive number.
  for (const auto& [year, start, beforeEra] : {std::tuple{2024, "2024", false}, {1, "1", false}, {0, "1", true},
                                               {-103, "104", true}}) {
    const Fields f = InitialFields(year);
    EXPECT_EQ(f.start, start) << year;
    EXPECT_EQ(f.beforeEra, beforeEra) << year;
    EXPECT_EQ(f.range, "");
    Fields back = f;
    EXPECT_EQ(ReadRequest(back, kDays, -103).has_value(), false) << year;  // no range yet
    back.range = "1";
    const auto request = ReadRequest(back, kDays, -103);
    ASSERT_TRUE(request.has_value()) << year;
    EXPECT_EQ(request->start, year);
  }
  Fields month{"", false, "", "5"};
  EXPECT_EQ(ReadMonthRestriction(month), 5);
  month.month = "13";
  EXPECT_EQ(ReadMonthRestriction(month), 0);
  EXPECT_EQ(month.month, "");
  month.month = "x";
  EXPECT_EQ(ReadMonthRestriction(month), 0);
  EXPECT_EQ(month.month, "");
  EXPECT_STREQ(StartLabel(kMonths), "起始农历年份");
  EXPECT_STREQ(StartLabel(kDays), "起始公历年份");
  // Page 1's radio buttons and the searches behind them.
  const Request span{2000, 50};
  const struct {
    MonthSearchKind kind;
    const char* label;
    std::unique_ptr<Search> same;
  } kinds[] = {
      {MonthSearchKind::kLeapMonths, "农历闰月", MakeLeapMonthSearch(2000, 50, 4, kHistoricalRules)},
      {MonthSearchKind::kThreeBig, "三连大月", MakeRunSearch(2000, 50, RunKind::kThreeBig, kHistoricalRules)},
      {MonthSearchKind::kThreeSmall, "三连小月", MakeRunSearch(2000, 50, RunKind::kThreeSmall, kHistoricalRules)},
      {MonthSearchKind::kFourBig, "四连大月", MakeRunSearch(2000, 50, RunKind::kFourBig, kHistoricalRules)},
  };
  for (const auto& k : kinds) {
    EXPECT_STREQ(MonthSearchLabel(k.kind), k.label);
    EXPECT_EQ(RunToEnd(*MakeMonthSearch(k.kind, span, 4, kHistoricalRules)), RunToEnd(*k.same)) << k.label;
  }
}

// Every page: the header alone when nothing is found, else the header, a line
// break, and the items, each beginning with its own line break(s).
TEST(SearchReport, HeaderThenItems) {
  DayConditions ramadan;
  ramadan.values[kHijriMonth] = 9;
  ramadan.values[kHijriDay] = 1;
  DayConditions never;  // no 31st in a Hijri month
  never.values[kHijriDay] = 30;
  never.values[kGregorianMonth] = 2;
  never.values[kGregorianDay] = 30;
  struct Case {
    std::unique_ptr<Search> search;
    std::string whole;  // the whole text, or
    std::string after;  // how it goes on from the header's end
  };
  Case cases[] = {
      {MakeLeapMonthSearch(2000, 10, 0, kHistoricalRules),
       "    共找到 4 个农历闰月\r\n"
       "\r\nAD2001闰四月小    AD05-23-2001 ～ AD06-20-2001"
       "\r\nAD2004闰二月小    AD03-21-2004 ～ AD04-18-2004"
       "\r\nAD2006闰七月小    AD08-24-2006 ～ AD09-21-2006"
       "\r\nAD2009闰五月小    AD06-23-2009 ～ AD07-21-2009",
       ""},
      {MakeLeapMonthSearch(2000, 10, 7, kHistoricalRules),
       "    共找到 1 个农历闰七月\r\n\r\nAD2006闰七月小    AD08-24-2006 ～ AD09-21-2006", ""},
      {MakeLeapMonthSearch(2000, 10, 12, kHistoricalRules), "    共找到 0 个农历闰腊月", ""},
      {MakeLeapMonthSearch(2002, 2, 0, kHistoricalRules), "    共找到 0 个农历闰月", ""},
      {MakeRunSearch(2000, 1, RunKind::kFourBig, kHistoricalRules), "    共找到 0 组四连大月", ""},
      {MakeRunSearch(619, 1, RunKind::kThreeSmall, kHistoricalRules),
       "    共找到 1 组三连小月\r\n\r\n\r\n第1组三连小月："
       "\r\n    AD0619闰二月小→AD03-22-0619 ～ AD04-19-0619"
       "\r\n    AD0619三月小→AD04-20-0619 ～ AD05-18-0619"
       "\r\n    AD0619四月小→AD05-19-0619 ～ AD06-16-0619",
       ""},
      {MakeConditionDaySearch(2020, 5, ramadan, YearStart::kStartOfSpring, kHistoricalRules), "",
       "\r\n\r\n\r\n第1个条件日：\r\n    对应公历→AD04-24-2020\r\n    对应农历→"},
      {MakeConditionDaySearch(2020, 5, never, YearStart::kStartOfSpring, kHistoricalRules), "    共找到 0 个条件日",
       ""},
  };
  for (auto& c : cases) {
    const std::string result = RunToEnd(*c.search);
    if (!c.whole.empty()) {
      EXPECT_EQ(result, c.whole);
    } else {
      const std::size_t end = result.find("\r\n");
      ASSERT_NE(end, std::string::npos) << result;
      EXPECT_EQ(result.compare(end, c.after.size(), c.after), 0) << result.substr(0, 200);
    }
  }
  const auto ancient = MakeLeapMonthSearch(-104, 3, 0, kHistoricalRules);
  EXPECT_NE(RunToEnd(*ancient).find("\r\nBC0105"), std::string::npos);
}

TEST(RunSearch, RunsNeverOverlap) {
  const auto s = MakeRunSearch(2000, 50, RunKind::kThreeBig, kHistoricalRules);
  const std::string result = RunToEnd(*s);
  ASSERT_EQ(result.rfind("    共找到 ", 0), 0u);
  // Every month appears in at most one run, and each run has three lines.
  std::set<std::string> months;
  std::size_t pos = 0;
  int runs = 0, lines = 0;
  while ((pos = result.find("\r\n\r\n第", pos)) != std::string::npos) {
    ++runs;
    pos += 4;
  }
  pos = 0;
  while ((pos = result.find("\r\n    AD", pos)) != std::string::npos) {
    const std::string month = result.substr(pos + 6, 12);
    EXPECT_TRUE(months.insert(month).second) << month;
    ++lines;
    pos += 6;
  }
  EXPECT_GT(runs, 0);
  EXPECT_EQ(lines, 3 * runs);
  EXPECT_EQ(result.rfind("    共找到 " + std::to_string(runs) + " 组三连大月\r\n\r\n\r\n第1组三连大月：\r\n    AD", 0), 0u);
  const auto four = MakeRunSearch(2000, 50, RunKind::kFourBig, kHistoricalRules);
  EXPECT_NE(RunToEnd(*four).find("组四连大月"), std::string::npos);
}

TEST(ConditionDaySearch, HijriMonthAndDayAlone) {
  DayConditions c;
  c.values[kHijriMonth] = 9;
  c.values[kHijriDay] = 1;
  const auto s = MakeConditionDaySearch(2020, 5, c, YearStart::kStartOfSpring, kHistoricalRules);
  const std::string result = RunToEnd(*s);
  EXPECT_EQ(result.rfind("    共找到 5 个条件日\r\n", 0), 0u);
  // Ramadan 1 of 1441..1445 in the arithmetic calendar.
  for (const char* day : {"AD04-24-2020", "AD04-13-2021", "AD04-03-2022", "AD03-23-2023", "AD03-11-2024"}) {
    EXPECT_NE(result.find(std::string("对应公历→") + day), std::string::npos) << day;
  }
}

TEST(ConditionDaySearch, TermsFestivalsAndTheReport) {
  std::array<int, kConditionCount> selections{};
  selections[kSolarTerm] = 3;  // 立春
  selections[kWeekday] = 7;    // 星期日
  const DayConditions c = ConditionsFromSelections(selections);
  EXPECT_EQ(c.solarTerm, "立春");
  EXPECT_EQ(c.weekday, "星期日");
  const auto s = MakeConditionDaySearch(2000, 30, c, YearStart::kStartOfSpring, kHistoricalRules);
  const std::string result = RunToEnd(*s);
  EXPECT_NE(result.find("\r\n    对应节气→立春 "), std::string::npos) << result.substr(0, 400);
  // 立春 fell on a Sunday in 2018 (4 February).
  EXPECT_NE(result.find("对应公历→AD02-04-2018"), std::string::npos);
  DayConditions easter;
  easter.festival = "复活节";
  const auto e = MakeConditionDaySearch(2024, 1, easter, YearStart::kStartOfSpring, kHistoricalRules);
  const std::string found = RunToEnd(*e);
  EXPECT_EQ(found.rfind("    共找到 1 个条件日\r\n\r\n\r\n第1个条件日：", 0), 0u);
  EXPECT_NE(found.find("对应公历→AD03-31-2024"), std::string::npos);
  EXPECT_NE(found.find("对应节日→复活节"), std::string::npos);
  // No condition: nothing is searched.
  const auto nothing = MakeConditionDaySearch(2024, 1, DayConditions{}, YearStart::kStartOfSpring, kHistoricalRules);
  EXPECT_FALSE(nothing->Step());
}

TEST(SearchProgress, ShownOnlyWhenTheRoundedValueChanges) {
  const auto s = MakeLeapMonthSearch(2000, 1000, 0, kHistoricalRules);
  s->Step();
  EXPECT_EQ(s->ProgressUpdate(), "    正在查询，已完成 0.0%...");
  EXPECT_EQ(s->ProgressUpdate(), "");
  s->Step();
  EXPECT_EQ(s->ProgressUpdate(), "    正在查询，已完成 0.1%...");
  DayConditions c;
  c.values[kGregorianDay] = 1;
  const auto d = MakeConditionDaySearch(2000, 100, c, YearStart::kStartOfSpring, kHistoricalRules);
  d->Step();
  EXPECT_EQ(d->ProgressUpdate(), "    正在查询，已完成 0.00%...");
  // With a clock: a change only after the interval (the first too), showing
  // the value of that moment.
  const auto t = MakeLeapMonthSearch(2000, 1000, 0, kHistoricalRules);
  struct Tick {
    int steps;
    std::int64_t now;
    const char* shown;
  };
  const Tick ticks[] = {{1, 1000, ""}, {1, 1100, ""}, {1, 1199, ""}, {1, 1200, "0.3"},
                        {0, 1500, ""},    {1, 1500, "0.4"}, {2, 1600, ""},  {0, 1700, "0.6"}};
  for (const Tick& k : ticks) {
    for (int i = 0; i < k.steps; ++i) t->Step();
    const std::string expected = *k.shown ? std::string("    正在查询，已完成 ") + k.shown + "%..." : "";
    EXPECT_EQ(t->ProgressUpdate(k.now, kProgressIntervalMs), expected) << k.now;
  }
}

// The worker's news, as the window collects it after each notification.
struct Collected {
  std::vector<std::string> progress;
  std::optional<std::string> result;
  bool ended = false;
};

class Notifications {
 public:
  std::function<void()> Notify() {
    return [this] {
      const std::lock_guard<std::mutex> hold(lock_);
      ++count_;
      changed_.notify_all();
    };
  }
  // Collects until the search has ended, as the window does on its messages.
  Collected Drain(SearchSession& session) {
    Collected c;
    while (!c.ended) {
      {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [&] { return count_ > 0; });
        count_ = 0;
      }
      SearchSession::News news = session.Collect();
      if (!news.progress.empty()) c.progress.push_back(news.progress);
      if (news.ended) {
        c.ended = true;
        c.result = news.result;
      }
    }
    session.Join();
    return c;
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  int count_ = 0;
};

// A search that holds its worker at one step until the test lets it go; the
// test keeps the count of steps and the release (the worker owns the search).
struct Hold {
  std::atomic<int> steps = 0;
  std::promise<void> released;
};
class HeldSearch : public Search {
 public:
  HeldSearch(std::unique_ptr<Search> inner, int holdAt, Hold& hold)
      : inner_(std::move(inner)), holdAt_(holdAt), hold_(hold) {}
  bool Step() override {
    if (++hold_.steps == holdAt_) hold_.released.get_future().wait();
    return inner_->Step();
  }
  std::string Result() const override { return inner_->Result(); }

 protected:
  std::string Progress() const override { return "held"; }

 private:
  std::unique_ptr<Search> inner_;
  int holdAt_;
  Hold& hold_;
};

TEST(SearchSession, RunsOnItsWorkerAndStopsBetweenSteps) {
  SearchSession session;
  Notifications n;
  // Undisturbed: the model's result, and the progress at most every
  // kProgressIntervalMs of the clock (steps 70 ms apart: new at 280 and 490;
  // the window may collect both at once).
  ASSERT_TRUE(session.Press());
  std::int64_t now = 0;
  session.Start(MakeLeapMonthSearch(2000, 10, 0, kHistoricalRules), n.Notify(), [&] { return now += 70; });
  const Collected whole = n.Drain(session);
  auto model = MakeLeapMonthSearch(2000, 10, 0, kHistoricalRules);
  while (model->Step()) {
  }
  EXPECT_EQ(whole.result, model->Result());
  EXPECT_GE(whole.progress.size(), 1u);
  EXPECT_LE(whole.progress.size(), 2u);

  // However late the window collects, the end is told once: a progress
  // notification taken after the end brings it, and the end's own has nothing
  // left to tell (no empty result to wipe the shown one).
  ASSERT_TRUE(session.Press());
  session.Start(MakeLeapMonthSearch(2000, 10, 0, kHistoricalRules), [] {});
  session.Join();
  const SearchSession::News late = session.Collect();
  EXPECT_TRUE(late.ended);
  EXPECT_EQ(late.result, model->Result());
  const SearchSession::News after = session.Collect();
  EXPECT_FALSE(after.ended);
  EXPECT_FALSE(after.result.has_value());

  // Each way to stop it, while the worker is held at step 10: nothing more is
  // shown, no result, and the worker took no step after the one it was in.
  struct Stop {
    const char* how;
    std::function<void()> act;
  };
  const Stop stops[] = {
      {"查询 again", [&] { EXPECT_FALSE(session.Press()); }},
      {"an edit, a click, closing", [&] { session.RequestStop(); }},
  };
  for (const Stop& stop : stops) {
    ASSERT_TRUE(session.Press()) << stop.how;
    Hold hold;
    session.Start(std::make_unique<HeldSearch>(MakeLeapMonthSearch(1, 5000, 0, kHistoricalRules), 10, hold),
                  n.Notify());
    while (hold.steps < 10) std::this_thread::yield();
    EXPECT_TRUE(session.running()) << stop.how;
    stop.act();
    EXPECT_FALSE(session.running()) << stop.how;
    // A press before the stopped search has ended starts nothing.
    EXPECT_FALSE(session.Press()) << stop.how;
    hold.released.set_value();
    const Collected c = n.Drain(session);
    EXPECT_FALSE(c.result.has_value()) << stop.how;
    EXPECT_EQ(hold.steps, 10) << stop.how;
    EXPECT_FALSE(session.stopRequested()) << stop.how;
  }

  // Opening page 1 clears a stop request left over; page 2 leaves it.
  for (const int page : {kDays, kMonths}) {
    session.RequestStop();
    session.Open(page);
    EXPECT_EQ(session.stopRequested(), page == kDays) << page;
  }

  // A session that goes with its search running stops it and waits for it:
  // its 5000 steps are not all taken.
  Hold hold;
  {
    SearchSession leaving;
    leaving.Start(std::make_unique<HeldSearch>(MakeLeapMonthSearch(1, 5000, 0, kHistoricalRules), 1, hold), nullptr);
    while (hold.steps < 1) std::this_thread::yield();
    hold.released.set_value();
  }
  EXPECT_LT(hold.steps, 5000);
}

TEST(ConditionLists, ItemsAfterTheEmptyOne) {
  EXPECT_EQ(ConditionItems(kGregorianMonth).size(), 12u);
  EXPECT_EQ(ConditionItems(kGregorianDay).back(), "31日");
  EXPECT_EQ(ConditionItems(kLunarMonth)[12], "闰正月");
  EXPECT_EQ(ConditionItems(kLunarDay).back(), "三十");
  EXPECT_EQ(ConditionItems(kCycleYear).front(), "甲子年");
  EXPECT_EQ(ConditionItems(kCycleDay).back(), "癸亥日");
  EXPECT_EQ(ConditionItems(kWeekday).front(), "星期一");
  EXPECT_EQ(ConditionItems(kSolarTerm).front(), "小寒");
  EXPECT_EQ(ConditionItems(kFestival).size(), 4u);
  EXPECT_STREQ(ConditionLabel(kFestival), "节日");
  std::array<int, kConditionCount> out{};
  out[kGregorianMonth] = 13;  // beyond the list: no condition
  EXPECT_FALSE(ConditionsFromSelections(out).Any());
}

}  // namespace
}  // namespace tovani::search
