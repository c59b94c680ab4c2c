#include "sound/audio_player.h"

#include <limits>
#include <utility>

#include "framework/paths.h"

namespace tovani::sound {
namespace {

std::string Command(std::string_view verb, std::string_view alias, std::string_view rest = {}) {
  std::string c(verb);
  c += ' ';
  c += alias;
  c += rest;
  return c;
}

}  // namespace

bool HasAudioExtension(std::string_view path) { return HasExtension(path, {"MID", "MP3", "WAV", "WMA"}); }

std::string MciOpenCommand(std::string_view shortPath, std::string_view alias, std::uintptr_t parent) {
  std::string c = "Open ";
  if (shortPath.find(' ') != std::string_view::npos) {
    c += '"';
    c += shortPath;
    c += '"';
  } else {
    c += shortPath;
  }
  c += " Alias ";
  c += alias;
  c += " Type MPEGVideo Parent ";
  c += std::to_string(parent);
  c += " Style Child";
  return c;
}

std::int32_t MciNumber(std::string_view reply) {
  std::size_t i = 0;
  bool negative = false;
  if (i < reply.size() && (reply[i] == '-' || reply[i] == '+')) negative = reply[i++] == '-';
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  for (; i < reply.size() && reply[i] >= '0' && reply[i] <= '9'; ++i) {
    value = value * 10 + (reply[i] - '0');
    if (value > kLimit + 1) value = kLimit + 1;  // saturate; the sign decides below
  }
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(value > kLimit ? kLimit : value);
}

// ---------------------------------------------------------------- background

BackgroundMusic::BackgroundMusic(MciSender send, ShortPathLookup shortPath)
    : send_(std::move(send)), shortPath_(std::move(shortPath)) {}

void BackgroundMusic::PlayBackgroundMusic(const std::string& path, std::uintptr_t parent) {
  // An alias still open would make the open fail and stay open for good.
  StopBackgroundMusic();
  const std::string shortPath = shortPath_(path);
  if (shortPath.empty()) return;
  std::string reply;
  if (send_(MciOpenCommand(shortPath, kBackgroundAlias, parent), reply) != 0) {
    open_ = 0;
    return;
  }
  open_ = 1;
  send_(Command("Play", kBackgroundAlias), reply);
}

void BackgroundMusic::StopBackgroundMusic() {
  if (open_ != 1) return;
  std::string reply;
  send_(Command("Close", kBackgroundAlias), reply);
  open_ = 0;
}

void BackgroundMusic::RefreshBackgroundMusic(const std::string& pendingPath, bool switchedOff, std::uintptr_t parent) {
  StopBackgroundMusic();
  if (!switchedOff && !pendingPath.empty()) PlayBackgroundMusic(pendingPath, parent);
}

void BackgroundMusic::ShowDay(std::int64_t day, const std::string& pendingPath, bool switchedOff,
                              std::uintptr_t parent) {
  const bool sameDay = shownDay_ && shownDay_->first == day && shownDay_->second == pendingPath;
  shownDay_.emplace(day, pendingPath);
  if (switchedOff) {
    StopBackgroundMusic();
  } else if (!sameDay) {
    RefreshBackgroundMusic(pendingPath, false, parent);
  }
}

// ---------------------------------------------------------------- editor

EditorPlayer::EditorPlayer(MciSender send, ShortPathLookup shortPath)
    : send_(std::move(send)), shortPath_(std::move(shortPath)) {}

std::uint32_t EditorPlayer::Send(const std::string& command) {
  std::string reply;
  return send_(command, reply);
}

std::int32_t EditorPlayer::Ask(const std::string& command) {
  std::string reply;
  send_(command, reply);
  return MciNumber(reply);
}

void EditorPlayer::AuditionToggle(const std::string& path, std::uintptr_t parent) {
  if (open()) {
    ClosePlayer();
    return;
  }
  if (path.empty()) return;
  const std::string shortPath = shortPath_(path);
  if (shortPath.empty()) return;
  if (Send(MciOpenCommand(shortPath, kEditorAlias, parent)) != 0) return;
  open_ = 1;
  Send(Command("set", kEditorAlias, " time format ms"));
  length_ = Ask(Command("status", kEditorAlias, " length"));
  if (length_ > 0) {
    Send(Command("Play", kEditorAlias));
    playState_ = kPlaying;
  } else {
    Send(Command("Close", kEditorAlias));
    open_ = 0;
  }
}

void EditorPlayer::PauseToggle() {
  if (!open()) return;
  if (playState_ == kPlaying) {
    Send(Command("Pause", kEditorAlias));
    playState_ = kPaused;
  } else if (playState_ == kPaused) {
    Send(Command("Play", kEditorAlias));
    playState_ = kPlaying;
  }
  stoppedPolls_ = 0;
}

void EditorPlayer::PollPlayer() {
  // With no device open the alias would be taken for a file name.
  if (!open()) return;
  position_ = Ask(Command("status", kEditorAlias, " position"));
  if (static_cast<std::int64_t>(position_) >= static_cast<std::int64_t>(length_) - 10) {
    ClosePlayer();
    return;
  }
  // A device that went back to the start at the end of the file (Wine's
  // MPEGVideo does) never reports the length: it says it stopped. Just after
  // a play it may say so for a moment too, so it must say it twice running.
  if (playState_ != kPlaying) return;
  std::string mode;
  if (send_(Command("status", kEditorAlias, " mode"), mode) != 0 || mode != "stopped") {
    stoppedPolls_ = 0;
  } else if (++stoppedPolls_ >= 2) {
    ClosePlayer();
  }
}

void EditorPlayer::ClosePlayer() {
  Send(Command("Close", kEditorAlias));
  open_ = 0;
  playState_ = kStopped;
  stoppedPolls_ = 0;
}

}  // namespace tovani::sound
