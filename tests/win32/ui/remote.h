// Driving the running tovani.exe from a test as its user would, and reading
// back what it shows.  Every message goes out with a time-out, so a hung
// program fails the test instead of stalling it; texts come back as program
// text (code page 936).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/cities.h"
#include "framework/win32/wide.h"
#include "held.h"
#include "program_runner.h"
#include "engine/calendar_range.h"
#include "wait_until.h"

namespace tovani::testing_win32 {

inline LRESULT Send(HWND h, UINT msg, WPARAM w = 0, LPARAM l = 0) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG, 15000, &result) == 0) {
    ADD_FAILURE() << "message 0x" << std::hex << msg << " to window " << h << " went unanswered";
    return -1;
  }
  return static_cast<LRESULT>(result);
}

inline std::string TextOf(HWND h) {
  std::wstring w(1024, L'\0');
  LRESULT got = Send(h, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(w.data()));
  if (got >= static_cast<LRESULT>(w.size()) - 1) {  // perhaps cut: ask for the length
    w.assign(static_cast<std::size_t>(Send(h, WM_GETTEXTLENGTH)) + 1, L'\0');
    got = Send(h, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(w.data()));
  }
  w.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return Narrow(w);
}

// A drop-down list: its item count, selection and selected item's text.
struct ListState {
  int count = 0, selected = -1;
  std::string text;
};

inline std::string ItemOf(HWND combo, int index) {
  const LRESULT n = Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (n < 0) return {};
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w.data()));
  w.resize(static_cast<std::size_t>(n));
  return Narrow(w);
}

inline ListState ListOf(HWND combo) {
  ListState s{static_cast<int>(Send(combo, CB_GETCOUNT)), static_cast<int>(Send(combo, CB_GETCURSEL)), {}};
  if (s.selected >= 0) s.text = ItemOf(combo, s.selected);
  return s;
}

// Notifies the parent of a control as the control itself would.
inline void Notify(HWND control, WORD code) {
  Send(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

// The user picks an item of a closed drop-down list.
inline void ChooseItem(HWND combo, int index) {
  Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index));
  Notify(combo, CBN_SELCHANGE);
}

inline void Click(HWND button) { Notify(button, BN_CLICKED); }

