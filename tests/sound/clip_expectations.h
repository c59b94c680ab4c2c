// What each of the 25 WAVE clips must be: its resource name, file, encoding
// and length (test helper, shared by the file and the resource tests).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "tests/sound/wave_format.h"

namespace tovani::sound::test {

struct ClipExpectation {
  const char* name;
  const char* file;  // under resources/sounds/
  std::uint16_t formatTag;
  std::uint32_t sampleRate;
  std::uint16_t bitsPerSample;
  double minSeconds, maxSeconds;
};

// Speech: mono 16 kHz Microsoft ADPCM, 0.3 to 0.75 s; the lead-in 1.48 s.
// The chime: 8-bit PCM 22050 Hz, 1.53 s.  The alarms: at their lengths.
inline constexpr double kTolerance = 0.05;
#define TOVANI_SPEECH(name, file) {name, file, kWaveMsAdpcm, 16000, 4, 0.30, 0.75}
#define TOVANI_ALARM(name, file, s) {name, file, kWaveMsAdpcm, 16000, 4, (s) - kTolerance, (s) + kTolerance}
inline constexpr ClipExpectation kClipExpectations[] = {
    {"SoundRing", "ring.wav", kWavePcm, 22050, 8, 1.53 - 0.02, 1.53 + 0.02},
    {"SoundTime", "time.wav", kWaveMsAdpcm, 16000, 4, 1.48 - kTolerance, 1.48 + kTolerance},
    TOVANI_SPEECH("Sound0", "0.wav"),
    TOVANI_SPEECH("Sound1", "1.wav"),
    TOVANI_SPEECH("Sound2", "2.wav"),
    TOVANI_SPEECH("Sound3", "3.wav"),
    TOVANI_SPEECH("Sound4", "4.wav"),
    TOVANI_SPEECH("Sound5", "5.wav"),
    TOVANI_SPEECH("Sound6", "6.wav"),
    TOVANI_SPEECH("Sound7", "7.wav"),
    TOVANI_SPEECH("Sound8", "8.wav"),
    TOVANI_SPEECH("Sound9", "9.wav"),
    TOVANI_SPEECH("Sound10", "10.wav"),
    TOVANI_SPEECH("Sound20", "20.wav"),
    TOVANI_SPEECH("Sound30", "30.wav"),
    TOVANI_SPEECH("Sound40", "40.wav"),
    TOVANI_SPEECH("Sound50", "50.wav"),
    TOVANI_SPEECH("SoundTwo", "two.wav"),
    TOVANI_SPEECH("SoundHour", "hour.wav"),
    TOVANI_SPEECH("SoundMinute", "minute.wav"),
    TOVANI_ALARM("SoundAlarm0", "alarm0.wav", 0.91),
    TOVANI_ALARM("SoundAlarm1", "alarm1.wav", 5.83),
    TOVANI_ALARM("SoundAlarm2", "alarm2.wav", 2.21),
    TOVANI_ALARM("SoundAlarm3", "alarm3.wav", 1.76),
    TOVANI_ALARM("SoundAlarm4", "alarm4.wav", 3.39),
};
#undef TOVANI_SPEECH
#undef TOVANI_ALARM

// The whole set stays small enough to embed in the program.
inline constexpr std::size_t kMaxTotalClipBytes = 300 * 1024;

// The clip's bytes are a WAVE clip of the expected encoding and length.
inline void ExpectClipFormat(std::string_view bytes, const ClipExpectation& e) {
  const auto f = ReadWaveFormat(bytes);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->formatTag, e.formatTag);
  EXPECT_EQ(f->channels, 1);
  EXPECT_EQ(f->sampleRate, e.sampleRate);
  EXPECT_EQ(f->bitsPerSample, e.bitsPerSample);
  EXPECT_GE(f->seconds(), e.minSeconds);
  EXPECT_LE(f->seconds(), e.maxSeconds);
}

}  // namespace tovani::sound::test
