#include "sound/clock_sounds.h"

#include <utility>

namespace tovani::sound {

ClockSounds::ClockSounds(Clock clock, ClipPlayer play, const ThreadStarter& threads)
    : clock_(std::move(clock)), play_(std::move(play)), speaking_(threads), alarm_(threads) {}

void ClockSounds::HourlyCheck(const HourlyRule& rule, bool workingDay) {
  const TimeOfDay now = clock_();
  if (now.minute == 0 && now.second == 0 && HourlySpeaks(rule, now.hour, workingDay)) StartSpeaking(false);
}

void ClockSounds::AlarmCheck(const Alarms& alarms) {
  const TimeOfDay now = clock_();
  for (const Alarm& alarm : alarms) {
    if (AlarmDue(alarm, now)) {
      StartAlarm(alarms);
      return;
    }
  }
  alarm_.ReleaseThread();
}

void ClockSounds::StartSpeaking(bool includeMinutes) {
  // The worker keeps its own copies: it may outlive this object when the
  // program ends during an announcement.
  speaking_.Start([includeMinutes, clock = clock_, play = play_] { SpeakTime(includeMinutes, clock, play); });
}

void ClockSounds::StartAlarm(const Alarms& alarms) {
  alarm_.Start([alarms, clock = clock_, play = play_, speaking = speaking_.PlayingProbe()] {
    RingAlarms(alarms, clock, play, speaking);
  });
}

}  // namespace tovani::sound