// A menu command (or its id sent as one).
inline void Command(HWND window, int id) { Send(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

inline void Key(HWND control, UINT vk) {
  Send(control, WM_KEYDOWN, vk, 1);
  Send(control, WM_KEYUP, vk, 0xC0000001);
}

// One notch of the wheel over a control: +1 towards the user, -1 away.
inline void Wheel(HWND control, int towardsUser) {
  RECT r{};
  GetWindowRect(control, &r);
  Send(control, WM_MOUSEWHEEL, MAKEWPARAM(0, towardsUser > 0 ? -WHEEL_DELTA : WHEEL_DELTA),
       MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

struct WindowsSearch {
  DWORD pid;
  const wchar_t* cls;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectWindow(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<WindowsSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  if (pid == s->pid && lstrcmpiW(name, s->cls) == 0) s->found.push_back(h);
  return TRUE;
}

// The program's top-level windows of a class, shown or hidden.
inline std::vector<HWND> WindowsOf(DWORD pid, const wchar_t* cls) {
  WindowsSearch s{pid, cls, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

using held::UnderWine;

// No fault the user may not have seen: no exception caught in the program's
// window procedures.
inline void ExpectNoCaughtExceptions(DWORD pid) {
  const long caught = CaughtExceptionsOf(pid);
  EXPECT_LE(caught, 0) << "the program caught exceptions in its window procedures (the debugger's output says which)";
}

// With TOVANI_SHOTS set to a folder, a picture of the window as the screen
// shows it, for a person to look at.
inline void SaveShot(HWND w, const char* name) {
  wchar_t folder[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"TOVANI_SHOTS", folder, MAX_PATH) == 0) return;
  Sleep(300);  // painted
  RECT r{};
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u, size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info.bmiHeader) + size, 0, 0,
                        static_cast<DWORD>(sizeof file + sizeof info.bmiHeader)};
  std::ofstream out(std::filesystem::path(std::wstring(folder) + L"\\" + Wide(name) + L".bmp"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), size);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// The threads of a process, by their ids.
inline std::set<DWORD> ThreadsOf(DWORD pid) {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  THREADENTRY32 t{};
  t.dwSize = sizeof t;
  for (BOOL more = Thread32First(snapshot, &t); more; more = Thread32Next(snapshot, &t)) {
    if (t.th32OwnerProcessID == pid) ids.insert(t.th32ThreadID);
  }
  CloseHandle(snapshot);
  return ids;
}

// How many threads the process starts within the time.  Every pass of the
// alarm sounds runs on a thread started afresh, twice a second while an
// alarm is due; nothing else in an idle program starts threads.
inline int ThreadsStartedWithin(DWORD pid, DWORD ms) {
  std::set<DWORD> before = ThreadsOf(pid);
  int started = 0;
  for (const ULONGLONG end = GetTickCount64() + ms; GetTickCount64() < end;) {
    Sleep(10);
    const std::set<DWORD> now = ThreadsOf(pid);
    for (DWORD id : now) started += before.count(id) == 0 ? 1 : 0;
    before = now;
  }
  return started;
}

// No visible control of the window is cut off by its frame: each lies whole
// within the client area (or whole outside it, as the sinks of the audio
// devices do, kept out of sight).  A frame too small for its controls, or a
// control placed across its edge, fails.  (A drop-down list counts closed:
// its list is a window of its own.)
inline void ExpectControlsInside(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r{}, common{};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    const bool inside = r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom;
    EXPECT_TRUE(inside || !IntersectRect(&common, &r, &client))
        << "control " << GetDlgCtrlID(c) << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom
        << " in a client area of " << client.right << "x" << client.bottom;
  }
}

// ---- The program's message boxes ----

// A message box of the program: a dialog with the program's caption.
inline bool IsMessageBox(HWND h) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  return std::wstring(cls) == L"#32770" && IsWindowVisible(h) && TextOf(h) == "青鹭日历";
}
// The program's message box once it shows; nullptr when none came in time.
inline HWND WaitForMessageBox(DWORD pid, DWORD ms = 10000) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND h : WindowsOf(pid, L"#32770")) {
          if (IsMessageBox(h)) found = h;
        }
        return found != nullptr;
      },
      ms);
  return found;
}
// What a message box says.
inline std::string MessageOf(HWND box) { return TextOf(GetDlgItem(box, 0xFFFF)); }
// Presses a button of a message box (IDYES, IDNO, IDOK); true once it is gone.
inline bool Answer(HWND box, int button) {
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  return WaitUntil([&] { return !IsWindow(box); }, 10000);
}

// Answers every message box of the program with one button, on a thread of
// its own, for tests in which a question may come but is not the point
// (registry use off, a setting changed); keeps what was asked.
class QuestionAnswerer {
 public:
  QuestionAnswerer(DWORD pid, int button)
      : thread_([this, pid, button] {
          while (!stop_) {
            for (HWND h : WindowsOf(pid, L"#32770")) {
              if (!IsMessageBox(h)) continue;
              const std::string text = MessageOf(h);
              if (Answer(h, button)) {
                std::lock_guard<std::mutex> lock(mutex_);
                asked_.push_back(text);
              }
            }
            Sleep(30);
          }
        }) {}
  ~QuestionAnswerer() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::string> asked() {
    std::lock_guard<std::mutex> lock(mutex_);
    return asked_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> asked_;
  std::thread thread_;
};

// A visible tooltip of any process holds the text.
struct TooltipSearch {
  const std::string* text;
  bool found;
};
inline BOOL CALLBACK MatchTooltip(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<TooltipSearch*>(p);
  wchar_t cls[32] = {};
  GetClassNameW(h, cls, 32);
  if (std::wstring(cls) == L"tooltips_class32" && IsWindowVisible(h) &&
      TextOf(h).find(*s->text) != std::string::npos) {
    s->found = true;
  }
  return TRUE;
}
inline bool ShellTooltipSays(const std::string& text) {
  TooltipSearch search{&text, false};
  EnumWindows(MatchTooltip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Esc pressed and released in the focused control of a window, as typed keys
// come: through the window's message loop.
inline void PressEscape(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  HWND target = IsChild(window, info.hwndFocus) ? info.hwndFocus : GetDlgItem(window, 100);
  PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

// The opacity of a window; 255 when it is not layered.
inline int AlphaOf(HWND h) {
  if ((GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED) == 0) return 255;
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) || (flags & LWA_ALPHA) == 0) return 255;
  return alpha;
}

inline bool Topmost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The place the program uses with no stored settings.
inline CurrentPlace DefaultPlace() {
  CurrentPlace place;
  SelectCity(1, OwnPlace{}, place);
  return place;
}

// ---- The program's settings key ----

constexpr wchar_t kSettingsKey[] = L"Software\\Tovani";

inline void RemoveSettings() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_SET_VALUE, &h) ==
        ERROR_SUCCESS) {
      RegDeleteValueW(h, L"Tovani");
      RegCloseKey(h);
    }
  }
}

