// The memorial editor of the real tovani.exe, opened by its menu commands and
// driven from outside as its user would: what it saves shows in the day
// window's balloon and the month window's details, a refused write keeps the
// stored records and the editor open, and registry use off leaves only its
// cancel button.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ui/memorial/memorial_frame.h"
#include "ui/memorial/memorial_model.h"
#include "views.h"

namespace tovani::testing_win32 {
namespace {

using memorial::kAddBase;

constexpr int kEditMemorials = 3060;
constexpr int kSwitchToMonth = 3026;

class MemorialWindowTest : public ProgramTest {
 protected:
  // Opens the editor of a kind (1..3) from a main window: it is modal, so the
  // command is posted.
  HWND OpenEditor(HWND main, int kind) {
    const LARGE_INTEGER start = Now();
    PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(kEditMemorials + kind - 1), 0);
    HWND editor = WaitForWindow(*program_, L"TOVANI_EFORM");
    std::printf("opening kind %d: %.0f ms\n", kind, MsSince(start));
    return editor;
  }
  static HWND Item(HWND editor, int id) { return GetDlgItem(editor, id); }
  static std::vector<std::string> Lines(HWND editor) {
    HWND box = Item(editor, memorial::kRecordList);
    std::vector<std::string> lines;
    const int n = static_cast<int>(Send(box, LB_GETCOUNT));
    for (int i = 0; i < n; ++i) {
      std::wstring w(static_cast<std::size_t>(Send(box, LB_GETTEXTLEN, static_cast<WPARAM>(i))) + 1, L'\0');
      const LRESULT got = Send(box, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(w.data()));
      w.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
      lines.push_back(Narrow(w));
    }
    return lines;
  }
  // Replaces a field's text, as typing would (the field notifies its window).
  static void Type(HWND field, const std::string& text) {
    const std::wstring w = Wide(text);
    Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
  }
  static void ChooseLine(HWND editor, int index) {
    HWND box = Item(editor, memorial::kRecordList);
    Send(box, LB_SETCURSEL, static_cast<WPARAM>(index));
    Notify(box, LBN_SELCHANGE);
  }
  // The date of a row of date lists, by their items' values.
  static CalendarTriple RowDate(HWND editor, const day::DayModel& model, int row) {
    CalendarTriple t{};
    for (int column = 0; column < 3; ++column) {
      const auto list = static_cast<day::ListId>(row * 3 + column);
      const int i = static_cast<int>(Send(Item(editor, memorial::kDateListBase + list), CB_GETCURSEL));
      const int value = i >= 0 && i < static_cast<int>(model.List(list).values.size()) ? model.List(list).values[i] : 0;
      (column == 0 ? t.year : column == 1 ? t.month : t.day) = value;
    }
    return t;
  }
  HWND Balloon() const {
    for (HWND tip : WindowsOf(program_->id(), L"tooltips_class32")) {
      if (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) return tip;
    }
    return nullptr;
  }
  bool BalloonShows(const std::string& text) const {
    HWND balloon = Balloon();
    if (text.empty()) return balloon == nullptr || !IsWindowVisible(balloon);
    return balloon != nullptr && IsWindowVisible(balloon) && TextOf(balloon) == text;
  }
  // Saves, and the editor closes.
  static bool SaveAndClose(HWND editor) {
    Click(Item(editor, memorial::kSave));
    return WaitUntil([&] { return !IsWindow(editor); }, 10000);
  }
};

// The displayed day as the editor's lists show it (today, in the range).
DayInCalendars Shown() { return *FromGregorian(memorial::OpeningDate(Today()), kHistoricalRules); }

TEST_F(MemorialWindowTest, AMemorialSavedShowsInBothWindowsAndGoesWhenDeleted) {
  SeedSettings({{L"Version", L"4.1"}});
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  const DayInCalendars today = Shown();

  HWND editor = OpenEditor(main, 1);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(TextOf(editor), "编辑纪念日");
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_TRUE(Lines(editor).empty());
  // The date lists show the displayed date, with the day window's items.
  const day::DayModel model(MakeCalendarRange(memorial::kFirstYear, memorial::kLastYear, kHistoricalRules), today, false);
  for (int i = 0; i < day::kListCount; ++i) {
    const auto list = static_cast<day::ListId>(i);
    const ListState got = ListOf(Item(editor, memorial::kDateListBase + i));
    EXPECT_EQ(got.count, static_cast<int>(model.List(list).items.size())) << day::ListName(list);
    EXPECT_EQ(got.text, model.List(list).items[model.Selected(list)]) << day::ListName(list);
  }
  for (int row = 0; row < memorial::kRowCount; ++row) {
    EXPECT_EQ(TextOf(Item(editor, kAddBase + row)), memorial::AddCaption(1, row));
  }
  // Without a title the add buttons wait for one; with one they add, and
  // adding the same day again replaces the line.
  const auto addButtonsOn = [&] {
    int on = 0;
    for (int row = 0; row < memorial::kRowCount; ++row) on += IsWindowEnabled(Item(editor, kAddBase + row)) ? 1 : 0;
    return on;
  };
  EXPECT_EQ(addButtonsOn(), 0);
  Type(Item(editor, memorial::kTitleField), "  ");
  EXPECT_EQ(addButtonsOn(), 0);
  Type(Item(editor, memorial::kTitleField), "生日");
  EXPECT_EQ(addButtonsOn(), memorial::kRowCount);
  Click(Item(editor, kAddBase + memorial::kGregorianRow));
  Type(Item(editor, memorial::kTitleField), "母亲生日");
  Click(Item(editor, kAddBase + memorial::kGregorianRow));
  const std::string line = EditorLine(kSolarWord, today.gregorian.month, today.gregorian.day,
                                      memorial::EraYear(today.gregorian.year), memorial::RecordText("母亲生日", ""));
  EXPECT_EQ(Lines(editor), std::vector<std::string>{line});
  ASSERT_TRUE(SaveAndClose(editor));
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_TRUE(WaitUntil([&] { return BalloonShows("母亲生日"); }, 5000));

  main = SwitchTo(main, kSwitchToMonth, L"TOVANI_MFORM");
  ASSERT_NE(main, nullptr);
  const MonthView m(main);
  EXPECT_NE(TextOf(m.details).find("母亲生日"), std::string::npos) << TextOf(m.details);

  // Opened again: the line is listed; choosing it fills the fields; deleted
  // and saved, it is gone.
  editor = OpenEditor(main, 1);
  ASSERT_NE(editor, nullptr);
  ASSERT_EQ(Lines(editor), std::vector<std::string>{line});
  ChooseItem(Item(editor, memorial::kDateListBase + day::kGregorianYear), 0);  // the rows move to 1800
  EXPECT_EQ(RowDate(editor, model, memorial::kGregorianRow).year, memorial::kFirstYear);
  ChooseLine(editor, 0);
  EXPECT_EQ(TextOf(Item(editor, memorial::kTitleField)), "母亲生日");
  EXPECT_EQ(RowDate(editor, model, memorial::kGregorianRow), today.gregorian);
  Click(Item(editor, memorial::kDelete));
  EXPECT_TRUE(Lines(editor).empty());
  ASSERT_TRUE(SaveAndClose(editor));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(m.details).find("母亲生日") == std::string::npos; }, 5000));
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tovani\\SolarMemorial", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_TRUE(CloseAndWait(main));
}

