// The program's WAVE clips: the names of the speaking clock's spoken units
// and of the five alarm sounds.  The clips are resources of the program
// (resources/sounds.rc); a name is looked up without regard to letter case.
#pragma once

#include <array>

namespace tovani::sound {

// The chime that opens every announcement and the spoken lead-in phrase.
inline constexpr const char* kSoundRing = "SoundRing";
inline constexpr const char* kSoundTime = "SoundTime";
// The word for o'clock after the hour, for minutes after the minutes, and the
// colloquial two (两) of the hour 2 spoken alone.
inline constexpr const char* kSoundHour = "SoundHour";
inline constexpr const char* kSoundMinute = "SoundMinute";
inline constexpr const char* kSoundTwo = "SoundTwo";

// "Sound0" .. "Sound9" for a digit 0..9; nullptr outside.
const char* DigitClip(int digit);
// "Sound10" .. "Sound50" for tens 1..5; nullptr outside.
const char* TensClip(int tens);

// The alarm sounds, numbered 0..4 in the order of the alarm editor's list.
inline constexpr int kAlarmSoundCount = 5;
// "SoundAlarm0" .. "SoundAlarm4"; nullptr for a number outside 0..4.
const char* AlarmClip(int soundNo);
// The sound's name in the alarm editor's list ("空袭警报", "锣鼓声", "鸡叫声",
// "号角声", "电话铃"); "" for a number outside 0..4.
const char* AlarmSoundName(int soundNo);

// Every clip name, 25 in all.
const std::array<const char*, 25>& AllClips();

}  // namespace tovani::sound
