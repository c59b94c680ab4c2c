#include "sound/win32/audio_player_win32.h"

#include <mmsystem.h>

#include <vector>

#include "framework/win32/shown.h"
#include "framework/win32/wide.h"

namespace tovani::sound {

std::uint32_t SendMciCommand(const std::string& command, std::string& reply) {
  std::vector<wchar_t> buffer(kMciReplySize, L'\0');
  const MCIERROR result = mciSendStringW(Wide(command).c_str(), buffer.data(), kMciReplySize, nullptr);
  buffer.back() = L'\0';  // a reply that fills the buffer ends at its last character
  reply = Narrow(buffer.data());
  return result;
}

std::string ShortPathOf(const std::string& path) {
  std::vector<wchar_t> buffer(kShortPathSize, L'\0');
  const DWORD n = GetShortPathNameW(Wide(path).c_str(), buffer.data(), kShortPathSize);
  // 0 is a failure; a value of the buffer's size or more is the size needed.
  if (n == 0 || n >= static_cast<DWORD>(kShortPathSize)) return "";
  return Narrow(std::wstring_view(buffer.data(), n));
}

BackgroundMusic& ProgramBackgroundMusic() {
  static BackgroundMusic music(SendMciCommand, ShortPathOf);
  return music;
}

EditorPlayerControls::EditorPlayerControls(HWND window, HWND auditionButton, HWND pauseButton)
    : window_(window), auditionButton_(auditionButton), pauseButton_(pauseButton),
      player_(SendMciCommand, ShortPathOf) {}

void EditorPlayerControls::AuditionToggle(const std::string& path, HWND parent) {
  player_.AuditionToggle(path, MciParent(parent));
  Show();
}

void EditorPlayerControls::PauseToggle() {
  player_.PauseToggle();
  Show();
}

void EditorPlayerControls::Poll() {
  player_.PollPlayer();
  Show();
}

void EditorPlayerControls::CloseIfOpen() {
  if (player_.open()) player_.ClosePlayer();
  Show();
}

void EditorPlayerControls::Show() {
  SetWindowTextW(auditionButton_, win32::Shown(player_.auditionLabel()).c_str());
  SetWindowTextW(pauseButton_, win32::Shown(player_.pauseLabel()).c_str());
  const bool wanted = player_.pollTimerRunning();
  if (wanted && !timerRunning_) SetTimer(window_, kPollTimerId, 500, nullptr);
  if (!wanted && timerRunning_) KillTimer(window_, kPollTimerId);
  timerRunning_ = wanted;
}

}  // namespace tovani::sound