// A lunar memorial on the lunar row's date, a reminder and the countdown: the
// lines the editor shows, and what the day window's balloon then says.
TEST_F(MemorialWindowTest, TheThreeKinds) {
  SeedSettings({{L"Version", L"4.1"}});
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  const DayInCalendars today = Shown();
  struct Case {
    int kind, row;
    const char* caption;
    const char* title;
    std::string line;
  } cases[] = {
      {1, memorial::kLunarRow, "编辑纪念日", "农历的",
       EditorLine(kLunarWord, today.lunar.month, today.lunar.day, memorial::EraYear(today.lunar.year),
                  memorial::RecordText("农历的", ""))},
      {2, memorial::kHijriRow, "编辑提醒日", "提醒的",
       EditorLine(kReminderWord, today.gregorian.month, today.gregorian.day, memorial::EraYear(today.gregorian.year),
                  memorial::RecordText("提醒的", ""))},
      {3, memorial::kLunarRow, "编辑倒计日", "考试",
       EditorLine(kCountdownWord, today.gregorian.month, today.gregorian.day, memorial::EraYear(today.gregorian.year),
                  memorial::RecordText("考试", ""))},
  };
  for (const Case& c : cases) {
    HWND editor = OpenEditor(main, c.kind);
    ASSERT_NE(editor, nullptr) << c.kind;
    EXPECT_EQ(TextOf(editor), c.caption);
    for (int row = 0; row < memorial::kRowCount; ++row) {
      EXPECT_EQ(TextOf(Item(editor, kAddBase + row)), memorial::AddCaption(c.kind, row));
    }
    Type(Item(editor, memorial::kTitleField), c.title);
    Click(Item(editor, kAddBase + c.row));
    EXPECT_EQ(Lines(editor), std::vector<std::string>{c.line}) << c.kind;
    ASSERT_TRUE(SaveAndClose(editor)) << c.kind;
  }
  // The countdown, then the reminder and the memorial day, three blanks apart.
  EXPECT_TRUE(WaitUntil([&] { return BalloonShows("距考试还有0天   提醒的   农历的"); }, 5000))
      << TextOf(Balloon());
  EXPECT_TRUE(CloseAndWait(main));
}

