// The MCI players in the Win32 program: commands go to mciSendStringW, paths
// are shortened by GetShortPathNameW.  Window thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "sound/audio_player.h"

namespace tovani::sound {

// Reply buffer of every MCI command, in characters.
inline constexpr int kMciReplySize = 1024;
// Buffer of the short path, in characters.
inline constexpr int kShortPathSize = 1024;

// mciSendStringW of the command (program text), with no callback window.
std::uint32_t SendMciCommand(const std::string& command, std::string& reply);
// The 8.3 form of a path (program text); "" when the call fails.
std::string ShortPathOf(const std::string& path);

// A window handle as the number an MCI "Parent" takes.
inline std::uintptr_t MciParent(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

// The main windows' background music (one for the process).
BackgroundMusic& ProgramBackgroundMusic();

// The memorial editor's player, bound to its two buttons and its poll timer.
// The editor calls the commands and, on WM_TIMER with kPollTimerId, Poll.
class EditorPlayerControls {
 public:
  static constexpr UINT_PTR kPollTimerId = 0x5311;

  // The window owns the timer; the buttons show "试听"/"结束" and "暂停"/"播放".
  EditorPlayerControls(HWND window, HWND auditionButton, HWND pauseButton);

  void AuditionToggle(const std::string& path, HWND parent);
  void PauseToggle();
  void Poll();
  // Closes the player when a file is open (entry or file changed, confirm,
  // cancel, the editor closing).
  void CloseIfOpen();

  const EditorPlayer& player() const { return player_; }

 private:
  // Buttons and timer follow the player's state.
  void Show();

  HWND window_, auditionButton_, pauseButton_;
  EditorPlayer player_;
  bool timerRunning_ = false;
};

}  // namespace tovani::sound
