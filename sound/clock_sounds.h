// The speaking player and the alarm player of the program, and what the main
// window's timers, its menu command "语音报时(&V)" and the hot key Ctrl+Alt+V
// do with them.  Everything here is called on the window thread; the
// sequences play on worker threads.
#pragma once

#include <cstdint>

#include "sound/sound_player.h"
#include "sound/speaking_clock.h"

namespace tovani::sound {

// Period of the hourly check and of the alarm check, in milliseconds.
inline constexpr unsigned kClockCheckPeriodMs = 500;

class ClockSounds {
 public:
  // The clock and the clip player are copied into every worker.
  ClockSounds(Clock clock, ClipPlayer play, const ThreadStarter& threads);

  // "语音报时(&V)" and Ctrl+Alt+V: says the time with its minutes, unless the
  // clock is already speaking.
  void SpeakTimeNow() { StartSpeaking(true); }
  // Tick of the hourly check (while the hourly announcement is on): at
  // mm:ss = 00:00 says the full hour when the rule lets it (workingDay: today
  // is an official working day).  A missed second is not caught up.
  void HourlyCheck(const HourlyRule& rule = {0, 0, false}, bool workingDay = true);
  // Tick of the alarm check (while an alarm is armed): starts a pass of the
  // alarm player when an alarm is due, so that a due alarm rings pass after
  // pass through its whole minute; otherwise releases the finished player's
  // thread.
  void AlarmCheck(const Alarms& alarms);

  // The start rule of each player (nothing while it plays).
  void StartSpeaking(bool includeMinutes);
  void StartAlarm(const Alarms& alarms);

  PlayerState speakingState() const { return speaking_.state(); }
  PlayerState alarmState() const { return alarm_.state(); }
  bool holdsSpeakingThread() const { return speaking_.holdsThread(); }
  bool holdsAlarmThread() const { return alarm_.holdsThread(); }

 private:
  Clock clock_;
  ClipPlayer play_;
  SoundPlayer speaking_;
  SoundPlayer alarm_;
};

}  // namespace tovani::sound
