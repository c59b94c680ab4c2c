// The help window of the real tovani.exe, opened by its menu command: its
// texts and pages, the ways it closes, and the version check against a small
// web server of this test on 127.0.0.1.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "remote.h"
#include "ui/help/help_frame.h"
#include "ui/help/help_model.h"
#include "ui/menu/menu_model.h"

namespace tovani::testing_win32 {
namespace {

using namespace help;

constexpr int kCloseHotKey = 45060;  // the main window's Ctrl+Alt+X

// A web server on 127.0.0.1 that gives every request one answer and closes,
// or (holding) reads the request and keeps the connection open until the
// other side closes it.
class PageServer {
 public:
  explicit PageServer(std::string answer, bool holding = false) : answer_(std::move(answer)), holding_(holding) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return;
    started_ = true;
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ == INVALID_SOCKET) return;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof a;
    if (bind(listener_, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
      return;
    }
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~PageServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (started_) WSACleanup();
  }
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  bool ok() const { return port_ != 0; }
  std::uint16_t port() const { return port_; }
  // Requests read so far, and connections the other side has closed after
  // its answer (or, holding, while it waited).
  int requests() const { return requests_; }
  int closedByClient() const { return closedByClient_; }
  std::string lastRequest() const {
    std::lock_guard lock(mutex_);
    return lastRequest_;
  }

 private:
  static bool Readable(SOCKET s, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) > 0;
  }
  void Serve() {
    while (!stop_) {
      if (!Readable(listener_, 50)) continue;
      const SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) continue;
      std::string request;
      char buffer[4096];
      while (!stop_ && request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        if (!Readable(client, 50)) continue;
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
      }
      {
        std::lock_guard lock(mutex_);
        lastRequest_ = request;
      }
      ++requests_;
      if (!holding_) {
        send(client, answer_.data(), static_cast<int>(answer_.size()), 0);
        shutdown(client, 1);  // the end of the answer
      }
      // Until the other side closes: the check has read the answer or ended.
      while (!stop_) {
        if (!Readable(client, 50)) continue;
        if (recv(client, buffer, sizeof buffer, 0) <= 0) {
          ++closedByClient_;
          break;
        }
      }
      closesocket(client);
    }
  }

  std::string answer_;
  bool holding_;
  bool started_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0}, closedByClient_{0};
  mutable std::mutex mutex_;
  std::string lastRequest_;
  std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens.
std::uint16_t ClosedPort() {
  PageServer gone("");
  return gone.port();
}

std::string PageOn(std::uint16_t port) { return "127.0.0.1:" + std::to_string(port) + "/soft/tovani.htm"; }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

class HelpWindowTest : public ProgramTest {
 protected:
  // Registry use on: the page of the check is a setting, read only then.
  bool Launch() {
    SeedSettings({{L"Version", L"4.1"}});
    main_ = Start(L"TOVANI_DFORM");
    if (main_ != nullptr) Send(main_, WM_NULL);  // its start-up done: the openings are timed alone
    return main_ != nullptr;
  }
  // Opens the window with the version check reading the page given (the
  // window is modal: the command is posted).
  HWND Open(const std::string& page) {
    SeedSettings({{Wide(kVersionPageSetting), Wide(page)}});
    const LARGE_INTEGER start = Now();
    PostMessageW(main_, WM_COMMAND, menu::kHelp, 0);
    HWND w = nullptr;
    for (const ULONGLONG end = GetTickCount64() + 15000; w == nullptr && GetTickCount64() < end; Sleep(1)) {
      for (HWND h : WindowsOf(program_->id(), L"TOVANI_HFORM")) {
        if (IsWindowVisible(h)) w = h;
      }
    }
    if (w != nullptr) opening_.push_back(MsSince(start));
    return w;
  }
  bool Closed(HWND w) {
    return WaitUntil([&] { return !IsWindow(w); }, 10000) &&
           WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 5000);
  }
  void Close(HWND w) {
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Closed(w));
  }
  static void PressKey(HWND control, UINT vk) {
    PostMessageW(control, WM_KEYDOWN, vk, 1);
    PostMessageW(control, WM_KEYUP, vk, 0xC0000001);
  }
  static HWND Item(HWND w, int id) { return GetDlgItem(w, id); }
  static std::string Intro(HWND w) { return TextOf(Item(w, kIntroduction)); }
  // The page whose label is marked, or -1 unless exactly one is.
  static int Marked(HWND w) {
    int marked = -1, count = 0;
    for (int p = 0; p < kPageCount; ++p) {
      if (Send(Item(w, kFirstTab + p), BM_GETCHECK) == BST_CHECKED) {
        marked = p;
        ++count;
      }
    }
    return count == 1 ? marked : -1;
  }
  void TearDown() override {
    if (!opening_.empty()) {
      std::printf(
          "[ measure  ] help window, command to window shown: median %.1f ms (min %.1f, max %.1f, %zu openings)\n",
          Median(opening_), *std::min_element(opening_.begin(), opening_.end()),
          *std::max_element(opening_.begin(), opening_.end()), opening_.size());
    }
    ProgramTest::TearDown();
  }

  HWND main_ = nullptr;
  std::vector<double> opening_;
};

