#include "sound/speaking_clock.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "sound/clips.h"

namespace tovani::sound {
namespace {

using Clips = std::vector<std::string>;

Clips Announce(int hour, int minute, bool includeMinutes) {
  Clips clips;
  for (const char* c : TimeAnnouncement(hour, minute, includeMinutes)) clips.push_back(c);
  return clips;
}

Clips Join(Clips a, const Clips& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(TimeAnnouncement, SaysTheRowsOfTheSequenceTable) {
  struct Case {
    int hour, minute;
    Clips hourPart, minutePart;
  };
  const Case cases[] = {
      {0, 5, {"Sound0", "SoundHour"}, {"Sound0", "Sound5", "SoundMinute"}},
      {2, 0, {"SoundTwo", "SoundHour"}, {}},
      {10, 10, {"Sound10", "SoundHour"}, {"Sound10", "SoundMinute"}},
      {12, 2, {"Sound10", "Sound2", "SoundHour"}, {"Sound0", "Sound2", "SoundMinute"}},
      {20, 30, {"Sound20", "SoundHour"}, {"Sound30", "SoundMinute"}},
      {23, 59, {"Sound20", "Sound3", "SoundHour"}, {"Sound50", "Sound9", "SoundMinute"}},
      {14, 0, {"Sound10", "Sound4", "SoundHour"}, {}},
      {8, 0, {"Sound8", "SoundHour"}, {}},
      {8, 7, {"Sound8", "SoundHour"}, {"Sound0", "Sound7", "SoundMinute"}},
      {2, 22, {"SoundTwo", "SoundHour"}, {"Sound20", "Sound2", "SoundMinute"}},
      {22, 2, {"Sound20", "Sound2", "SoundHour"}, {"Sound0", "Sound2", "SoundMinute"}},
      {0, 0, {"Sound0", "SoundHour"}, {}},
  };
  for (const Case& c : cases) {
    const Clips hourly = Join({"SoundTime"}, c.hourPart);
    EXPECT_EQ(Announce(c.hour, c.minute, false), hourly) << c.hour << ":" << c.minute;
    EXPECT_EQ(Announce(c.hour, c.minute, true), Join(hourly, c.minutePart)) << c.hour << ":" << c.minute;
  }
}

// Every minute of the day, checked by what the clips say: the numbers of the
// hour part add up to the hour, those of the minute part to the minute.
TEST(TimeAnnouncement, EveryMinuteOfTheDaySaysItsTime) {
  const std::map<std::string, int> value = {
      {"Sound0", 0},  {"Sound1", 1},  {"Sound2", 2},  {"Sound3", 3},  {"Sound4", 4},  {"Sound5", 5},
      {"Sound6", 6},  {"Sound7", 7},  {"Sound8", 8},  {"Sound9", 9},  {"Sound10", 10}, {"Sound20", 20},
      {"Sound30", 30}, {"Sound40", 40}, {"Sound50", 50}, {"SoundTwo", 2}};
  for (int h = 0; h < 24; ++h) {
    for (int m = 0; m < 60; ++m) {
      const Clips clips = Announce(h, m, true);
      SCOPED_TRACE(std::to_string(h) + ":" + std::to_string(m));
      ASSERT_GE(clips.size(), 3u);
      EXPECT_EQ(clips.front(), "SoundTime");
      std::size_t i = 1;
      int hourSum = 0, hourWords = 0;
      for (; i < clips.size() && clips[i] != "SoundHour"; ++i, ++hourWords) {
        ASSERT_TRUE(value.count(clips[i])) << clips[i];
        hourSum += value.at(clips[i]);
        if (clips[i] == "SoundTwo") {
          EXPECT_EQ(h, 2);
        }
        if (clips[i] == "Sound0") {
          EXPECT_EQ(h, 0);
        }
      }
      ASSERT_LT(i, clips.size()) << "no SoundHour";
      EXPECT_EQ(hourSum, h);
      EXPECT_LE(hourWords, 2);
      ++i;
      if (m == 0) {
        EXPECT_EQ(i, clips.size());
        continue;
      }
      ASSERT_EQ(clips.back(), "SoundMinute");
      int minuteSum = 0;
      const std::size_t minuteWords = clips.size() - 1 - i;
      for (; i + 1 < clips.size(); ++i) {
        ASSERT_TRUE(value.count(clips[i])) << clips[i];
        EXPECT_NE(clips[i], "SoundTwo");
        minuteSum += value.at(clips[i]);
      }
      EXPECT_EQ(minuteSum, m);
      // Minutes under ten are read with a leading zero ("零五分").
      EXPECT_EQ(minuteWords, m % 10 == 0 ? 1u : 2u);
      if (m < 10) {
        EXPECT_EQ(clips[clips.size() - 1 - minuteWords], "Sound0");
      }
      // The hourly announcement is the same without the minutes.
      const Clips hourly = Announce(h, m, false);
      EXPECT_EQ(hourly, Clips(clips.begin(), clips.begin() + static_cast<long>(hourly.size())));
      EXPECT_EQ(hourly.back(), "SoundHour");
    }
  }
}

TEST(TimeAnnouncement, NothingForATimeOutsideTheDay) {
  const int bad[][2] = {{24, 0}, {-1, 0}, {0, 60}, {12, -1}};
  for (const auto& t : bad) EXPECT_TRUE(Announce(t[0], t[1], true).empty()) << t[0] << ":" << t[1];
}

TEST(SpeakTime, ChimesThenReadsTheClock) {
  // The chime ends after the full minute: the new time is said.
  Clips played;
  TimeOfDay now{12, 59, 59};
  const ClipPlayer play = [&](const char* clip) {
    played.push_back(clip);
    if (std::string(clip) == kSoundRing) now = TimeOfDay{13, 0, 1};
  };
  SpeakTime(true, [&] { return now; }, play);
  EXPECT_EQ(played, (Clips{"SoundRing", "SoundTime", "Sound10", "Sound3", "SoundHour"}));

  played.clear();
  now = TimeOfDay{23, 59, 0};
  SpeakTime(false, [&] { return now; }, [&](const char* clip) { played.push_back(clip); });
  EXPECT_EQ(played, (Clips{"SoundRing", "SoundTime", "Sound20", "Sound3", "SoundHour"}));
}

TEST(RingAlarms, PlaysEachDueAlarmOnceAPassInTheOrderABC) {
  struct Case {
    const char* what;
    Alarms alarms;
    bool speaking;
    Clips expected;
  };
  const TimeOfDay at0730{7, 30, 12};
  const Case cases[] = {
      {"one due", {{{1, 450, 1}, {0, 0, 0}, {0, 0, 0}}}, false, {"SoundAlarm1"}},
      {"all three due", {{{1, 450, 4}, {1, 450, 0}, {1, 450, 2}}}, false, {"SoundAlarm4", "SoundAlarm0", "SoundAlarm2"}},
      {"disarmed", {{{0, 450, 1}, {1, 451, 2}, {1, 449, 3}}}, false, {}},
      {"only the armed one", {{{0, 450, 1}, {1, 450, 3}, {0, 450, 2}}}, false, {"SoundAlarm3"}},
      {"sound out of range", {{{1, 450, 5}, {1, 450, -1}, {1, 450, 4}}}, false, {"SoundAlarm4"}},
      {"while speaking", {{{1, 450, 1}, {1, 450, 2}, {1, 450, 3}}}, true, {}},
  };
  for (const Case& c : cases) {
    Clips played;
    RingAlarms(
        c.alarms, [&] { return at0730; }, [&](const char* clip) { played.push_back(clip); },
        [&] { return c.speaking; });
    EXPECT_EQ(played, c.expected) << c.what;
  }
}

TEST(RingAlarms, ReadsTheClockBeforeEachAlarm) {
  // A rings across the minute: B, set to the next minute, rings in the same
  // pass; C, set to the minute of A, no longer does.
  TimeOfDay now{7, 30, 58};
  Clips played;
  const Alarms alarms = {{{1, 450, 1}, {1, 451, 2}, {1, 450, 3}}};
  RingAlarms(
      alarms, [&] { return now; },
      [&](const char* clip) {
        played.push_back(clip);
        now.second += 6;
        if (now.second >= 60) now = TimeOfDay{now.hour, now.minute + 1, now.second - 60};
      },
      [] { return false; });
  EXPECT_EQ(played, (Clips{"SoundAlarm1", "SoundAlarm2"}));
}

TEST(RingAlarms, SpeakingThatStartsMidPassSilencesTheRest) {
  bool speaking = false;
  Clips played;
  RingAlarms(
      {{{1, 0, 0}, {1, 0, 1}, {1, 0, 2}}}, [] { return TimeOfDay{0, 0, 0}; },
      [&](const char* clip) {
        played.push_back(clip);
        speaking = true;
      },
      [&] { return speaking; });
  EXPECT_EQ(played, (Clips{"SoundAlarm0"}));
}

TEST(Alarms, ArmedAndDue) {
  EXPECT_FALSE(AnyAlarmArmed({}));
  EXPECT_TRUE(AnyAlarmArmed({{{0, 0, 0}, {0, 0, 0}, {1, 0, 0}}}));
  EXPECT_TRUE(AlarmDue({1, 0, 0}, {0, 0, 59}));
  EXPECT_FALSE(AlarmDue({1, 0, 0}, {0, 1, 0}));
  EXPECT_TRUE(AlarmDue({1, 1439, 0}, {23, 59, 0}));
  EXPECT_FALSE(AlarmDue({0, 1439, 0}, {23, 59, 0}));
}

TEST(Alarms, FromTheSettingsRecord) {
  struct Setting {
    bool on;
    std::int32_t time;
    std::int16_t soundNo;
    std::int16_t days;
  };
  const std::array<Setting, 3> settings = {{{true, 450, 1, 1}, {false, 0, 0, 0}, {true, 1439, 4, 2}}};
  EXPECT_EQ(AlarmsOf(settings), (Alarms{{{true, 450, 1, 1}, {false, 0, 0, 0}, {true, 1439, 4, 2}}}));
}

// An alarm rings every day, on official working days or on the other days;
// the hour is said outside the quiet time, and on working days when asked.
TEST(Alarms, TheDaysTheyRingOnAndTheQuietHours) {
  const Alarms alarms = {{{1, 450, 1, 0}, {1, 450, 1, 1}, {1, 450, 1, 2}}};
  const auto armed = [](const Alarms& a) { return std::to_string(a[0].on) + std::to_string(a[1].on) + std::to_string(a[2].on); };
  EXPECT_EQ(armed(AlarmsOfDay(alarms, true)), "110");
  EXPECT_EQ(armed(AlarmsOfDay(alarms, false)), "101");
  struct Case {
    HourlyRule rule;
    int hour;
    bool workingDay, speaks;
  };
  const Case cases[] = {
      {{22 * 60, 7 * 60, false}, 21, true, true},  {{22 * 60, 7 * 60, false}, 22, true, false},
      {{22 * 60, 7 * 60, false}, 0, true, false},  {{22 * 60, 7 * 60, false}, 6, false, false},
      {{22 * 60, 7 * 60, false}, 7, false, true},  {{22 * 60, 7 * 60, true}, 9, false, false},
      {{22 * 60, 7 * 60, true}, 9, true, true},    {{12 * 60, 14 * 60, false}, 13, true, false},
      {{12 * 60, 14 * 60, false}, 14, true, true}, {{0, 0, false}, 3, true, true},  // no quiet time
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HourlySpeaks(c.rule, c.hour, c.workingDay), c.speaks)
        << c.rule.quietFrom << "-" << c.rule.quietTo << " at " << c.hour << (c.rule.workingDaysOnly ? " workdays" : "");
  }
}

TEST(Clips, NamesOfTheClipsAndOfTheAlarmSounds) {
  const auto& all = AllClips();
  std::set<std::string> names(all.begin(), all.end());
  EXPECT_EQ(names.size(), 25u);
  for (int d = 0; d <= 9; ++d) EXPECT_EQ(DigitClip(d), "Sound" + std::to_string(d));
  for (int t = 1; t <= 5; ++t) EXPECT_EQ(TensClip(t), "Sound" + std::to_string(t * 10));
  EXPECT_EQ(DigitClip(10), nullptr);
  EXPECT_EQ(DigitClip(-1), nullptr);
  EXPECT_EQ(TensClip(0), nullptr);
  EXPECT_EQ(TensClip(6), nullptr);
  const char* names5[] = {"空袭警报", "锣鼓声", "鸡叫声", "号角声", "电话铃"};
  for (int i = 0; i < kAlarmSoundCount; ++i) {
    EXPECT_STREQ(AlarmSoundName(i), names5[i]);
    EXPECT_EQ(AlarmClip(i), "SoundAlarm" + std::to_string(i));
    EXPECT_TRUE(names.count(AlarmClip(i)));
  }
  EXPECT_STREQ(AlarmSoundName(5), "");
  EXPECT_EQ(AlarmClip(5), nullptr);
  EXPECT_EQ(AlarmClip(-1), nullptr);
  for (int h = 0; h < 24; ++h) {
    for (int m = 0; m < 60; ++m) {
      for (const char* c : TimeAnnouncement(h, m, true)) EXPECT_TRUE(names.count(c)) << c;
    }
  }
  EXPECT_TRUE(names.count(kSoundRing));
}

}  // namespace
}  // namespace tovani::sound
