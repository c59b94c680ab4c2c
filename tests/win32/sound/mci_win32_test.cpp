// The MCI players on a real WAVE file in a folder whose name has blanks.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

#include "framework/win32/wide.h"
#include "sound/win32/audio_player_win32.h"
#include "tests/win32/wait_until.h"

namespace tovani::sound {
namespace {

// A mono 16-bit PCM 8 kHz sine tone of the given length.
void WriteTone(const std::wstring& path, int milliseconds) {
  const std::uint32_t rate = 8000, frames = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
  std::string b;
  auto put = [&b](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  b += "RIFF";
  put(36 + frames * 2, 4);
  b += "WAVEfmt ";
  put(16, 4);
  put(1, 2);         // PCM
  put(1, 2);         // mono
  put(rate, 4);
  put(rate * 2, 4);  // bytes per second
  put(2, 2);         // block
  put(16, 2);        // bits
  b += "data";
  put(frames * 2, 4);
  for (std::uint32_t i = 0; i < frames; ++i) {
    const double s = std::sin(2 * 3.14159265358979 * 440 * i / rate) * 8000;
    put(static_cast<std::uint16_t>(static_cast<std::int16_t>(s)), 2);
  }
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, b.data(), static_cast<DWORD>(b.size()), &written, nullptr);
  CloseHandle(file);
  ASSERT_EQ(written, b.size());
}

std::string Mode(const char* alias) {
  std::string reply;
  if (SendMciCommand(std::string("status ") + alias + " mode", reply) != 0) return "";
  return reply;
}

// The device has reached a mode: a play or pause takes Wine's a moment, and
// meanwhile it may say "stopped".
::testing::AssertionResult InMode(const char* alias, const std::string& mode) {
  if (testing_win32::WaitUntil([&] { return Mode(alias) == mode; }, 2000)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << alias << " is " << Mode(alias) << ", not " << mode;
}

class MciTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"Tovani Sound Test " + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
    shortTone_ = folder_ + L"\\short tone file.wav";
    longTone_ = folder_ + L"\\long tone file.wav";
    WriteTone(shortTone_, 1000);
    WriteTone(longTone_, 8000);
    parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    std::string reply;
    SendMciCommand("Close EAudioMCI", reply);
    SendMciCommand("Close AudioMCI", reply);
    DestroyWindow(parent_);
    DeleteFileW(shortTone_.c_str());
    DeleteFileW(longTone_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  std::wstring folder_, shortTone_, longTone_;
  HWND parent_ = nullptr;
};

TEST_F(MciTest, ShortPathsHaveNoBlanks) {
  const std::string shortPath = ShortPathOf(Narrow(shortTone_));
  ASSERT_FALSE(shortPath.empty());
  EXPECT_EQ(shortPath.find(' '), std::string::npos) << shortPath;
  EXPECT_NE(GetFileAttributesW(Wide(shortPath).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ShortPathOf(Narrow(folder_ + L"\\no such file.wav")), "");
}

TEST_F(MciTest, OpensQueriesAndClosesAFile) {
  const std::string shortPath = ShortPathOf(Narrow(shortTone_));
  std::string reply;
  ASSERT_EQ(SendMciCommand(MciOpenCommand(shortPath, "EAudioMCI", MciParent(parent_)), reply), 0u);
  EXPECT_EQ(SendMciCommand("set EAudioMCI time format ms", reply), 0u);
  ASSERT_EQ(SendMciCommand("status EAudioMCI length", reply), 0u);
  EXPECT_NEAR(MciNumber(reply), 1000, 20) << reply;
  EXPECT_EQ(SendMciCommand("Close EAudioMCI", reply), 0u);
  EXPECT_NE(SendMciCommand("status EAudioMCI length", reply), 0u);  // the alias is gone
}

// (The end of a file is left to the recorded-sender tests: Wine's device
// reports position 0 once a file has ended, and cannot seek.)
TEST_F(MciTest, EditorPlayerPlaysPausesResumesAndEnds) {
  EditorPlayer player(SendMciCommand, ShortPathOf);
  player.AuditionToggle(Narrow(longTone_), MciParent(parent_));
  ASSERT_TRUE(player.open());
  EXPECT_NEAR(player.length(), 8000, 20);
  EXPECT_EQ(player.playState(), EditorPlayer::kPlaying);
  EXPECT_TRUE(InMode("EAudioMCI", "playing"));
  // The poll timer's ticks see the position move, and leave the player open.
  ASSERT_TRUE(testing_win32::WaitUntil(
      [&] {
        player.PollPlayer();
        return player.position() > 0;
      },
      10000));
  EXPECT_LT(player.position(), player.length() - 10);
  EXPECT_TRUE(player.open());
  player.PauseToggle();
  EXPECT_TRUE(InMode("EAudioMCI", "paused"));
  EXPECT_STREQ(player.pauseLabel(), "播放");
  player.PauseToggle();
  EXPECT_TRUE(InMode("EAudioMCI", "playing"));
  EXPECT_STREQ(player.pauseLabel(), "暂停");
  // "结束" closes the device.
  player.AuditionToggle(Narrow(longTone_), MciParent(parent_));
  EXPECT_FALSE(player.open());
  EXPECT_STREQ(player.auditionLabel(), "试听");
  EXPECT_STREQ(player.pauseLabel(), "播放");
  EXPECT_EQ(Mode("EAudioMCI"), "");
}

TEST_F(MciTest, BackgroundMusicAndTheEditorDoNotDisturbEachOther) {
  BackgroundMusic music(SendMciCommand, ShortPathOf);
  EditorPlayer player(SendMciCommand, ShortPathOf);
  music.PlayBackgroundMusic(Narrow(longTone_), MciParent(parent_));
  ASSERT_TRUE(music.open());
  player.AuditionToggle(Narrow(longTone_), MciParent(parent_));
  ASSERT_TRUE(player.open());
  EXPECT_EQ(Mode("AudioMCI"), "playing");
  player.PauseToggle();
  EXPECT_EQ(Mode("EAudioMCI"), "paused");
  EXPECT_EQ(Mode("AudioMCI"), "playing");
  player.ClosePlayer();
  EXPECT_EQ(Mode("AudioMCI"), "playing");
  music.StopBackgroundMusic();
  EXPECT_FALSE(music.open());
  EXPECT_EQ(Mode("AudioMCI"), "");
}

TEST_F(MciTest, AFileThatIsNotAudioPlaysNothing) {
  const std::wstring bogus = folder_ + L"\\not audio.wav";
  HANDLE file = CreateFileW(bogus.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "plain text, no sound", 20, &written, nullptr);
  CloseHandle(file);
  BackgroundMusic music(SendMciCommand, ShortPathOf);
  music.PlayBackgroundMusic(Narrow(bogus), MciParent(parent_));
  EXPECT_FALSE(music.open());
  EXPECT_EQ(Mode("AudioMCI"), "");
  DeleteFileW(bogus.c_str());
}

}  // namespace
}  // namespace tovani::sound
