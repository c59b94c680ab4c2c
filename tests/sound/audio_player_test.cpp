// The MCI players, through a sender that records the command strings and
// answers from a script.
#include "sound/audio_player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tovani::sound {
namespace {

using Commands = std::vector<std::string>;

class FakeMci {
 public:
  struct Answer {
    std::uint32_t result;
    std::string reply;
  };

  MciSender sender() {
    return [this](const std::string& command, std::string& reply) -> std::uint32_t {
      sent.push_back(command);
      reply.clear();
      // Scripted answers by the command's start; otherwise success, no reply.
      for (auto& [prefix, answers] : script) {
        if (command.rfind(prefix, 0) == 0 && !answers.empty()) {
          const Answer a = answers.front();
          if (answers.size() > 1) answers.pop_front();
          reply = a.reply;
          return a.result;
        }
      }
      return 0;
    };
  }
  void Script(const std::string& prefix, std::deque<Answer> answers) { script[prefix] = std::move(answers); }
  Commands Take() { return std::exchange(sent, {}); }

  Commands sent;
  std::map<std::string, std::deque<Answer>> script;
};

// Short names of a volume that has them; "" for an unknown path.
std::string ShortPath(const std::string& path) {
  static const std::map<std::string, std::string> known = {
      {"C:\\My Music\\song one.mp3", "C:\\MYMUSI~1\\SONGON~1.MP3"},
      {"C:\\音乐\\春节序曲.mid", "C:\\音乐\\春节序曲.mid"},
      {"D:\\Long Folder\\tune.wav", "D:\\Long Folder\\tune.wav"},  // a volume without short names
      {"C:\\a.wma", "C:\\a.wma"},
  };
  const auto it = known.find(path);
  return it == known.end() ? "" : it->second;
}

TEST(MciCommands, OpenCommandTakesTheShortPathAndTheParentInDecimal) {
  EXPECT_EQ(MciOpenCommand("C:\\MYMUSI~1\\SONGON~1.MP3", "AudioMCI", 1234),
            "Open C:\\MYMUSI~1\\SONGON~1.MP3 Alias AudioMCI Type MPEGVideo Parent 1234 Style Child");
  EXPECT_EQ(MciOpenCommand("C:\\a.wma", "EAudioMCI", 0x7FFFFFFF),
            "Open C:\\a.wma Alias EAudioMCI Type MPEGVideo Parent 2147483647 Style Child");
  EXPECT_EQ(MciOpenCommand("D:\\Long Folder\\tune.wav", "AudioMCI", 66),
            "Open \"D:\\Long Folder\\tune.wav\" Alias AudioMCI Type MPEGVideo Parent 66 Style Child");
}

TEST(MciCommands, NumericReplies) {
  struct Case {
    std::string reply;
    std::int32_t value;
  };
  const Case cases[] = {
      {"1000", 1000}, {"0", 0}, {"", 0}, {"abc", 0}, {"12 ms", 12}, {"-5", -5}, {"+7", 7}, {"007", 7},
      {"2147483647", std::numeric_limits<std::int32_t>::max()},
      {"99999999999999999999", std::numeric_limits<std::int32_t>::max()},
      {"-99999999999999999999", std::numeric_limits<std::int32_t>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(MciNumber(c.reply), c.value) << c.reply;
}

TEST(MciCommands, AcceptedAudioFiles) {
  struct Case {
    const char* path;
    bool accepted;
  };
  const Case cases[] = {
      {"C:\\a.mp3", true},        {"C:\\a.MID", true},         {"C:\\a.Wav", true},   {"C:\\x.y\\b.wma", true},
      {"C:\\a.mp4", false},       {"C:\\a", false},            {"C:\\a.", false},     {"C:\\a.MP", false},
      {"C:\\a.MID.MP3", true},    {"C:\\a.MIDMP3", false},     {"C:\\a.ID", false},   {"C:\\x.mp3\\b", false},
      {"C:\\音乐\\歌.mp3", true}, {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(HasAudioExtension(c.path), c.accepted) << c.path;
}

TEST(BackgroundMusic, OpensPlaysAndCloses) {
  FakeMci mci;
  BackgroundMusic music(mci.sender(), ShortPath);
  music.PlayBackgroundMusic("C:\\My Music\\song one.mp3", 4242);
  EXPECT_EQ(mci.Take(), (Commands{"Open C:\\MYMUSI~1\\SONGON~1.MP3 Alias AudioMCI Type MPEGVideo Parent 4242 Style Child",
                                  "Play AudioMCI"}));
  EXPECT_TRUE(music.open());
  music.StopBackgroundMusic();
  EXPECT_EQ(mci.Take(), Commands{"Close AudioMCI"});
  EXPECT_FALSE(music.open());
  music.StopBackgroundMusic();  // nothing open: nothing sent
  EXPECT_TRUE(mci.Take().empty());
}

TEST(BackgroundMusic, AnotherDaysFileReplacesTheMusic) {
  FakeMci mci;
  BackgroundMusic music(mci.sender(), ShortPath);
  music.PlayBackgroundMusic("C:\\a.wma", 1);
  mci.Take();
  music.PlayBackgroundMusic("C:\\音乐\\春节序曲.mid", 2);
  EXPECT_EQ(mci.Take(), (Commands{"Close AudioMCI", "Open C:\\音乐\\春节序曲.mid Alias AudioMCI Type MPEGVideo Parent 2 Style Child",
                                  "Play AudioMCI"}));
  EXPECT_TRUE(music.open());
}

TEST(BackgroundMusic, FailuresLeaveItClosedAndSilent) {
  FakeMci mci;
  BackgroundMusic music(mci.sender(), ShortPath);
  // No short path (the file is gone): nothing is sent.
  music.PlayBackgroundMusic("C:\\gone.mp3", 1);
  EXPECT_TRUE(mci.Take().empty());
  EXPECT_FALSE(music.open());
  // The device refuses the file: no play, and nothing to close later.
  mci.Script("Open", {{277, ""}});
  music.PlayBackgroundMusic("C:\\a.wma", 1);
  EXPECT_EQ(mci.Take(), Commands{"Open C:\\a.wma Alias AudioMCI Type MPEGVideo Parent 1 Style Child"});
  EXPECT_FALSE(music.open());
  music.StopBackgroundMusic();
  EXPECT_TRUE(mci.Take().empty());
  // A failing play still leaves the device open, to be closed.
  mci.script.clear();
  mci.Script("Play", {{263, ""}});
  music.PlayBackgroundMusic("C:\\a.wma", 1);
  EXPECT_TRUE(music.open());
  music.StopBackgroundMusic();
  EXPECT_EQ(mci.Take().back(), "Close AudioMCI");
}

// The music of a day starts when the window comes to that day, not at every
// redraw of it (a tray click, an option, the chosen cell clicked again).
TEST(BackgroundMusic, FollowsTheDisplayedDay) {
  const std::string open1 = "Open C:\\a.wma Alias AudioMCI Type MPEGVideo Parent 5 Style Child";
  const std::string open2 = "Open C:\\MYMUSI~1\\SONGON~1.MP3 Alias AudioMCI Type MPEGVideo Parent 5 Style Child";
  struct Step {
    const char* what;
    std::int64_t day;
    std::string pending;
    bool switchedOff;
    Commands sent;
    bool open;
  };
  // One walk through the days, each step after the one before.
  const Step steps[] = {
      {"a day with audio", 10, "C:\\a.wma", false, {open1, "Play AudioMCI"}, true},
      {"the same day redrawn", 10, "C:\\a.wma", false, {}, true},
      {"another day with audio", 11, "C:\\My Music\\song one.mp3", false, {"Close AudioMCI", open2, "Play AudioMCI"}, true},
      {"back to the first day", 10, "C:\\a.wma", false, {"Close AudioMCI", open1, "Play AudioMCI"}, true},
      {"the day's file changed", 10, "C:\\My Music\\song one.mp3", false, {"Close AudioMCI", open2, "Play AudioMCI"}, true},
      {"a day without audio", 12, "", false, {"Close AudioMCI"}, false},
      {"another day without", 13, "", false, {}, false},
      {"music switched off", 10, "C:\\a.wma", true, {}, false},
      {"switched on again on the same day", 10, "C:\\a.wma", false, {}, false},
      {"the next day", 11, "C:\\a.wma", false, {open1, "Play AudioMCI"}, true},
      {"switched off while playing", 11, "C:\\a.wma", true, {"Close AudioMCI"}, false},
  };
  FakeMci mci;
  BackgroundMusic music(mci.sender(), ShortPath);
  for (const Step& s : steps) {
    music.ShowDay(s.day, s.pending, s.switchedOff, 5);
    EXPECT_EQ(mci.Take(), s.sent) << s.what;
    EXPECT_EQ(music.open(), s.open) << s.what;
  }
}

struct Shown {
  bool open;
  EditorPlayer::PlayState state;
  std::string audition, pause;
  bool timer;
};

Shown Show(const EditorPlayer& p) {
  return {p.open(), p.playState(), p.auditionLabel(), p.pauseLabel(), p.pollTimerRunning()};
}

void ExpectShown(const EditorPlayer& p, const Shown& want, const char* when) {
  const Shown s = Show(p);
  EXPECT_EQ(s.open, want.open) << when;
  EXPECT_EQ(s.state, want.state) << when;
  EXPECT_EQ(s.audition, want.audition) << when;
  EXPECT_EQ(s.pause, want.pause) << when;
  EXPECT_EQ(s.timer, want.timer) << when;
}

const Shown kClosed = {false, EditorPlayer::kStopped, "试听", "播放", false};
const Shown kPlaying = {true, EditorPlayer::kPlaying, "结束", "暂停", true};
const Shown kPaused = {true, EditorPlayer::kPaused, "结束", "播放", true};

TEST(EditorPlayer, AuditionPauseResumeAndTheEnd) {
  FakeMci mci;
  mci.Script("status EAudioMCI length", {{0, "3000"}});
  mci.Script("status EAudioMCI position", {{0, "1000"}, {0, "1000"}, {0, "2989"}, {0, "2990"}});
  EditorPlayer player(mci.sender(), ShortPath);
  ExpectShown(player, kClosed, "at first");

  player.AuditionToggle("C:\\My Music\\song one.mp3", 77);
  EXPECT_EQ(mci.Take(), (Commands{"Open C:\\MYMUSI~1\\SONGON~1.MP3 Alias EAudioMCI Type MPEGVideo Parent 77 Style Child",
                                  "set EAudioMCI time format ms", "status EAudioMCI length", "Play EAudioMCI"}));
  EXPECT_EQ(player.length(), 3000);
  ExpectShown(player, kPlaying, "after 试听");

  player.PollPlayer();
  EXPECT_EQ(mci.Take(), (Commands{"status EAudioMCI position", "status EAudioMCI mode"}));
  EXPECT_EQ(player.position(), 1000);

  player.PauseToggle();
  EXPECT_EQ(mci.Take(), Commands{"Pause EAudioMCI"});
  ExpectShown(player, kPaused, "after 暂停");
  player.PollPlayer();  // paused: the position stays, the player stays open
  ExpectShown(player, kPaused, "polled while paused");
  mci.Take();

  player.PauseToggle();
  EXPECT_EQ(mci.Take(), Commands{"Play EAudioMCI"});
  ExpectShown(player, kPlaying, "after 播放");

  player.PollPlayer();  // 11 ms short of the end: still playing
  ExpectShown(player, kPlaying, "at length - 11");
  mci.Take();
  player.PollPlayer();  // within 10 ms of the end: closed, both buttons reset
  EXPECT_EQ(mci.Take(), (Commands{"status EAudioMCI position", "Close EAudioMCI"}));
  EXPECT_EQ(player.position(), 2990);
  ExpectShown(player, kClosed, "at the end");

  // Closed: the buttons and the poll do nothing.
  player.PauseToggle();
  player.PollPlayer();
  EXPECT_TRUE(mci.Take().empty());
}

TEST(EditorPlayer, ADeviceThatStoppedAtTheEndIsClosed) {
  // Some devices go back to position 0 when a file ends; their mode says so.
  FakeMci mci;
  mci.Script("status EAudioMCI length", {{0, "3000"}});
  mci.Script("status EAudioMCI position", {{0, "0"}});
  mci.Script("status EAudioMCI mode", {{0, "stopped"}, {0, "playing"}, {0, "stopped"}});
  EditorPlayer player(mci.sender(), ShortPath);
  player.AuditionToggle("C:\\My Music\\song one.mp3", 77);
  player.PollPlayer();  // stopped for a moment after the play
  ExpectShown(player, kPlaying, "just after the play");
  player.PollPlayer();
  ExpectShown(player, kPlaying, "at the start");
  mci.Take();
  player.PauseToggle();
  player.PollPlayer();  // paused: the mode is not asked
  EXPECT_EQ(mci.Take(), (Commands{"Pause EAudioMCI", "status EAudioMCI position"}));
  ExpectShown(player, kPaused, "paused");
  player.PauseToggle();
  mci.Take();
  player.PollPlayer();
  ExpectShown(player, kPlaying, "stopped once");
  player.PollPlayer();
  EXPECT_EQ(mci.Take(), (Commands{"status EAudioMCI position", "status EAudioMCI mode", "status EAudioMCI position",
                                  "status EAudioMCI mode", "Close EAudioMCI"}));
  ExpectShown(player, kClosed, "after the end");
}

TEST(EditorPlayer, TheSecondPressEndsTheAudition) {
  FakeMci mci;
  mci.Script("status EAudioMCI length", {{0, "500"}});
  EditorPlayer player(mci.sender(), ShortPath);
  player.AuditionToggle("C:\\a.wma", 1);
  player.PauseToggle();
  mci.Take();
  player.AuditionToggle("C:\\a.wma", 1);
  EXPECT_EQ(mci.Take(), Commands{"Close EAudioMCI"});
  ExpectShown(player, kClosed, "after 结束");
}

TEST(EditorPlayer, AFileThatCannotPlayLeavesThePlayerClosed) {
  struct Case {
    const char* what;
    std::string path;
    FakeMci::Answer open, length;
    Commands sent;
  };
  const std::string open = "Open C:\\a.wma Alias EAudioMCI Type MPEGVideo Parent 9 Style Child";
  const Case cases[] = {
      {"length 0", "C:\\a.wma", {0, ""}, {0, "0"}, {open, "set EAudioMCI time format ms", "status EAudioMCI length", "Close EAudioMCI"}},
      {"no length", "C:\\a.wma", {0, ""}, {275, ""}, {open, "set EAudioMCI time format ms", "status EAudioMCI length", "Close EAudioMCI"}},
      {"negative", "C:\\a.wma", {0, ""}, {0, "-1"}, {open, "set EAudioMCI time format ms", "status EAudioMCI length", "Close EAudioMCI"}},
      {"open fails", "C:\\a.wma", {277, ""}, {0, "100"}, {open}},
      {"no short path", "C:\\gone.mp3", {0, ""}, {0, "100"}, {}},
      {"no path", "", {0, ""}, {0, "100"}, {}},
  };
  for (const Case& c : cases) {
    FakeMci mci;
    mci.Script("Open", {c.open});
    mci.Script("status EAudioMCI length", {c.length});
    EditorPlayer player(mci.sender(), ShortPath);
    player.AuditionToggle(c.path, 9);
    EXPECT_EQ(mci.Take(), c.sent) << c.what;
    ExpectShown(player, kClosed, c.what);
  }
}

TEST(EditorPlayer, ClosePlayerResetsEverything) {
  FakeMci mci;
  mci.Script("status EAudioMCI length", {{0, "100000"}});
  EditorPlayer player(mci.sender(), ShortPath);
  player.AuditionToggle("C:\\a.wma", 1);
  player.PauseToggle();
  mci.Take();
  player.ClosePlayer();
  EXPECT_EQ(mci.Take(), Commands{"Close EAudioMCI"});
  ExpectShown(player, kClosed, "closed");
  // And it opens again.
  player.AuditionToggle("C:\\a.wma", 1);
  ExpectShown(player, kPlaying, "reopened");
}

}  // namespace
}  // namespace tovani::sound