// The store keeps twenty reminder days: a twenty-first is refused with the
// limit named, and the twenty are saved.
TEST_F(MemorialWindowTest, TwentyReminderDaysAtMost) {
  SeedSettings({{L"Version", L"4.1"}});
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  HWND editor = OpenEditor(main, 2);
  ASSERT_NE(editor, nullptr);
  Type(Item(editor, memorial::kTitleField), "提醒");
  HWND days = Item(editor, memorial::kDateListBase + day::kGregorianDay);
  for (int i = 0; i < 21; ++i) {
    ChooseItem(days, i);
    Click(Item(editor, kAddBase + memorial::kGregorianRow));
  }
  EXPECT_EQ(Lines(editor).size(), 20u);
  EXPECT_EQ(TextOf(Item(editor, memorial::kStatus)), memorial::kReminderLimitText);
  SaveShot(editor, "reminders-full");
  ASSERT_TRUE(SaveAndClose(editor));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tovani\\SolarReminded", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD values = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  EXPECT_EQ(values, 20u);
  EXPECT_TRUE(CloseAndWait(main));
}

// Registry use off: nothing is listed and every control but the cancel
// button is off.
TEST_F(MemorialWindowTest, RegistryUseOffLeavesOnlyCancel) {
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  HWND editor = OpenEditor(main, 1);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(Lines(editor).empty());
  for (const ControlPlace& p : memorial::kPlaces) {
    if (p.id == memorial::kAudioSink || p.id == memorial::kStatus) continue;
    EXPECT_EQ(IsWindowEnabled(Item(editor, p.id)) != FALSE, p.id == memorial::kCancel) << p.id;
  }
  Click(Item(editor, memorial::kCancel));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  EXPECT_TRUE(CloseAndWait(main));
}

