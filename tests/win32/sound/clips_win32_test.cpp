// The WAVE resources: embedded in this test and in tovani.exe, played by
// PlaySoundW through the speaking clock's worker threads.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "framework/win32/wide.h"
#include "sound/clips.h"
#include "sound/win32/clock_sounds_win32.h"
#include "tests/sound/clip_expectations.h"
#include "tests/win32/program_runner.h"
#include "tests/win32/wait_until.h"

namespace tovani::sound {
namespace {

using test::ClipExpectation;
using test::kClipExpectations;

std::string ResourceBytes(HMODULE module, const std::wstring& name) {
  HRSRC found = FindResourceW(module, name.c_str(), L"WAVE");
  if (found == nullptr) return "";
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return "";
  return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

TEST(WaveResources, EveryClipIsEmbeddedInItsFormat) {
  HMODULE self = GetModuleHandleW(nullptr);
  for (const ClipExpectation& e : kClipExpectations) {
    SCOPED_TRACE(e.name);
    // Names are found in any letter case.
    const std::string bytes = ResourceBytes(self, Lower(Wide(e.name)));
    ASSERT_FALSE(bytes.empty());
    test::ExpectClipFormat(bytes, e);
  }
}

TEST(WaveResources, TheProgramCarriesTheSameClips) {
  HMODULE program = LoadLibraryExW(driver::NextToMe(L"tovani.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  HMODULE self = GetModuleHandleW(nullptr);
  std::size_t total = 0;
  for (const char* clip : AllClips()) {
    const std::string embedded = ResourceBytes(program, Wide(clip));
    EXPECT_FALSE(embedded.empty()) << clip;
    EXPECT_EQ(embedded, ResourceBytes(self, Wide(clip))) << clip;
    total += embedded.size();
  }
  EXPECT_LE(total, test::kMaxTotalClipBytes);
  FreeLibrary(program);
}

TEST(ResourcePlayback, PlaysEachKindOfClip) {
  HMODULE self = GetModuleHandleW(nullptr);
  // 8-bit PCM, speech in ADPCM, an alarm; any letter case.
  for (const wchar_t* name : {L"SoundRing", L"soundhour", L"SOUNDALARM0"}) {
    EXPECT_TRUE(PlaySoundW(name, self, SND_RESOURCE | SND_SYNC | SND_NODEFAULT)) << Narrow(name);
  }
  // A clip that is not there fails at once, without the default sound.
  EXPECT_FALSE(PlaySoundW(L"SoundNone", self, SND_RESOURCE | SND_SYNC | SND_NODEFAULT));
}

// Plays through PlaySoundW and remembers what was played and whether it played.
class RecordingPlayer {
 public:
  explicit RecordingPlayer(HMODULE module) : play_(ResourceClipPlayer(module)), module_(module) {}
  ClipPlayer player() {
    return [this](const char* clip) {
      const bool found = FindResourceW(module_, Wide(clip).c_str(), L"WAVE") != nullptr;
      play_(clip);
      std::lock_guard<std::mutex> lock(mutex_);
      played_.push_back(clip);
      threads_.push_back(GetCurrentThreadId());
      allFound_ = allFound_ && found;
    };
  }
  std::vector<std::string> played() {
    std::lock_guard<std::mutex> lock(mutex_);
    return played_;
  }
  std::vector<DWORD> threads() {
    std::lock_guard<std::mutex> lock(mutex_);
    return threads_;
  }
  bool allFound() {
    std::lock_guard<std::mutex> lock(mutex_);
    return allFound_;
  }

 private:
  ClipPlayer play_;
  HMODULE module_;
  std::mutex mutex_;
  std::vector<std::string> played_;
  std::vector<DWORD> threads_;
  bool allFound_ = true;
};

TEST(ClockSoundsWin32, TheHourIsSpokenOnAWorkerThread) {
  RecordingPlayer recorder(GetModuleHandleW(nullptr));
  ClockSounds sounds([] { return TimeOfDay{14, 0, 0}; }, recorder.player(), Win32ThreadStarter());
  sounds.HourlyCheck();
  EXPECT_EQ(sounds.speakingState(), kPlaying);
  sounds.SpeakTimeNow();  // while speaking: nothing
  ASSERT_TRUE(testing_win32::WaitUntil([&] { return sounds.speakingState() == kFinished; }, 30000));
  EXPECT_EQ(recorder.played(), (std::vector<std::string>{"SoundRing", "SoundTime", "Sound10", "Sound4", "SoundHour"}));
  EXPECT_TRUE(recorder.allFound());
  for (DWORD id : recorder.threads()) EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_TRUE(sounds.holdsSpeakingThread());
}

TEST(ClockSoundsWin32, AnAlarmRingsAndItsThreadIsReleasedAfterItsMinute) {
  RecordingPlayer recorder(GetModuleHandleW(nullptr));
  std::atomic<int> minute{30};
  ClockSounds sounds([&] { return TimeOfDay{7, minute.load(), 0}; }, recorder.player(), Win32ThreadStarter());
  const Alarms alarms = {{{1, 450, 3}, {0, 450, 1}, {}}};
  sounds.AlarmCheck(alarms);
  ASSERT_TRUE(testing_win32::WaitUntil([&] { return sounds.alarmState() == kFinished; }, 30000));
  EXPECT_EQ(recorder.played(), std::vector<std::string>{"SoundAlarm3"});
  EXPECT_TRUE(sounds.holdsAlarmThread());
  minute = 31;
  sounds.AlarmCheck(alarms);
  EXPECT_FALSE(sounds.holdsAlarmThread());
}

}  // namespace
}  // namespace tovani::sound
