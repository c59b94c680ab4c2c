// The speaking clock and the alarm clocks: which clips say a time, and the
// two sequences that the worker threads play.  Portable: the clock, the clip
// player and the speaking player's state come in from outside.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace tovani::sound {

// The local time of day (UTC+8 wall clock).
struct TimeOfDay {
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
};

// Reads the local time of day.  Called from the window thread and from the
// worker threads.
using Clock = std::function<TimeOfDay()>;
// Plays one WAVE clip by its name to its end; failures are silent.  Called
// from the worker threads only.
using ClipPlayer = std::function<void(const char* clip)>;

// One alarm clock, as the settings hold it.
struct Alarm {
  bool on = false;
  std::int32_t time = 0;     // minutes after midnight, 0..1439
  std::int16_t soundNo = 0;  // 0..4
  std::int16_t days = 0;     // 0 every day, 1 official working days, 2 the other days
  friend bool operator==(const Alarm&, const Alarm&) = default;
};
// Alarms A, B and C, in that order.
using Alarms = std::array<Alarm, 3>;

// The alarms from any record with the fields on, time and soundNo.
template <class Setting>
Alarms AlarmsOf(const std::array<Setting, 3>& settings) {
  Alarms alarms;
  for (std::size_t i = 0; i < alarms.size(); ++i) {
    alarms[i] = Alarm{settings[i].on, settings[i].time, settings[i].soundNo, settings[i].days};
  }
  return alarms;
}

// At least one alarm is armed (the alarm check then runs).
bool AnyAlarmArmed(const Alarms& alarms);
// The alarms that may ring on a day (an official working day or not): each
// alarm whose days do not take in the day is disarmed.
Alarms AlarmsOfDay(const Alarms& alarms, bool workingDay);

// When the hourly announcement speaks: never within the quiet time (minutes
// of the day, from included, to excluded, across midnight when to is
// earlier; equal: no quiet time), and with workingDaysOnly on official
// working days only.
struct HourlyRule {
  int quietFrom = 22 * 60, quietTo = 7 * 60;
  bool workingDaysOnly = false;
};
bool HourlySpeaks(const HourlyRule& rule, int hour, bool workingDay);
// The alarm is armed and set to the minute of the day of the time.
bool AlarmDue(const Alarm& alarm, const TimeOfDay& now);

// The clips that say a time after the chime: "SoundTime", the hour and
// "SoundHour", then, when includeMinutes and the minute is not 0, the minutes
// and "SoundMinute".  Empty for a time outside 00:00..23:59.
std::vector<const char*> TimeAnnouncement(int hour, int minute, bool includeMinutes);

// The speaking clock's sequence: the chime, then the time read after it
// (so that a chime across the full minute says the new one).
void SpeakTime(bool includeMinutes, const Clock& clock, const ClipPlayer& play);

// One pass of the alarm player: for A, B and C in that order, the alarm's
// sound to its end when, at that moment, the alarm is due and the speaking
// clock is not speaking.  A sound number outside 0..4 plays nothing.
void RingAlarms(const Alarms& alarms, const Clock& clock, const ClipPlayer& play,
                const std::function<bool()>& speaking);

}  // namespace tovani::sound