// A write the registry refuses (a key that cannot be created under a volatile
// one): the stored record is as it was, the editor stays open with its list
// and says why.
TEST_F(MemorialWindowTest, ARefusedWriteKeepsTheRecordsAndTheEditor) {
  const auto volatileKey = [](const wchar_t* path, const wchar_t* name, const std::wstring& data) {
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &h,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
  };
  volatileKey(L"Software\\Tovani", L"Version", L"4.1");
  const std::wstring stored = L"AD2000            母亲生日";
  volatileKey(L"Software\\Tovani\\SolarMemorial", L"05-01", stored);
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  HWND editor = OpenEditor(main, 1);
  ASSERT_NE(editor, nullptr);
  ASSERT_EQ(Lines(editor).size(), 1u);
  // The stored day's title changed (written first), and a lunar day added
  // (its key cannot be created).
  ChooseLine(editor, 0);
  Type(Item(editor, memorial::kTitleField), "改过的");
  Click(Item(editor, kAddBase + memorial::kGregorianRow));
  Click(Item(editor, kAddBase + memorial::kLunarRow));
  const std::vector<std::string> listed = Lines(editor);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_NE(listed[0].find("改过的"), std::string::npos);
  Click(Item(editor, memorial::kSave));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Item(editor, memorial::kStatus)) == memorial::kSaveFailedText; }, 5000));
  EXPECT_TRUE(IsWindow(editor));
  EXPECT_EQ(Lines(editor), listed);
  wchar_t data[256] = {};
  DWORD size = sizeof data;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tovani\\SolarMemorial", L"05-01", RRF_RT_REG_SZ, nullptr, data,
                         &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(data), stored);
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tovani\\LunarMemorial", 0, KEY_READ, &key), ERROR_SUCCESS);
  Click(Item(editor, memorial::kCancel));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  EXPECT_TRUE(CloseAndWait(main));
}

// ---- The audio field ----

// A WAVE file of silence: 8 kHz, 8 bits, mono.
void WriteSilence(const std::wstring& path, int milliseconds) {
  const DWORD samples = static_cast<DWORD>(8 * milliseconds);
  struct Header {
    char riff[4];
    DWORD size;
    char wave[4], fmt[4];
    DWORD fmtSize;
    WORD format, channels;
    DWORD rate, bytesPerSecond;
    WORD align, bits;
    char data[4];
    DWORD dataSize;
  } h{{'R', 'I', 'F', 'F'}, 36 + samples, {'W', 'A', 'V', 'E'}, {'f', 'm', 't', ' '}, 16, 1, 1, 8000, 8000, 1, 8,
      {'d', 'a', 't', 'a'}, samples};
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, &h, sizeof h, &written, nullptr);
  const std::string silence(samples, '\x80');
  WriteFile(f, silence.data(), samples, &written, nullptr);
  CloseHandle(f);
}

// Drops a file on a window of the program as the shell would: the drop data
// (DROPFILES and the path in UTF-16) lies in the program's memory, where a
// fixed global memory block is its own address.  Under Wine only: freeing
// the block afterwards is harmless there.
bool DropFile(HWND target, DWORD pid, const std::wstring& path) {
  std::vector<BYTE> data(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t), 0);
  auto* files = reinterpret_cast<DROPFILES*>(data.data());
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::memcpy(data.data() + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return false;
  void* remote = VirtualAllocEx(process, nullptr, data.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool copied = remote != nullptr && WriteProcessMemory(process, remote, data.data(), data.size(), nullptr);
  CloseHandle(process);
  if (!copied) return false;
  Send(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  return true;
}

// The open-file dialog of the program: its window, once it shows.
HWND FileDialog(DWORD pid) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND h : WindowsOf(pid, L"#32770")) {
      if (IsWindowVisible(h)) found = h;
    }
    return found != nullptr;
  }, 10000);
  return found;
}

