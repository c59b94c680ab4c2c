// The start rule, with a starter that holds each routine until the test runs it.
#include "sound/sound_player.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "sound/clock_sounds.h"

namespace tovani::sound {
namespace {

class HeldThreads {
 public:
  ThreadStarter starter() {
    return [this](std::function<void()> routine) -> std::unique_ptr<WorkerHandle> {
      if (failNext_) {
        failNext_ = false;
        return nullptr;
      }
      pending_.push_back(std::move(routine));
      return std::make_unique<Handle>(&released_);
    };
  }
  // Runs the oldest routine not yet run, as its thread would.
  void RunNext() {
    ASSERT_FALSE(pending_.empty());
    auto routine = std::move(pending_.front());
    pending_.erase(pending_.begin());
    routine();
  }
  std::size_t pending() const { return pending_.size(); }
  int released() const { return released_; }
  void FailNext() { failNext_ = true; }

 private:
  class Handle final : public WorkerHandle {
   public:
    explicit Handle(int* released) : released_(released) {}
    ~Handle() override { ++*released_; }

   private:
    int* released_;
  };

  std::vector<std::function<void()>> pending_;
  int released_ = 0;
  bool failNext_ = false;
};

TEST(SoundPlayer, StartRule) {
  HeldThreads threads;
  int runs = 0;
  std::vector<PlayerState> seenByRoutine;
  SoundPlayer player(threads.starter());
  const auto routine = [&] {
    ++runs;
    seenByRoutine.push_back(player.state());
  };
  EXPECT_EQ(player.state(), kNeverStarted);
  EXPECT_FALSE(player.holdsThread());

  EXPECT_TRUE(player.Start(routine));
  EXPECT_TRUE(player.holdsThread());
  // Started but not yet scheduled: already busy, so a second request (a
  // repeated hot key) starts nothing.
  EXPECT_EQ(player.state(), kPlaying);
  EXPECT_FALSE(player.Start(routine));
  EXPECT_EQ(threads.pending(), 1u);

  threads.RunNext();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(seenByRoutine.back(), kPlaying);
  EXPECT_EQ(player.state(), kFinished);
  EXPECT_TRUE(player.holdsThread());
  EXPECT_EQ(threads.released(), 0);

  // Finished: the old handle is released, a new run starts.
  EXPECT_TRUE(player.Start(routine));
  EXPECT_EQ(threads.released(), 1);
  EXPECT_EQ(player.state(), kPlaying);
  threads.RunNext();
  EXPECT_EQ(runs, 2);

  player.ReleaseThread();
  EXPECT_FALSE(player.holdsThread());
  EXPECT_EQ(threads.released(), 2);
  EXPECT_EQ(player.state(), kFinished);
}

TEST(SoundPlayer, AThreadThatCannotStartLeavesThePlayerFree) {
  HeldThreads threads;
  SoundPlayer player(threads.starter());
  threads.FailNext();
  EXPECT_FALSE(player.Start([] {}));
  EXPECT_EQ(player.state(), kNeverStarted);
  EXPECT_FALSE(player.holdsThread());
  EXPECT_TRUE(player.Start([] {}));
  threads.RunNext();
  threads.FailNext();
  EXPECT_FALSE(player.Start([] {}));
  EXPECT_EQ(player.state(), kFinished);
  EXPECT_EQ(threads.released(), 1);  // the finished run's handle went first
}

TEST(SoundPlayer, TheProbeOutlivesThePlayer) {
  HeldThreads threads;
  std::function<bool()> probe;
  {
    SoundPlayer player(threads.starter());
    probe = player.PlayingProbe();
    EXPECT_FALSE(probe());
    player.Start([] {});
    EXPECT_TRUE(probe());
  }
  // The worker runs on after the player is gone (the program ending).
  threads.RunNext();
  EXPECT_FALSE(probe());
}

TEST(ClockSounds, AlarmCheckStartsOrReleases) {
  HeldThreads threads;
  TimeOfDay now{7, 29, 59};
  std::vector<std::string> played;
  ClockSounds sounds([&] { return now; }, [&](const char* c) { played.push_back(c); }, threads.starter());
  const Alarms alarms = {{{1, 450, 2}, {}, {}}};

  sounds.AlarmCheck(alarms);
  EXPECT_EQ(threads.pending(), 0u);
  now = {7, 30, 0};
  sounds.AlarmCheck(alarms);
  sounds.AlarmCheck(alarms);  // still playing: nothing new
  EXPECT_EQ(threads.pending(), 1u);
  EXPECT_TRUE(sounds.holdsAlarmThread());
  threads.RunNext();
  EXPECT_EQ(played, std::vector<std::string>{"SoundAlarm2"});

  now = {7, 31, 0};
  sounds.AlarmCheck(alarms);
  EXPECT_FALSE(sounds.holdsAlarmThread());
  EXPECT_EQ(threads.released(), 1);
  EXPECT_EQ(threads.pending(), 0u);

  // No alarm armed: the check starts nothing even at the set minute.
  now = {7, 30, 0};
  sounds.AlarmCheck({{{0, 450, 2}, {}, {}}});
  EXPECT_EQ(threads.pending(), 0u);
}

TEST(ClockSounds, HourlyCheckOnlyAtTheFirstSecondOfTheHour) {
  struct Case {
    TimeOfDay now;
    bool starts;
  };
  const Case cases[] = {
      {{14, 0, 0}, true}, {{0, 0, 0}, true},  {{14, 0, 1}, false},
      {{14, 1, 0}, false}, {{13, 59, 59}, false}, {{23, 30, 0}, false},
  };
  for (const Case& c : cases) {
    HeldThreads threads;
    ClockSounds sounds([&] { return c.now; }, [](const char*) {}, threads.starter());
    sounds.HourlyCheck();
    EXPECT_EQ(threads.pending(), c.starts ? 1u : 0u) << c.now.hour << ":" << c.now.minute << ":" << c.now.second;
  }
}

TEST(ClockSounds, HourlyAnnouncementLeavesOutTheMinutes) {
  HeldThreads threads;
  TimeOfDay now{0, 0, 0};
  std::vector<std::string> played;
  ClockSounds sounds([&] { return now; }, [&](const char* c) { played.push_back(c); }, threads.starter());
  sounds.HourlyCheck();
  now = {0, 0, 3};  // the clock moved on during the chime: still no minutes
  threads.RunNext();
  EXPECT_EQ(played, (std::vector<std::string>{"SoundRing", "SoundTime", "Sound0", "SoundHour"}));
}

}  // namespace
}  // namespace tovani::sound
