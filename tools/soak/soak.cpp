// What the calendar keeps per repeated action, measured from outside on the
// real tovani.exe: each path a user repeats (the switch between the day and
// the month window, each tool window opened and closed, a weather query
// against a page server of this program's own, the memorial editor's
// audition, the background picture chosen again, a change of display
// scaling, the records balloon, days of the clock timers) is done N times
// (default 1000) after a warm-up, in a fresh copy of the program, and the
// growth per operation of its private memory, of the bytes in use on its
// heaps (which the program tells when asked), of GDI and USER objects and of
// handles is the least-squares slope over a hundred samples taken along the
// way (one difference would be noise; see Slope).  Runs on Windows or under Wine, with
// tovani.exe next to it:
//
//   tovani_soak [N] [path...]
//
// The program's settings of this user are set aside for the run and put
// back after it.  Where the system reports no figure (Wine keeps its USER
// objects where no other process can count them), "n/a" is printed.  Two
// rows are yardsticks of the system run in this program itself: the
// device commands of an audition and the open-file dialog, what the system
// keeps of them without the calendar.  The exit code is 1 when a path
// failed or grew beyond the target: 0.05 KB or any object or handle per
// operation.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/win32/driver.h"
#include "tests/win32/held.h"
#include "tests/weather/fixture_server.h"
#include "tests/weather/fixture_pages.h"
#include "ui/day/day_frame.h"
#include "ui/day/day_model.h"
#include "ui/memorial/memorial_frame.h"
#include "ui/menu/menu_model.h"
#include "ui/weather/weather_frame.h"

namespace {

namespace menu = tovani::menu;
using tovani::driver::Settled;
using tovani::driver::WaitUntil;

// A visible top-level window of the class of the process (other than skip).
HWND FindOf(DWORD pid, const wchar_t* cls, HWND skip = nullptr) {
  return tovani::driver::VisibleWindowOf(pid, cls, skip);
}

// ---- Waiting and messages ----

LRESULT Send(HWND h, UINT msg, WPARAM w = 0, LPARAM l = 0) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG, 15000, &result) == 0) return -1;
  return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND h) {
  std::wstring w(1024, L'\0');
  const LRESULT got = Send(h, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(w.data()));
  w.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return w;
}

void Notify(HWND control, WORD code) {
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

// ---- The program and its figures ----

using Sample = tovani::held::Held;
using tovani::held::HeldBy;

// One copy of tovani.exe, closed as a user closes it at the end of its path
// (and ended with the soak, a job, if not before).
class Program : public tovani::driver::Program {
 public:
  explicit Program(const wchar_t* clock) : tovani::driver::Program(tovani::driver::Launch::Calendar(clock, true)) {}
  // The visible window of the class (not skip), once it answers; nullptr
  // after 30 s.
  HWND WaitFor(const wchar_t* cls, HWND skip = nullptr) {
    return tovani::driver::Program::WaitFor(cls, skip, 30000, 2);
  }
  Sample Measure(HWND main) const { return HeldBy(process(), id(), main); }
};

// ---- The program's settings, set aside for the run ----

constexpr wchar_t kSettingsKey[] = L"Software\\Tovani";
constexpr wchar_t kSetAside[] = L"Software\\Tovani (set aside by the soak)";

void RemoveSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

bool KeyExists(const wchar_t* name) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, name, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

bool CopyKey(const wchar_t* from, const wchar_t* to) {
  HKEY source = nullptr, target = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) != ERROR_SUCCESS) return false;
  bool ok = RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
            ERROR_SUCCESS;
  if (ok) ok = RegCopyTreeW(source, nullptr, target) == ERROR_SUCCESS;
  if (target != nullptr) RegCloseKey(target);
  RegCloseKey(source);
  return ok;
}