// The introduction and the pages as the model writes them, each page by its
// label (by a click, and by the arrow keys among the labels); the frame.
TEST_F(HelpWindowTest, TextsAndPages) {
  ASSERT_TRUE(Launch());
  HWND w = Open(PageOn(ClosedPort()));
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(main_); }, 5000));  // modal
  EXPECT_EQ(TextOf(w), kCaption);
  for (int id : {kIntroduction, kPageBox}) {
    const LONG style = GetWindowLongW(Item(w, id), GWL_STYLE);
    EXPECT_EQ(style & (ES_READONLY | ES_MULTILINE), ES_READONLY | ES_MULTILINE);
  }
  EXPECT_EQ(TextOf(Item(w, kOkButton)), "确定");
  EXPECT_EQ(TextOf(Item(w, kCancelButton)), "取消");

  const std::string intro = Intro(w);
  EXPECT_EQ(intro, Introduction());
  EXPECT_NE(intro.find("公元前104年~公元4103年"), std::string::npos);
  EXPECT_EQ(Marked(w), kFeatures);
  EXPECT_EQ(TextOf(Item(w, kPageBox)), PageText(kFeatures));
  EXPECT_NE(TextOf(Item(w, kPageBox)).find("气朔日"), std::string::npos);

  const int order[] = {kAbout, kNotes, kHotKeys, kFeatures, kAbout};
  for (int page : order) {
    SCOPED_TRACE(page);
    EXPECT_EQ(TextOf(Item(w, kFirstTab + page)), PageLabel(page));
    Send(Item(w, kFirstTab + page), BM_CLICK);
    EXPECT_EQ(Marked(w), page);
    EXPECT_EQ(TextOf(Item(w, kPageBox)), PageText(page));
  }
  // The arrow keys move the mark through the labels.
  Send(Item(w, kFirstTab + kFeatures), BM_CLICK);
  for (int page = kNotes; page < kPageCount; ++page) {
    PressKey(Item(w, kFirstTab + page - 1), VK_RIGHT);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(Item(w, kPageBox)) == PageText(page); }, 5000)) << page;
    EXPECT_EQ(Marked(w), page);
  }
  EXPECT_EQ(Intro(w), intro);  // nothing on 127.0.0.1 answered
  Close(w);
}

// Each way to close it leaves the main window as it was; it opens again.
TEST_F(HelpWindowTest, Closing) {
  ASSERT_TRUE(Launch());
  const std::string page = PageOn(ClosedPort());
  struct Way {
    const char* name;
    void (*close)(HWND main, HWND w);
  };
  const Way ways[] = {
      {"确定", [](HWND, HWND w) { PostMessageW(Item(w, kOkButton), BM_CLICK, 0, 0); }},
      {"取消", [](HWND, HWND w) { PostMessageW(Item(w, kCancelButton), BM_CLICK, 0, 0); }},
      {"Esc in the page box", [](HWND, HWND w) { PressKey(Item(w, kPageBox), VK_ESCAPE); }},
      {"Esc on a label", [](HWND, HWND w) { PressKey(Item(w, kFirstTab + kHotKeys), VK_ESCAPE); }},
      {"Enter in the introduction", [](HWND, HWND w) { PressKey(Item(w, kIntroduction), VK_RETURN); }},
      {"close box", [](HWND, HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); }},
      {"Ctrl+Alt+X",
       [](HWND main, HWND) { PostMessageW(main, WM_HOTKEY, kCloseHotKey, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'X')); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    HWND w = Open(page);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(main_); }, 5000));
    way.close(main_, w);
    EXPECT_TRUE(Closed(w));
    EXPECT_TRUE(IsWindowVisible(main_));
  }
  EXPECT_TRUE(CloseAndWait(main_));
}

