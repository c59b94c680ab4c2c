#include "sound/clips.h"

namespace tovani::sound {
namespace {

constexpr const char* kDigits[] = {"Sound0", "Sound1", "Sound2", "Sound3", "Sound4",
                                   "Sound5", "Sound6", "Sound7", "Sound8", "Sound9"};
constexpr const char* kTens[] = {"Sound10", "Sound20", "Sound30", "Sound40", "Sound50"};
constexpr const char* kAlarmClips[kAlarmSoundCount] = {"SoundAlarm0", "SoundAlarm1", "SoundAlarm2", "SoundAlarm3",
                                                       "SoundAlarm4"};
constexpr const char* kAlarmNames[kAlarmSoundCount] = {"空袭警报", "锣鼓声", "鸡叫声", "号角声", "电话铃"};

}  // namespace

const char* DigitClip(int digit) { return digit >= 0 && digit <= 9 ? kDigits[digit] : nullptr; }

const char* TensClip(int tens) { return tens >= 1 && tens <= 5 ? kTens[tens - 1] : nullptr; }

const char* AlarmClip(int soundNo) {
  return soundNo >= 0 && soundNo < kAlarmSoundCount ? kAlarmClips[soundNo] : nullptr;
}

const char* AlarmSoundName(int soundNo) {
  return soundNo >= 0 && soundNo < kAlarmSoundCount ? kAlarmNames[soundNo] : "";
}

const std::array<const char*, 25>& AllClips() {
  static const std::array<const char*, 25> clips = {
      kSoundRing, kSoundTime, kDigits[0], kDigits[1], kDigits[2], kDigits[3], kDigits[4],
      kDigits[5], kDigits[6], kDigits[7], kDigits[8], kDigits[9], kTens[0],   kTens[1],
      kTens[2],   kTens[3],   kTens[4],   kSoundTwo,  kSoundHour, kSoundMinute, kAlarmClips[0],
      kAlarmClips[1], kAlarmClips[2], kAlarmClips[3], kAlarmClips[4]};
  return clips;
}

}  // namespace tovani::sound
