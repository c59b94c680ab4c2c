// A virtual wall clock for the sound players' threads (test helper).
//
// The players run on real threads, but time only moves when the test says so:
// a clip "plays" by blocking its worker until the virtual time reaches the
// clip's end.  Before time moves, the world waits until every worker is either
// finished or waiting for a clip to end, so each run is the same.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "sound/sound_player.h"
#include "sound/speaking_clock.h"

namespace tovani::sound::test {

inline constexpr long long kDayMs = 24LL * 60 * 60 * 1000;

inline long long Ms(int hour, int minute, int second, int ms = 0) {
  return ((hour * 60LL + minute) * 60 + second) * 1000 + ms;
}

class VirtualWorld {
 public:
  struct Played {
    long long startMs;  // from the world's start, not wrapped to the day
    long long endMs;
    std::string clip;
  };

  // Clip lengths in ms; a clip not listed lasts defaultMs.
  VirtualWorld(long long startMs, std::map<std::string, long long> lengths, long long defaultMs = 500)
      : now_(startMs), lengths_(std::move(lengths)), defaultMs_(defaultMs) {}

  ~VirtualWorld() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      shutdown_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  long long now() {
    std::lock_guard<std::mutex> lock(mutex_);
    return now_;
  }

  Clock clock() {
    return [this] {
      std::lock_guard<std::mutex> lock(mutex_);
      const long long ms = now_ % kDayMs;
      return TimeOfDay{static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
                       static_cast<int>(ms / 1000 % 60)};
    };
  }

  ClipPlayer player() {
    return [this](const char* clip) {
      std::unique_lock<std::mutex> lock(mutex_);
      const auto length = lengths_.find(clip);
      const long long end = now_ + (length == lengths_.end() ? defaultMs_ : length->second);
      played_.push_back(Played{now_, end, clip});
      const auto waiting = waitingUntil_.insert(end);
      changed_.notify_all();
      changed_.wait(lock, [&] { return now_ >= end || shutdown_; });
      waitingUntil_.erase(waiting);
      changed_.notify_all();
    };
  }

  // Starts each routine on a real thread; counts the handles released.
  ThreadStarter starter() {
    return [this](std::function<void()> routine) -> std::unique_ptr<WorkerHandle> {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        ++running_;
        ++started_;
      }
      threads_.emplace_back([this, routine = std::move(routine)] {
        routine();
        std::lock_guard<std::mutex> lock(mutex_);
        --running_;
        changed_.notify_all();
      });
      return std::make_unique<Handle>(this);
    };
  }

  // Waits until every worker has finished or waits for a clip to end later.
  void Settle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return SettledLocked(); });
  }

  // Moves the time forward, stopping at every clip end on the way.
  void Advance(long long ms) {
    const long long target = now() + ms;
    for (;;) {
      Settle();
      std::lock_guard<std::mutex> lock(mutex_);
      if (now_ >= target) return;
      long long next = target;
      for (long long end : waitingUntil_) {
        if (end > now_) next = std::min(next, end);
      }
      now_ = next;
      changed_.notify_all();
    }
  }

  // Runs tick() every periodMs from now to untilMs (tick first), settled.
  void Tick(long long untilMs, long long periodMs, const std::function<void()>& tick) {
    while (now() <= untilMs) {
      Settle();
      tick();
      Advance(periodMs);
    }
  }

  std::vector<Played> played() {
    Settle();
    std::lock_guard<std::mutex> lock(mutex_);
    return played_;
  }
  std::vector<Played> played(const std::string& prefix) {
    std::vector<Played> p;
    for (const Played& x : played()) {
      if (x.clip.rfind(prefix, 0) == 0) p.push_back(x);
    }
    return p;
  }
  int started() {
    std::lock_guard<std::mutex> lock(mutex_);
    return started_;
  }
  int released() {
    std::lock_guard<std::mutex> lock(mutex_);
    return released_;
  }

 private:
  class Handle final : public WorkerHandle {
   public:
    explicit Handle(VirtualWorld* world) : world_(world) {}
    ~Handle() override {
      std::lock_guard<std::mutex> lock(world_->mutex_);
      ++world_->released_;
    }

   private:
    VirtualWorld* world_;
  };

  bool SettledLocked() const {
    long long asleep = 0;
    for (long long end : waitingUntil_) {
      if (end > now_) ++asleep;
    }
    return asleep == running_;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  long long now_;
  std::map<std::string, long long> lengths_;
  long long defaultMs_;
  std::multiset<long long> waitingUntil_;
  std::vector<Played> played_;
  std::vector<std::thread> threads_;
  long long running_ = 0;
  int started_ = 0, released_ = 0;
  bool shutdown_ = false;
};

}  // namespace tovani::sound::test