// The check reads the page from the setting: a newer version is added to the
// introduction with the page's address; the same version, another answer, or
// no server at all add nothing.
TEST_F(HelpWindowTest, VersionCheck) {
  ASSERT_TRUE(Launch());
  const std::string ok = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=gb2312\r\n\r\n";
  struct Case {
    const char* name;
    std::optional<std::string> answer;  // none: no server
    std::string shown;                  // what the introduction gets
  };
  const Case cases[] = {
      {"newer", ok + "<html><title>青鹭万年历V4.2 绿色版</title></html>", "\r\n    下载4.2版→http://"},
      {"same", ok + "<html><title>青鹭万年历V4.1 绿色版</title></html>", ""},
      {"same, written 4.10", ok + "青鹭万年历V4.10", ""},
      {"newer, not found", "HTTP/1.0 404 Not Found\r\n\r\n青鹭万年历V4.2", ""},
      {"no server", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<PageServer> server;
    if (c.answer) {
      server.emplace(*c.answer);
      ASSERT_TRUE(server->ok());
    }
    const std::uint16_t port = server ? server->port() : ClosedPort();
    const std::string address = PageOn(port);
    HWND w = Open(address);
    ASSERT_NE(w, nullptr);
    const std::string intro = Introduction();
    if (!c.shown.empty()) {
      const std::string expected = intro + c.shown + "127.0.0.1:" + std::to_string(port) + "/soft/tovani.htm";
      EXPECT_TRUE(WaitUntil([&] { return Intro(w) == expected; }, 10000)) << Intro(w);
    } else {
      if (server) {
        EXPECT_TRUE(WaitUntil([&] { return server->closedByClient() == 1; }, 10000));
      }
      // The check has read the answer and let the connection go: a note
      // would follow at once.
      EXPECT_FALSE(WaitUntil([&] { return Intro(w) != intro; }, 1000)) << Intro(w);
    }
    if (server) {
      EXPECT_EQ(server->requests(), 1);
      EXPECT_EQ(server->lastRequest(), VersionRequest(*ParseVersionPage(address)));
    }
    Close(w);
  }
}

// While the page is slow to answer the window works as ever, and closing it
// ends the check: the connection goes at once.  The next opening checks
// afresh.
TEST_F(HelpWindowTest, ClosingWhileTheCheckWaits) {
  ASSERT_TRUE(Launch());
  std::vector<double> closing;
  for (int round = 0; round < 3; ++round) {
    PageServer slow("", true);
    ASSERT_TRUE(slow.ok());
    HWND w = Open(PageOn(slow.port()));
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return slow.requests() == 1; }, 10000));
    Send(Item(w, kFirstTab + kHotKeys), BM_CLICK);
    EXPECT_EQ(TextOf(Item(w, kPageBox)), PageText(kHotKeys));
    const LARGE_INTEGER start = Now();
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Closed(w));
    closing.push_back(MsSince(start));
    EXPECT_TRUE(WaitUntil([&] { return slow.closedByClient() == 1; }, 2000));
  }
  std::printf("[ measure  ] help window, close while the check waits to window gone: median %.1f ms (3 closes)\n",
              Median(closing));

  PageServer newer("HTTP/1.0 200 OK\r\n\r\n青鹭万年历V5.0");
  ASSERT_TRUE(newer.ok());
  HWND w = Open(PageOn(newer.port()));
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return Intro(w).find("下载5.0版→") != std::string::npos; }, 10000)) << Intro(w);
  Close(w);
  EXPECT_TRUE(CloseAndWait(main_));
}

}  // namespace
}  // namespace tovani::testing_win32
