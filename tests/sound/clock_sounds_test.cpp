// The timers' handlers, the start rule and the two players together, on real
// worker threads in virtual time.
#include "sound/clock_sounds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sound/virtual_time.h"

namespace tovani::sound {
namespace {

using test::Ms;
using test::VirtualWorld;
using Clips = std::vector<std::string>;

const std::map<std::string, long long> kLengths = {
    {"SoundRing", 1530},   {"SoundTime", 1480},   {"SoundAlarm0", 910},  {"SoundAlarm1", 5830},
    {"SoundAlarm2", 2210}, {"SoundAlarm3", 1760}, {"SoundAlarm4", 3390}};

Clips Names(const std::vector<VirtualWorld::Played>& played) {
  Clips names;
  for (const auto& p : played) names.push_back(p.clip);
  return names;
}

TEST(ClockSounds, HourlyCheckAnnouncesTheFullHourOnce) {
  // Whatever the phase of the 500 ms ticks, the second 14:00:00 is met by one
  // or two ticks and the hour is said once, without minutes.
  for (long long phase : {0LL, 1LL, 250LL, 499LL}) {
    SCOPED_TRACE(phase);
    VirtualWorld world(Ms(13, 59, 57) + phase, kLengths);
    {
      ClockSounds sounds(world.clock(), world.player(), world.starter());
      world.Tick(Ms(14, 0, 30), 500, [&] { sounds.HourlyCheck(); });
      const auto played = world.played();
      EXPECT_EQ(Names(played), (Clips{"SoundRing", "SoundTime", "Sound10", "Sound4", "SoundHour"}));
      ASSERT_FALSE(played.empty());
      EXPECT_GE(played.front().startMs, Ms(14, 0, 0));
      EXPECT_LT(played.front().startMs, Ms(14, 0, 1));
      EXPECT_EQ(world.started(), 1);
      EXPECT_EQ(sounds.speakingState(), kFinished);
    }
  }
}

TEST(ClockSounds, HourlyAnnouncementIsNotCaughtUp) {
  // Ticks held up across 14:00:00 (a busy window) miss the hour for good.
  VirtualWorld world(Ms(13, 59, 59, 900), kLengths);
  ClockSounds sounds(world.clock(), world.player(), world.starter());
  sounds.HourlyCheck();
  world.Advance(1200);
  world.Tick(Ms(14, 1, 0), 500, [&] { sounds.HourlyCheck(); });
  EXPECT_TRUE(world.played().empty());
  EXPECT_EQ(sounds.speakingState(), kNeverStarted);
}

TEST(ClockSounds, SpeakTimeNowSaysTheMinutesAndIgnoresRepeatsWhileSpeaking) {
  VirtualWorld world(Ms(8, 6, 59), kLengths);
  ClockSounds sounds(world.clock(), world.player(), world.starter());
  // Pressed three times within the announcement: one announcement, read
  // after the chime (08:07).
  sounds.SpeakTimeNow();
  world.Advance(700);
  sounds.SpeakTimeNow();
  EXPECT_EQ(sounds.speakingState(), kPlaying);
  world.Advance(2000);
  sounds.SpeakTimeNow();
  world.Advance(10000);
  EXPECT_EQ(Names(world.played()), (Clips{"SoundRing", "SoundTime", "Sound8", "SoundHour", "Sound0", "Sound7",
                                          "SoundMinute"}));
  EXPECT_EQ(world.started(), 1);
  EXPECT_EQ(sounds.speakingState(), kFinished);
  // Once it has finished, the next press speaks again; the old thread's
  // handle is released first.
  sounds.SpeakTimeNow();
  world.Advance(10000);
  EXPECT_EQ(world.played().size(), 14u);
  EXPECT_EQ(world.started(), 2);
  EXPECT_EQ(world.released(), 1);
}

TEST(ClockSounds, ADueAlarmRingsThroughItsMinute) {
  struct Case {
    int time, soundNo;
    long long from;  // a few seconds before the minute
    long long clipMs;
  };
  const Case cases[] = {
      {450, 1, Ms(7, 29, 57), 5830},  // 07:30
      {0, 4, Ms(23, 59, 57), 3390},   // midnight
      {1439, 0, Ms(23, 58, 57), 910},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    VirtualWorld world(c.from, kLengths);
    ClockSounds sounds(world.clock(), world.player(), world.starter());
    const Alarms alarms = {{{1, c.time, static_cast<std::int16_t>(c.soundNo)}, {}, {}}};
    const long long minuteStart = c.from + 3000;
    world.Tick(minuteStart + 65000, 500, [&] { sounds.AlarmCheck(alarms); });

    const auto played = world.played();
    ASSERT_FALSE(played.empty());
    for (const auto& p : played) EXPECT_EQ(p.clip, "SoundAlarm" + std::to_string(c.soundNo));
    // From the first second of the minute, pass after pass, each starting at
    // the first tick after the one before has ended, until the minute is over.
    EXPECT_EQ(played.front().startMs, minuteStart);
    for (std::size_t i = 1; i < played.size(); ++i) {
      EXPECT_GE(played[i].startMs, played[i - 1].endMs);
      EXPECT_LT(played[i].startMs, played[i - 1].endMs + 500);
    }
    EXPECT_LT(played.back().startMs, minuteStart + 60000);
    EXPECT_GE(played.back().endMs + 500, minuteStart + 60000);
    // After the minute the alarm player's thread is released.
    EXPECT_FALSE(sounds.holdsAlarmThread());
    EXPECT_EQ(world.released(), world.started());
    EXPECT_EQ(sounds.alarmState(), kFinished);
  }
}

TEST(ClockSounds, ThreeAlarmsOfOneMinuteSoundInTurnAndADisarmedOneNever) {
  VirtualWorld world(Ms(6, 59, 59), kLengths);
  ClockSounds sounds(world.clock(), world.player(), world.starter());
  // A and C at 07:00, B disarmed at 07:00; and a fourth sound C would have
  // made is absent.
  const Alarms alarms = {{{1, 420, 2}, {0, 420, 1}, {1, 420, 3}}};
  world.Tick(Ms(7, 1, 5), 500, [&] { sounds.AlarmCheck(alarms); });
  const auto played = world.played();
  ASSERT_GE(played.size(), 4u);
  for (std::size_t i = 0; i < played.size(); ++i) {
    EXPECT_EQ(played[i].clip, i % 2 == 0 ? "SoundAlarm2" : "SoundAlarm3") << i;
    // The second of each pass follows the first at once.
    if (i % 2 == 1) {
      EXPECT_EQ(played[i].startMs, played[i - 1].endMs);
    }
  }
  EXPECT_EQ(played.front().startMs, Ms(7, 0, 0));
  EXPECT_LT(played.back().startMs, Ms(7, 1, 0));
}

TEST(ClockSounds, AlarmsAreSilentWhileTheTimeIsSpoken) {
  VirtualWorld world(Ms(7, 29, 59), kLengths);
  ClockSounds sounds(world.clock(), world.player(), world.starter());
  const Alarms alarms = {{{1, 450, 3}, {}, {}}};
  sounds.SpeakTimeNow();
  world.Tick(Ms(7, 30, 20), 500, [&] { sounds.AlarmCheck(alarms); });

  const auto speech = world.played("Sound");
  const auto alarm = world.played("SoundAlarm");
  const Clips said = {"SoundRing", "SoundTime", "Sound7", "SoundHour", "Sound30", "SoundMinute"};
  Clips spoken;
  for (const auto& p : speech) {
    if (p.clip.rfind("SoundAlarm", 0) != 0) spoken.push_back(p.clip);
  }
  EXPECT_EQ(spoken, said);
  ASSERT_FALSE(alarm.empty());
  long long speechEnd = 0;
  for (const auto& p : speech) {
    if (p.clip.rfind("SoundAlarm", 0) != 0) speechEnd = std::max(speechEnd, p.endMs);
  }
  // Passes during the announcement played nothing; the first tick after it
  // rings the alarm.
  EXPECT_GE(world.started(), 3);
  EXPECT_GE(alarm.front().startMs, speechEnd);
  EXPECT_LT(alarm.front().startMs, speechEnd + 500);
}

TEST(ClockSounds, AnAnnouncementDuringAnAlarmWaitsForNothing) {
  // The alarm does not keep the speaking clock from starting; the alarm's
  // next pass then stays silent until the announcement is over.
  VirtualWorld world(Ms(7, 30, 0), kLengths);
  ClockSounds sounds(world.clock(), world.player(), world.starter());
  const Alarms alarms = {{{1, 450, 0}, {}, {}}};
  sounds.AlarmCheck(alarms);
  world.Advance(300);
  sounds.SpeakTimeNow();
  world.Tick(Ms(7, 30, 10), 500, [&] { sounds.AlarmCheck(alarms); });
  const auto all = world.played();
  ASSERT_GE(all.size(), 3u);
  EXPECT_EQ(all[0].clip, "SoundAlarm0");
  EXPECT_EQ(all[1].clip, "SoundRing");
  EXPECT_EQ(all[1].startMs, Ms(7, 30, 0, 300));
  long long speechEnd = 0;
  for (const auto& p : all) {
    if (p.clip.rfind("SoundAlarm", 0) != 0) speechEnd = std::max(speechEnd, p.endMs);
  }
  for (std::size_t i = 1; i < all.size(); ++i) {
    if (all[i].clip == "SoundAlarm0") {
      EXPECT_GE(all[i].startMs, speechEnd) << i;
    }
  }
}

}  // namespace
}  // namespace tovani::sound
