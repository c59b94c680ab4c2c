// The search window's worker session: the worker's loop, its news for the
// window, and the stop requests that end it between steps.
#include "ui/search/search_session.h"

// std::chrono comes with <thread>: <chrono> itself does not compile with a GBK
// execution character set (its literals hold \u00b5).

namespace tovani::search {

SearchSession::~SearchSession() {
  RequestStop();
  Join();
}

void SearchSession::Open(int page) {
  if (page == kMonths) stop_ = false;
}

bool SearchSession::Press() {
  if (worker_.joinable() && !ended_) {
    stop_ = true;
    return false;
  }
  Join();
  return true;
}

void SearchSession::Start(std::unique_ptr<Search> search, std::function<void()> notify,
                          std::function<std::int64_t()> clockMs, int pauseAfterStepMs) {
  Join();
  stop_ = false;
  ended_ = false;
  {
    const std::lock_guard<std::mutex> hold(lock_);
    progress_.clear();
    result_.reset();
    endTold_ = false;
  }
  worker_ = std::thread([this, search = std::move(search), notify = std::move(notify), clockMs = std::move(clockMs),
                         pauseAfterStepMs] {
    bool more = true;
    while (more && !stop_) {
      more = search->Step();
      if (pauseAfterStepMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseAfterStepMs));
      const std::string progress =
          clockMs ? search->ProgressUpdate(clockMs(), kProgressIntervalMs) : search->ProgressUpdate();
      if (more && !progress.empty()) {
        bool first = false;
        {
          const std::lock_guard<std::mutex> hold(lock_);
          first = progress_.empty();  // else a notification is on its way
          progress_ = progress;
        }
        if (first && notify) notify();
      }
    }
    {
      const std::lock_guard<std::mutex> hold(lock_);
      if (!stop_) result_ = search->Result();
    }
    ended_ = true;
    if (notify) notify();
  });
}

SearchSession::News SearchSession::Collect() {
  News news;
  const std::lock_guard<std::mutex> hold(lock_);
  if (!stop_) news.progress = progress_;
  progress_.clear();
  // A progress notification the window takes after the end brings the end
  // with it; the end's own notification then has nothing more to tell.
  news.ended = ended_ && !endTold_;
  if (news.ended) {
    endTold_ = true;
    news.result = std::move(result_);
    result_.reset();
  }
  return news;
}

void SearchSession::Join() {
  if (worker_.joinable()) worker_.join();
  if (ended_) stop_ = false;  // the stopped search has taken the request
}

}  // namespace tovani::search