void Seed(const std::map<std::wstring, std::wstring>& values, const std::wstring& subKey = L"") {
  const std::wstring key = subKey.empty() ? kSettingsKey : std::wstring(kSettingsKey) + L"\\" + subKey;
  HKEY h = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  for (const auto& [name, data] : values) {
    RegSetValueExW(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(h);
}

// ---- Files the paths use ----

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

template <class T>
void Put(std::string& s, T v) {
  s.append(reinterpret_cast<const char*>(&v), sizeof v);
}

// A 24-bit picture of the day window's size in two colours.
std::string Bitmap() {
  const int w = 260, h = 150, stride = (w * 3 + 3) & ~3;
  std::string s;
  Put<WORD>(s, 0x4D42);
  Put<DWORD>(s, 54 + stride * h);
  Put<DWORD>(s, 0);
  Put<DWORD>(s, 54);
  Put<DWORD>(s, 40);
  Put<LONG>(s, w);
  Put<LONG>(s, h);
  Put<WORD>(s, 1);
  Put<WORD>(s, 24);
  for (int i = 0; i < 6; ++i) Put<DWORD>(s, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < stride; ++x) s.push_back(static_cast<char>(y < h / 2 ? 0xE0 : 0xB0));
  }
  return s;
}

// Two seconds of 8 kHz 8-bit silence.
std::string Wave() {
  const DWORD samples = 16000;
  std::string s = "RIFF";
  Put<DWORD>(s, 36 + samples);
  s += "WAVEfmt ";
  Put<DWORD>(s, 16);
  Put<WORD>(s, 1);
  Put<WORD>(s, 1);
  Put<DWORD>(s, 8000);
  Put<DWORD>(s, 8000);
  Put<WORD>(s, 1);
  Put<WORD>(s, 8);
  s += "data";
  Put<DWORD>(s, samples);
  s.append(samples, static_cast<char>(0x80));
  return s;
}

// ---- The paths ----

// What a path works on while it runs.
struct Session {
  std::unique_ptr<tovani::fixture::FixtureServer> server;
  std::unique_ptr<Program> program;
  HWND main = nullptr, tool = nullptr;
  LPVOID remoteRect = nullptr;  // a RECT in the program's memory (WM_DPICHANGED)
  std::wstring picture, sound, doneStatus;
  // The program's figures, or this process's for a yardstick of the system
  // run here.
  Sample Measure() const {
    if (program != nullptr) return program->Measure(main);
    Sample own = HeldBy(GetCurrentProcess(), GetCurrentProcessId());
    own.heapKb = static_cast<double>(tovani::win32::HeapBytesInUse()) / 1024.0;
    return own;
  }
};

struct Path {
  const char* name;
  const char* what;
  std::function<bool(Session&)> setUp;  // settings seeded, program started
  std::function<bool(Session&)> once;   // one operation, finished
};

bool Start(Session& s, const wchar_t* cls = L"TOVANI_DFORM", const wchar_t* clock = nullptr) {
  s.program = std::make_unique<Program>(clock);
  if (!s.program->started()) return false;
  s.main = s.program->WaitFor(cls);
  return s.main != nullptr;
}

bool Switch(Session& s, int command, const wchar_t* cls) {
  HWND from = s.main;
  PostMessageW(from, WM_COMMAND, static_cast<WPARAM>(command), 0);
  if (!WaitUntil([&] { return !IsWindow(from); }, 30000)) return false;
  s.main = s.program->WaitFor(cls, from);
  return s.main != nullptr;
}

// A modal tool window opened by its menu command and closed as by its
// close box.
Path ToolPath(const char* name, const char* what, int command, const wchar_t* cls) {
  return {name, what,
          [](Session& s) {
            Seed({{L"Version", L"4.1"}, {L"VersionPage", L"127.0.0.1:9/none"}});
            return Start(s);
          },
          [command, cls](Session& s) {
            PostMessageW(s.main, WM_COMMAND, static_cast<WPARAM>(command), 0);
            HWND tool = s.program->WaitFor(cls);
            if (tool == nullptr) return false;
            PostMessageW(tool, WM_CLOSE, 0, 0);
            return WaitUntil([&] { return !IsWindow(tool) && IsWindowEnabled(s.main); }, 30000) && Settled(s.main);
          }};
}

HWND DayList(HWND day, tovani::day::ListId list) { return GetDlgItem(day, tovani::day::kListBase + list); }

HWND Balloon(DWORD pid) {
  HWND found = nullptr;
  for (HWND h = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); h != nullptr;
       h = FindWindowExW(nullptr, h, L"tooltips_class32", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid && (GetWindowLongW(h, GWL_STYLE) & TTS_BALLOON) != 0) found = h;
  }
  return found;
}

