#include "sound/speaking_clock.h"

#include "sound/clips.h"

namespace tovani::sound {

bool AnyAlarmArmed(const Alarms& alarms) {
  for (const Alarm& a : alarms) {
    if (a.on) return true;
  }
  return false;
}

Alarms AlarmsOfDay(const Alarms& alarms, bool workingDay) {
  Alarms day = alarms;
  for (Alarm& a : day) {
    if ((a.days == 1 && !workingDay) || (a.days == 2 && workingDay)) a.on = false;
  }
  return day;
}

bool HourlySpeaks(const HourlyRule& rule, int hour, bool workingDay) {
  if (rule.workingDaysOnly && !workingDay) return false;
  const int minute = hour * 60;
  const bool quiet = rule.quietFrom <= rule.quietTo ? minute >= rule.quietFrom && minute < rule.quietTo
                                                    : minute >= rule.quietFrom || minute < rule.quietTo;
  return !quiet;
}

bool AlarmDue(const Alarm& alarm, const TimeOfDay& now) { return alarm.on && alarm.time == now.hour * 60 + now.minute; }

std::vector<const char*> TimeAnnouncement(int hour, int minute, bool includeMinutes) {
  std::vector<const char*> clips;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return clips;
  clips.push_back(kSoundTime);

  const int hourTens = hour / 10, hourUnits = hour % 10;
  if (hourTens > 0) clips.push_back(TensClip(hourTens));
  if (hourUnits == 2 && hourTens == 0) {
    clips.push_back(kSoundTwo);  // 两点
  } else if (hourUnits > 0 || hourTens == 0) {
    clips.push_back(DigitClip(hourUnits));  // 零点 for the midnight hour
  }
  clips.push_back(kSoundHour);

  if (includeMinutes && minute != 0) {
    const int minuteTens = minute / 10, minuteUnits = minute % 10;
    clips.push_back(minuteTens > 0 ? TensClip(minuteTens) : DigitClip(0));  // 零五分
    if (minuteUnits > 0) clips.push_back(DigitClip(minuteUnits));
    clips.push_back(kSoundMinute);
  }
  return clips;
}

void SpeakTime(bool includeMinutes, const Clock& clock, const ClipPlayer& play) {
  play(kSoundRing);
  const TimeOfDay now = clock();
  for (const char* clip : TimeAnnouncement(now.hour, now.minute, includeMinutes)) play(clip);
}

void RingAlarms(const Alarms& alarms, const Clock& clock, const ClipPlayer& play,
                const std::function<bool()>& speaking) {
  for (const Alarm& alarm : alarms) {
    if (!AlarmDue(alarm, clock()) || speaking()) continue;
    if (const char* clip = AlarmClip(alarm.soundNo)) play(clip);
  }
}

}  // namespace tovani::sound
