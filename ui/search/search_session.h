// The search window's worker session, without any Win32: a search runs step
// by step on a worker thread, tells the window of its progress and its end,
// and stops on request between steps.  The window's thread and the worker
// share only atomics and what the lock guards.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "ui/search/search_model.h"

namespace tovani::search {

// The shortest time between two progress texts in the window (and before
// the first): five a second read well, and cost little beside the search.
inline constexpr std::int64_t kProgressIntervalMs = 200;

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
  // at the end the result, or nothing when the search was stopped.  The end
  // is told once, however many notifications the window collects late.
  struct News {
    std::string progress;
    bool ended = false;
    std::optional<std::string> result;
  };
  News Collect();
  // Waits for the worker thread, which a stop request ends within a step.
  void Join();

 private:
  std::thread worker_;  // started, joined and asked only on the window's thread
  std::atomic<bool> stop_ = false;
  std::atomic<bool> ended_ = false;
  std::mutex lock_;  // guards what follows, written by the worker and taken by the window
  std::string progress_;
  std::optional<std::string> result_;
  bool endTold_ = false;  // Collect has told the end of this search
};

}  // namespace tovani::search