// Text values under the settings key (or a sub-key of it).
inline void SeedSettings(const std::map<std::wstring, std::wstring>& values, const std::wstring& subKey = L"") {
  const std::wstring key = subKey.empty() ? kSettingsKey : std::wstring(kSettingsKey) + L"\\" + subKey;
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  for (const auto& [name, data] : values) {
    RegSetValueExW(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(h);
}

// A stored setting; "<none>" when it is not there.
inline std::wstring StoredSetting(const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return data;
}

// ---- The system's dark mode for applications ----

constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr wchar_t kLightTheme[] = L"AppsUseLightTheme";

inline std::optional<DWORD> AppsUseLightTheme() {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kPersonalize, kLightTheme, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

// The user's choice (nothing: the value removed), told to every window as
// Windows tells it.
inline void ChooseAppsUseLightTheme(std::optional<DWORD> value, bool broadcast) {
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPersonalize, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  if (value) {
    RegSetValueExW(h, kLightTheme, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value), sizeof(DWORD));
  } else {
    RegDeleteValueW(h, kLightTheme);
  }
  RegCloseKey(h);
  if (broadcast) {
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
  }
}

// A test that starts the program with no stored settings (unless it seeds
// some) and leaves none behind, in the light mode for applications whatever
// the machine's user chose (given back at the end).
class ProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    RemoveSettings();
    userTheme_ = AppsUseLightTheme();
    ChooseAppsUseLightTheme(1, false);
  }
  void TearDown() override {
    answerer_.reset();
    if (program_ != nullptr && program_->WaitForExit(0) == STILL_ACTIVE) ExpectNoCaughtExceptions(program_->id());
    program_.reset();
    RemoveSettings();
    ChooseAppsUseLightTheme(userTheme_, false);
  }
  // From now on every question of the program is answered with the button.
  void AnswerQuestions(int button) { answerer_ = std::make_unique<QuestionAnswerer>(program_->id(), button); }
  // Starts the program with its clock at a moment ("YYYY-MM-DD HH:MM:SS",
  // through TOVANI_CLOCK; the computer's clock is not touched) and waits for
  // its visible window of the class.
  HWND StartAt(const std::wstring& moment, const wchar_t* cls) {
    program_ = std::make_unique<Program>(L"", moment);
    if (!program_->started()) return nullptr;
    return WaitForWindow(*program_, cls);
  }
  // The same at the suite's moment.
  HWND Start(const wchar_t* cls) { return StartAt(SuiteMoment(), cls); }
  // Closes the window; true when the program then ended with 0.
  bool CloseAndWait(HWND window) {
    ExpectNoCaughtExceptions(program_->id());
    PostMessageW(window, WM_CLOSE, 0, 0);
    return program_->WaitForExit(20000) == 0;
  }
  // The menu command that switches to the other calendar window: the old
  // window goes, and the new one of the class is returned (or nullptr).
  HWND SwitchTo(HWND from, int command, const wchar_t* cls) {
    Command(from, command);
    if (!WaitUntil([&] { return !IsWindow(from); }, 10000)) return nullptr;
    return WaitForWindow(*program_, cls);
  }
  std::unique_ptr<Program> program_;
  std::unique_ptr<QuestionAnswerer> answerer_;
  std::optional<DWORD> userTheme_;
};

// Today's date by the program's clock (that of the copy started last).
inline CalendarTriple Today() {
  const SYSTEMTIME t = ProgramNow();
  return {t.wYear, t.wMonth, t.wDay};
}

// Milliseconds since a moment taken by Now(); for printed measurements.
inline LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}
inline double MsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(Now().QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

}  // namespace tovani::testing_win32
