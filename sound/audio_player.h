// Audio files through the Media Control Interface: the background music of
// the main window (alias AudioMCI) and the memorial editor's player (alias
// EAudioMCI).  Portable: the command sender and the short-path lookup come in
// from outside.  All of it runs on the window thread.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tovani::sound {

// Sends one MCI command string; returns the MCI result (0 for success) and
// sets the reply to the text of the reply buffer before its first zero byte.
using MciSender = std::function<std::uint32_t(const std::string& command, std::string& reply)>;
// The short (8.3) form of a full path; "" when it cannot be had.
using ShortPathLookup = std::function<std::string(const std::string& path)>;

inline constexpr const char* kBackgroundAlias = "AudioMCI";
inline constexpr const char* kEditorAlias = "EAudioMCI";

// The path names a file the player accepts: its extension (the text after the
// last "." of the file name) is MID, MP3, WAV or WMA in any letter case.
bool HasAudioExtension(std::string_view path);

// "Open " + path + " Alias " + alias + " Type MPEGVideo Parent " + parent +
// " Style Child".  The path goes in as it is; only a path that still holds a
// blank (a volume without short names) is put in double quotes.
std::string MciOpenCommand(std::string_view shortPath, std::string_view alias, std::uintptr_t parent);

// A numeric reply: the decimal text at its start (an optional sign, then
// digits), 0 when there is none; clamped to the 32-bit range.
std::int32_t MciNumber(std::string_view reply);

// The background music of the main window.
class BackgroundMusic {
 public:
  BackgroundMusic(MciSender send, ShortPathLookup shortPath);

  // Opens the file under AudioMCI, with the window (its handle as a number) as
  // the device's parent, and plays it once.  Music already open is closed
  // first.  A file that cannot be opened plays nothing.
  void PlayBackgroundMusic(const std::string& path, std::uintptr_t parent);
  // Closes AudioMCI if it is open.
  void StopBackgroundMusic();
  // After the main window has recomputed the displayed day: the music of the
  // previous day stops, and the day's pending audio file (the first record
  // with one; "" for none) plays unless the background music is switched off
  // (CloseFORMAudioPlayFlag).
  void RefreshBackgroundMusic(const std::string& pendingPath, bool switchedOff, std::uintptr_t parent);
  // The same for a window that redraws a day (by its day number) again and
  // again: the music of a day starts once, when the window comes to that day
  // (or the day's file changed), not at every redraw of the same day; switched
  // off, it stops.
  void ShowDay(std::int64_t day, const std::string& pendingPath, bool switchedOff, std::uintptr_t parent);

  bool open() const { return open_ != 0; }

 private:
  MciSender send_;
  ShortPathLookup shortPath_;
  std::int16_t open_ = 0;
  std::optional<std::pair<std::int64_t, std::string>> shownDay_;  // the day and file of the last ShowDay
};

// The memorial editor's player: one file, opened by "试听", played, paused and
// resumed, closed by "结束" or at its end.
class EditorPlayer {
 public:
  enum PlayState : std::int16_t { kStopped = 0, kPlaying = 1, kPaused = 2 };

  EditorPlayer(MciSender send, ShortPathLookup shortPath);

  // Button "试听"/"结束": with no file open, opens the path under EAudioMCI
  // (parent: the editor's window) and, when the file reports a length above
  // 0, plays it; a file of length 0 is closed at once.  With a file open,
  // ClosePlayer.  An empty path with no file open does nothing.
  void AuditionToggle(const std::string& path, std::uintptr_t parent);
  // Button "暂停"/"播放" (only while a file is open): pauses or resumes.
  void PauseToggle();
  // Tick of the 500 ms poll timer: reads the position and closes the player
  // when it has come within 10 ms of the length, or when the device, asked
  // while playing, says on two ticks running that it has stopped (the file
  // ended).
  void PollPlayer();
  // Closes the device and resets both buttons.
  void ClosePlayer();

  bool open() const { return open_ != 0; }
  PlayState playState() const { return playState_; }
  std::int32_t length() const { return length_; }
  std::int32_t position() const { return position_; }
  // The texts of the two buttons and whether the poll timer runs.
  const char* auditionLabel() const { return open() ? "结束" : "试听"; }
  const char* pauseLabel() const { return playState_ == kPlaying ? "暂停" : "播放"; }
  bool pollTimerRunning() const { return open() && playState_ != kStopped; }

 private:
  std::uint32_t Send(const std::string& command);
  std::int32_t Ask(const std::string& command);

  MciSender send_;
  ShortPathLookup shortPath_;
  std::int16_t open_ = 0;
  PlayState playState_ = kStopped;
  std::int32_t length_ = 0;
  std::int32_t position_ = 0;
  int stoppedPolls_ = 0;  // ticks in a row on which the playing device said it stopped
};

}  // namespace tovani::sound
