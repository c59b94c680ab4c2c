#include "sound/sound_player.h"

#include <utility>

namespace tovani::sound {

SoundPlayer::SoundPlayer(ThreadStarter starter)
    : starter_(std::move(starter)), state_(std::make_shared<std::atomic<std::int16_t>>(kNeverStarted)) {}

bool SoundPlayer::Start(std::function<void()> routine) {
  if (playing()) return false;
  thread_.reset();
  // The state turns to "playing" here, before the thread exists: a second
  // request that comes before the worker has been scheduled (a repeated hot
  // key) must find the player busy, not start a second sequence beside it.
  const std::int16_t before = state_->exchange(kPlaying, std::memory_order_acq_rel);
  thread_ = starter_([state = state_, routine = std::move(routine)] {
    state->store(kPlaying, std::memory_order_release);
    routine();
    state->store(kFinished, std::memory_order_release);
  });
  if (thread_ == nullptr) state_->store(before, std::memory_order_release);
  return thread_ != nullptr;
}

std::function<bool()> SoundPlayer::PlayingProbe() const {
  return [state = state_] { return state->load(std::memory_order_acquire) == kPlaying; };
}

}  // namespace tovani::sound
