// A sound player: a routine that plays a sequence on a worker thread started
// afresh for every run, and a 16-bit state word that the window thread reads
// to decide whether a new run may start.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace tovani::sound {

enum PlayerState : std::int16_t { kNeverStarted = 0, kPlaying = 1, kFinished = 2 };

// The handle of a started worker thread.  Destroying it releases the handle;
// the thread runs on to its end.
class WorkerHandle {
 public:
  virtual ~WorkerHandle() = default;
};

// Starts the routine on a new thread; nullptr when no thread could be started.
using ThreadStarter = std::function<std::unique_ptr<WorkerHandle>(std::function<void()> routine)>;

class SoundPlayer {
 public:
  explicit SoundPlayer(ThreadStarter starter);
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // The start rule: nothing while a run is playing; otherwise the handle of
  // the previous run is released and the routine starts on a new thread.
  // The state reads kPlaying from this call until the routine has returned.
  // Returns whether a run started.
  bool Start(std::function<void()> routine);
  // Releases the handle of a run that has finished (or still plays).
  void ReleaseThread() { thread_.reset(); }

  PlayerState state() const { return static_cast<PlayerState>(state_->load(std::memory_order_acquire)); }
  bool playing() const { return state() == kPlaying; }
  bool holdsThread() const { return thread_ != nullptr; }
  // "Is this player playing?", safe to keep on another thread after the
  // player is gone.
  std::function<bool()> PlayingProbe() const;

 private:
  ThreadStarter starter_;
  // Shared with the worker, which may outlive the player at the program's end.
  std::shared_ptr<std::atomic<std::int16_t>> state_;
  std::unique_ptr<WorkerHandle> thread_;
};

}  // namespace tovani::sound