// A choice in a closed list, handled before the next (a choice still in the
// queue would see the next list already moved).
void Choose(HWND list, int index) {
  Send(list, CB_SETCURSEL, static_cast<WPARAM>(index));
  Send(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

bool IsClass(HWND h, const wchar_t* cls) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return lstrcmpiW(name, cls) == 0;
}

// The program's open-file dialog: the path typed into its name field, then
// its OK button.
bool ChooseInDialog(DWORD pid, const std::wstring& path) {
  HWND dialog = nullptr;
  if (!WaitUntil([&] { return (dialog = FindOf(pid, L"#32770")) != nullptr; }, 30000)) return false;
  // The name field: an edit inside the name box (itself a ComboBoxEx over a
  // combo box in newer dialogs), or the older dialogs' edit.
  HWND name = GetDlgItem(dialog, 0x47C);
  while (name != nullptr && !IsClass(name, L"Edit")) {
    HWND inner = FindWindowExW(name, nullptr, L"ComboBox", nullptr);
    name = inner != nullptr ? inner : FindWindowExW(name, nullptr, L"Edit", nullptr);
  }
  if (name == nullptr) name = GetDlgItem(dialog, 0x480);
  if (name == nullptr || !Settled(dialog)) return false;
  Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return WaitUntil([&] { return !IsWindow(dialog); }, 30000);
}

bool SendDpi(Session& s, UINT dpi) {
  RECT r{};
  GetWindowRect(s.main, &r);
  const RECT wanted{r.left, r.top, r.left + MulDiv(tovani::day::kWindowWidth, static_cast<int>(dpi), 96),
                    r.top + MulDiv(tovani::day::kWindowHeight, static_cast<int>(dpi), 96)};
  SIZE_T written = 0;
  if (!WriteProcessMemory(s.program->process(), s.remoteRect, &wanted, sizeof wanted, &written)) return false;
  return Send(s.main, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(s.remoteRect)) != -1;
}

std::vector<Path> Paths() {
  using namespace tovani;
  std::vector<Path> paths;
  // The yardstick: the program left alone a tenth of a second.
  paths.push_back({"idle", "nothing for 100 ms (what the process does alone)",
                   [](Session& s) {
                     Seed({{L"Version", L"4.1"}});
                     return Start(s);
                   },
                   [](Session& s) {
                     Sleep(100);
                     return Settled(s.main);
                   }});
  paths.push_back({"switch", "day window (with a picture) to the month window and back",
                   [](Session& s) {
                     s.picture = TempFile(L"tovani-soak.bmp");
                     WriteFile(s.picture, Bitmap());
                     Seed({{L"Version", L"4.1"}, {L"DFORMBackBitmapName", s.picture}});
                     return Start(s);
                   },
                   [](Session& s) {
                     return Switch(s, menu::kShowMonthWindow, L"TOVANI_MFORM") &&
                            Switch(s, menu::kShowDayWindow, L"TOVANI_DFORM");
                   }});
  paths.push_back(ToolPath("calculator", "calculator opened and closed", menu::kCalcInterval, L"TOVANI_JFORM"));
  paths.push_back(ToolPath("tables", "tables opened and closed", menu::kTableTerms, L"TOVANI_TFORM"));
  paths.push_back(ToolPath("search", "search opened and closed", menu::kSearchDays, L"TOVANI_SFORM"));
  paths.push_back(ToolPath("coordinates", "place and alarms opened and closed", menu::kEditAlarms, L"TOVANI_LFORM"));
  paths.push_back(ToolPath("memorial", "memorial editor opened and closed", menu::kEditMemorials, L"TOVANI_EFORM"));
  paths.push_back(ToolPath("help", "help (version check) opened and closed", menu::kHelp, L"TOVANI_HFORM"));
  paths.push_back(
      {"weather", "weather query against a local page server",
       [](Session& s) {
         s.server = std::make_unique<fixture::FixtureServer>(fixture::FullPage());
         if (!s.server->ok()) return false;
         Seed({{L"Version", L"4.1"}, {L"WeatherHost", L"127.0.0.1:" + std::to_wstring(s.server->port())}});
         if (!Start(s)) return false;
         PostMessageW(s.main, WM_COMMAND, menu::kWeather, 0);
         s.tool = s.program->WaitFor(L"TOVANI_WFORM");
         return s.tool != nullptr;
       },
       [](Session& s) {
         HWND query = GetDlgItem(s.tool, weather::kQuery), status = GetDlgItem(s.tool, weather::kStatus);
         const int before = s.server->requests();
         // A click while the last download is finishing is not a new query.
         bool asked = false;
         for (int i = 0; i < 100 && !asked; ++i) {
           Notify(query, BN_CLICKED);
           asked = WaitUntil([&] { return s.server->requests() > before; }, 200);
         }
         return asked && WaitUntil([&] { return TextOf(status).find(L"正在") == std::wstring::npos; }, 30000);
       }});
  paths.push_back({"audition", "memorial editor: audition started and ended",
                   [](Session& s) {
                     s.sound = TempFile(L"tovani-soak.wav");
                     WriteFile(s.sound, Wave());
                     Seed({{L"Version", L"4.1"}});
                     if (!Start(s)) return false;
                     PostMessageW(s.main, WM_COMMAND, menu::kEditMemorials, 0);
                     s.tool = s.program->WaitFor(L"TOVANI_EFORM");
                     if (s.tool == nullptr) return false;
                     HWND field = GetDlgItem(s.tool, memorial::kAudioField);
                     Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.sound.c_str()));
                     Notify(field, EN_CHANGE);
                     return Settled(s.tool);
                   },
                   [](Session& s) {
                     HWND audition = GetDlgItem(s.tool, memorial::kAudition);
                     const std::wstring idle = TextOf(audition);
                     Notify(audition, BN_CLICKED);
                     if (!Settled(s.tool)) return false;
                     // Without a sound device the player does not open, and
                     // the button stays as it was.
                     if (TextOf(audition) == idle) return true;
                     Notify(audition, BN_CLICKED);
                     return WaitUntil([&] { return TextOf(audition) == idle; }, 10000);
                   }});
  paths.push_back({"picture", "background picture chosen again",
                   [](Session& s) {
                     s.picture = TempFile(L"tovani-soak.bmp");
                     WriteFile(s.picture, Bitmap());
                     Seed({{L"Version", L"4.1"}});
                     return Start(s);
                   },
                   [](Session& s) {
                     PostMessageW(s.main, WM_COMMAND, menu::kOptionPicture, 0);
                     HWND picture = GetDlgItem(s.main, day::kPictureId);
                     return ChooseInDialog(s.program->id(), s.picture) &&
                            WaitUntil([&] { return IsWindowEnabled(s.main) && Settled(s.main); }, 30000) &&
                            IsWindowVisible(picture);
                   }});
  paths.push_back({"dialog-alone", "the open-file dialog, a file chosen in it by this program (the system's share)",
                   [](Session& s) {
                     s.picture = TempFile(L"tovani-soak.bmp");
                     WriteFile(s.picture, Bitmap());
                     return true;
                   },
                   [](Session& s) {
                     bool chosen = false;
                     std::thread chooser([&] {
                       const DWORD me = GetCurrentProcessId();
                       // A dialog caught before its fields were made is
                       // tried again (the first of a process is slow under
                       // Wine); one that cannot be filled is cancelled.
                       for (int i = 0; i < 30 && !chosen; ++i) {
                         chosen = ChooseInDialog(me, s.picture);
                         if (chosen || FindOf(me, L"#32770") == nullptr) break;  // done, or no dialog came
                         Sleep(100);
                       }
                       if (HWND left = chosen ? nullptr : FindOf(me, L"#32770")) PostMessageW(left, WM_CLOSE, 0, 0);
                     });
                     std::wstring file(MAX_PATH, L'\0');
                     OPENFILENAMEW ofn{};
                     ofn.lStructSize = sizeof ofn;
                     ofn.lpstrFilter = L"BMP\0*.bmp\0";
                     ofn.lpstrFile = file.data();
                     ofn.nMaxFile = MAX_PATH;
                     ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST;
                     const BOOL ok = GetOpenFileNameW(&ofn);
                     chooser.join();
                     return ok && chosen;
                   }});
  // The same device commands as the audition's, given here: what the
  // system's player keeps by itself.
  paths.push_back({"mci-alone", "the commands of an audition, given by this program (the system's share)",
                   [](Session& s) {
                     s.sound = TempFile(L"tovani-soak.wav");
                     WriteFile(s.sound, Wave());
                     return true;
                   },
                   [](Session& s) {
                     wchar_t reply[128] = {};
                     const std::wstring open = L"Open \"" + s.sound + L"\" Alias soak Type MPEGVideo";
                     if (mciSendStringW(open.c_str(), reply, 128, nullptr) != 0) return true;  // no device
                     for (const wchar_t* c : {L"set soak time format ms", L"status soak length", L"Play soak"}) {
                       mciSendStringW(c, reply, 128, nullptr);
                     }
                     return mciSendStringW(L"Close soak", reply, 128, nullptr) == 0;
                   }});
  paths.push_back({"dpi", "display scaling 96 to 144 dpi and back",
                   [](Session& s) {
                     s.picture = TempFile(L"tovani-soak.bmp");
                     WriteFile(s.picture, Bitmap());
                     Seed({{L"Version", L"4.1"}, {L"DFORMBackBitmapName", s.picture}});
                     if (!Start(s)) return false;
                     s.remoteRect = VirtualAllocEx(s.program->process(), nullptr, sizeof(RECT),
                                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
                     return s.remoteRect != nullptr;
                   },
                   [](Session& s) { return SendDpi(s, 144) && SendDpi(s, 96); }});
  paths.push_back({"balloon", "a day with a record and the next (balloon shown, hidden)",
                   [](Session& s) {
                     Seed({{L"Version", L"4.1"}});
                     Seed({{L"05-01", L"AD2000            Soak"}}, L"SolarMemorial");
                     if (!Start(s)) return false;
                     Choose(DayList(s.main, day::kGregorianYear), 2024 + 103);
                     Choose(DayList(s.main, day::kGregorianMonth), 4);
                     return Settled(s.main);
                   },
                   [](Session& s) {
                     const DWORD pid = s.program->id();
                     Choose(DayList(s.main, day::kGregorianDay), 0);
                     if (!WaitUntil([&] { HWND b = Balloon(pid); return b != nullptr && IsWindowVisible(b); }, 10000)) {
                       return false;
                     }
                     Choose(DayList(s.main, day::kGregorianDay), 1);
                     return WaitUntil([&] { HWND b = Balloon(pid); return b != nullptr && !IsWindowVisible(b); }, 10000);
                   }});
  // A day a second: each operation is one simulated day, with the time
  // changed, a sleep and resume, the time said, and the hourly and alarm
  // checks running on their timers throughout.
  paths.push_back({"clock", "a simulated day: midnight, time change, sleep and resume, time said",
                   [](Session& s) {
                     Seed({{L"Version", L"4.1"},
                           {L"WholeAutoReportTimeFlag", L"1"},
                           {L"OpenAlarmClockAFlag", L"1"},
                           {L"DefiniteAlarmATime", L"1"},
                           {L"OpenAlarmClockBFlag", L"1"},
                           {L"DefiniteAlarmBTime", L"720"},
                           {L"OpenAlarmClockCFlag", L"1"},
                           {L"DefiniteAlarmCTime", L"1439"}});
                     return Start(s, L"TOVANI_DFORM", L"2026-01-01 23:59:59 x86400");
                   },
                   [](Session& s) {
                     HWND day = DayList(s.main, day::kGregorianDay);
                     const LRESULT before = Send(day, CB_GETCURSEL);
                     PostMessageW(s.main, WM_TIMECHANGE, 0, 0);
                     PostMessageW(s.main, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
                     PostMessageW(s.main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
                     PostMessageW(s.main, WM_COMMAND, menu::kSpeakTime, 0);
                     // The next day shown: the window keeps to today.
                     return WaitUntil(
                         [&] {
                           PostMessageW(s.main, WM_TIMECHANGE, 0, 0);
                           Sleep(20);
                           const LRESULT now = Send(day, CB_GETCURSEL);
                           return now != before && now != -1;
                         },
                         30000);
                   }});
  return paths;
}

// ---- Slopes ----

// Growth per operation: the least-squares slope through the lowest value of
// each run of five samples, so that memory held only for a moment (a
// picture at 144 dpi, a download's buffers) does not count as kept.
std::optional<double> Slope(const std::vector<double>& ops, const std::vector<std::optional<double>>& values) {
  constexpr std::size_t kRun = 5;
  double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t start = 0; start + kRun <= ops.size() || (start == 0 && !ops.empty()); start += kRun) {
    const std::size_t end = std::min(ops.size(), start + kRun);
    std::optional<double> lowest;
    double at = 0;
    for (std::size_t i = start; i < end; ++i) {
      if (!values[i]) return std::nullopt;
      if (!lowest || *values[i] < *lowest) {
        lowest = values[i];
        at = ops[i];
      }
    }
    n += 1;
    sx += at;
    sy += *lowest;
    sxx += at * at;
    sxy += at * *lowest;
  }
  const double d = n * sxx - sx * sx;
  if (n < 2 || d == 0) return std::nullopt;
  return (n * sxy - sx * sy) / d;
}

std::string Figure(const std::optional<double>& v, const char* format) {
  if (!v) return "n/a";
  char text[32];
  std::snprintf(text, sizeof text, format, *v);
  return text;
}

// Runs the path; false when it failed or grew beyond the target.
bool Run(const Path& path, int count) {
  Session s;
  RemoveSettings();
  const bool ready = path.setUp(s);
  if (!ready) {
    std::printf("%-12s set-up failed\n", path.name);
    return false;
  }
  const int warmUp = std::max(10, count / 10), every = std::max(1, count / 100);
  for (int i = 0; i < warmUp; ++i) {
    if (!path.once(s)) {
      std::printf("%-12s failed in the warm-up, operation %d\n", path.name, i + 1);
      return false;
    }
  }
  std::vector<double> ops;
  std::vector<std::optional<double>> kb, heap, gdi, user, handles;
  const auto sample = [&](int op) {
    Settled(s.main);
    const Sample m = s.Measure();
    if (std::getenv("SOAK_SAMPLES")) {
      std::printf("  %d %.0f KB %s heap KB %s GDI %s handles\n", op, m.kb, Figure(m.heapKb, "%.1f").c_str(),
                  Figure(m.gdi, "%.0f").c_str(), Figure(m.handles, "%.0f").c_str());
    }
    ops.push_back(op);
    kb.push_back(m.kb);
    heap.push_back(m.heapKb);
    gdi.push_back(m.gdi);
    user.push_back(m.user);
    handles.push_back(m.handles);
  };
  sample(0);
  const ULONGLONG started = GetTickCount64();
  const Sample first = s.Measure();
  for (int i = 1; i <= count; ++i) {
    if (!path.once(s)) {
      std::printf("%-12s failed at operation %d\n", path.name, i);
      return false;
    }
    if (i % every == 0) sample(i);
  }
  const Sample last = s.Measure();
  const auto kbSlope = Slope(ops, kb), heapSlope = Slope(ops, heap), gdiSlope = Slope(ops, gdi),
             userSlope = Slope(ops, user), handleSlope = Slope(ops, handles);
  const double msPerOp = static_cast<double>(GetTickCount64() - started) / count;
  std::printf("%-12s %6d %9s %9s %7s %7s %8s %8.0f -> %6.0f KB %7.0f ms  %s\n", path.name, count,
              Figure(kbSlope, "%.3f").c_str(), Figure(heapSlope, "%.3f").c_str(), Figure(gdiSlope, "%.3f").c_str(),
              Figure(userSlope, "%.3f").c_str(), Figure(handleSlope, "%.3f").c_str(), first.kb, last.kb, msPerOp,
              path.what);
  constexpr double kMostKb = 0.05, kNoObject = 0.01;  // an object in a hundred operations is one too many
  const auto within = [](const std::optional<double>& v, double most) { return !v || *v <= most; };
  return within(kbSlope, kMostKb) && within(heapSlope, kMostKb) && within(gdiSlope, kNoObject) &&
         within(userSlope, kNoObject) && within(handleSlope, kNoObject);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  int count = 1000;
  std::vector<std::string> wanted;
  for (int i = 1; i < argc; ++i) {
    if (std::atoi(argv[i]) > 0) {
      count = std::atoi(argv[i]);
    } else {
      wanted.push_back(argv[i]);
    }
  }
  if (KeyExists(kSetAside)) {
    std::fprintf(stderr, "settings set aside by an earlier run are still there; put them back first\n");
    return 2;
  }
  const bool hadSettings = KeyExists(kSettingsKey);
  if (hadSettings && !CopyKey(kSettingsKey, kSetAside)) {
    std::fprintf(stderr, "could not set this user's settings aside\n");
    return 2;
  }
  std::printf("growth per operation, %d operations after a warm-up (slope of the samples)\n", count);
  std::printf("%-12s %6s %9s %9s %7s %7s %8s %21s %10s  %s\n", "path", "ops", "KB/op", "heap KB/op", "GDI/op",
              "USER/op", "hdl/op", "private KB first->last", "time/op", "operation");
  bool ok = true;
  for (const Path& p : Paths()) {
    if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), p.name) == wanted.end()) continue;
    ok = Run(p, count) && ok;
  }
  RemoveSettings();
  if (hadSettings) {
    CopyKey(kSetAside, kSettingsKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kSetAside);
  }
  return ok ? 0 : 1;
}