// A file chosen in the dialog by its name, as typed into its name field.
void ChooseInDialog(HWND dialog, const std::wstring& path) {
  HWND name = GetDlgItem(dialog, 0x47c);  // cmb13, the name combo box
  if (name == nullptr) name = GetDlgItem(dialog, 0x480);  // edt1
  ASSERT_NE(name, nullptr);
  Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// Paths of any language: one that code page 936 can write is taken from the
// dialog and from a drop; one that it cannot is refused, never mangled.  The
// audition plays the file, pauses and resumes it, and ends by itself.
TEST_F(MemorialWindowTest, TheAudioField) {
  const std::wstring folder = L"C:\\tovani-memorial-测试";
  const std::wstring chinese = folder + L"\\一段 音乐.wav", thai = folder + L"\\เพลง.wav";
  CreateDirectoryW(folder.c_str(), nullptr);
  WriteSilence(chinese, 1500);
  WriteSilence(thai, 100);
  SeedSettings({{L"Version", L"4.1"}});
  HWND main = Start(L"TOVANI_DFORM");
  ASSERT_NE(main, nullptr);
  HWND editor = OpenEditor(main, 1);
  ASSERT_NE(editor, nullptr);
  HWND field = Item(editor, memorial::kAudioField);
  const DWORD pid = program_->id();

  PostMessageW(editor, WM_COMMAND, MAKEWPARAM(memorial::kChooseAudio, BN_CLICKED),
               reinterpret_cast<LPARAM>(Item(editor, memorial::kChooseAudio)));
  HWND dialog = FileDialog(pid);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(dialog), "选择音频文件");
  HWND types = GetDlgItem(dialog, 0x470);  // cmb1, the file types
  ASSERT_NE(types, nullptr);
  std::vector<std::string> kinds;
  for (int i = 0; i < ListOf(types).count; ++i) kinds.push_back(ItemOf(types, i));
  EXPECT_EQ(kinds, (std::vector<std::string>{"音频文件", "MID 文件", "MP3 文件", "WAV 文件", "WMA 文件"}));
  ChooseInDialog(dialog, chinese);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(field) == Narrow(chinese); }, 10000)) << TextOf(field);
  PostMessageW(editor, WM_COMMAND, MAKEWPARAM(memorial::kChooseAudio, BN_CLICKED),
               reinterpret_cast<LPARAM>(Item(editor, memorial::kChooseAudio)));
  dialog = FileDialog(pid);
  ASSERT_NE(dialog, nullptr);
  ChooseInDialog(dialog, thai);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) == FALSE && !IsWindow(dialog); }, 10000));
  EXPECT_EQ(TextOf(field), Narrow(chinese));  // the field as it was

  if (UnderWine()) {
    Type(field, "");
    ASSERT_TRUE(DropFile(editor, pid, chinese));
    EXPECT_EQ(TextOf(field), Narrow(chinese));
    ASSERT_TRUE(DropFile(editor, pid, thai));
    EXPECT_EQ(TextOf(field), "");  // emptied
    ASSERT_TRUE(DropFile(editor, pid, chinese));
    EXPECT_EQ(TextOf(field), Narrow(chinese));
  } else {
    // Windows frees the drop data from its own heap, where it does not lie.
    std::printf("dropped files are checked under Wine only\n");
  }

  // The line keeps the path after the title.
  Type(Item(editor, memorial::kTitleField), "有声");
  Click(Item(editor, kAddBase + memorial::kGregorianRow));
  ASSERT_EQ(Lines(editor).size(), 1u);
  EXPECT_EQ(memorial::FieldsOfLine(Lines(editor)[0])->audio, Narrow(chinese));

  HWND audition = Item(editor, memorial::kAudition), pause = Item(editor, memorial::kPause);
  Click(audition);
  if (TextOf(audition) == "试听") {
    std::printf("the MCI player could not open the file here: the audition is not checked\n");
  } else {
    EXPECT_EQ(TextOf(audition), "结束");
    EXPECT_EQ(TextOf(pause), "暂停");
    Click(pause);
    EXPECT_EQ(TextOf(pause), "播放");
    Click(pause);
    EXPECT_EQ(TextOf(pause), "暂停");
    const LARGE_INTEGER start = Now();
    EXPECT_TRUE(WaitUntil([&] { return TextOf(audition) == "试听"; }, 10000));  // the end closes the player
    std::printf("a 1.5 s file ended after %.0f ms\n", MsSince(start));
    EXPECT_EQ(TextOf(audition), "试听");
    EXPECT_EQ(TextOf(pause), "播放");
  }
  Click(Item(editor, memorial::kCancel));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
  EXPECT_TRUE(CloseAndWait(main));
  DeleteFileW(chinese.c_str());
  DeleteFileW(thai.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace tovani::testing_win32
