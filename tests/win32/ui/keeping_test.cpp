// What the real tovani.exe keeps for its user: registry use is turned off
// only after a question that names what goes, a change made while it is off
// offers it once, and a save at the end that fails says so.
#include <windows.h>
#include <sddl.h>

#include "ui/menu/menu_model.h"
#include "views.h"

namespace tovani::testing_win32 {
namespace {

class Keeping : public ProgramTest {
 protected:
  // The next message box of the program says text (a picture of it is
  // taken as shot with TOVANI_SHOTS); it is answered.
  void ExpectAsked(const char* text, int button, const char* shot) {
    HWND box = WaitForMessageBox(program_->id());
    ASSERT_NE(box, nullptr) << text;
    EXPECT_EQ(MessageOf(box), text);
    SaveShot(box, shot);
    ASSERT_TRUE(Answer(box, button));
  }
  bool NotAsked(DWORD ms = 1500) { return WaitForMessageBox(program_->id(), ms) == nullptr; }
};

std::wstring StoredMemorial() {
  wchar_t data[256] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tovani\\SolarMemorial", L"05-01", RRF_RT_REG_SZ, nullptr, data,
                   &size) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return data;
}

// "否" leaves the records and the option as they were, also after the end;
// "是" removes them.
TEST_F(Keeping, RegistryUseIsTurnedOffOnlyAfterAQuestion) {
  const std::wstring memorial = L"AD2000            母亲生日";
  for (const int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDNO ? "否" : "是");
    SeedSettings({{L"Version", L"4.1"}});
    SeedSettings({{L"05-01", memorial}}, L"SolarMemorial");
    HWND hwnd = Start(L"TOVANI_DFORM");
    ASSERT_NE(hwnd, nullptr);
    PostMessageW(hwnd, WM_COMMAND, menu::kOptionRegistry, 0);
    ExpectAsked(menu::kRegistryOffQuestion, answer, "registry-off");
    Send(hwnd, WM_NULL);  // the command has run its course
    const bool kept = answer == IDNO;
    EXPECT_EQ(StoredMemorial(), kept ? memorial : L"<none>");
    EXPECT_EQ(StoredSetting(L"Version"), kept ? L"4.1" : L"<none>");
    ASSERT_TRUE(CloseAndWait(hwnd));
    EXPECT_EQ(StoredMemorial(), kept ? memorial : L"<none>");
    EXPECT_EQ(StoredSetting(L"Version"), kept ? L"4.1" : L"<none>");
    RemoveSettings();
  }
}

// A setting changed while registry use is off asks once whether to allow it:
// "是" turns it on at once, and the end keeps the setting; "否" keeps it off,
// and nothing more is asked in this run.
TEST_F(Keeping, AChangeWhileRegistryUseIsOffOffersItOnce) {
  for (const int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDNO ? "否" : "是");
    HWND hwnd = Start(L"TOVANI_DFORM");
    ASSERT_NE(hwnd, nullptr);
    Command(hwnd, menu::kAlwaysOnTop);  // not a kept setting: nothing asked
    EXPECT_TRUE(NotAsked());
    PostMessageW(hwnd, WM_COMMAND, menu::kOptionNearLocate, 0);
    ExpectAsked(menu::kKeepQuestion, answer, "keep");
    Send(hwnd, WM_NULL);
    const bool on = answer == IDYES;
    EXPECT_EQ(StoredSetting(L"Version"), on ? L"4.1" : L"<none>");
    PostMessageW(hwnd, WM_COMMAND, menu::kOptionGanZhiFromNewYear, 0);
    EXPECT_TRUE(NotAsked());
    ASSERT_TRUE(CloseAndWait(hwnd));
    EXPECT_EQ(StoredSetting(L"NearLocateMemorialFlag"), on ? L"1" : L"<none>");
    EXPECT_EQ(StoredSetting(L"GanZhiFromChunjieFlag"), on ? L"1" : L"<none>");
    RemoveSettings();
  }
}

// Writes under the settings key refused by its access list (values and keys
// alike), or allowed again.
void RefuseWrites(bool refuse) {
  HKEY h = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, WRITE_DAC, &h), ERROR_SUCCESS);
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      refuse ? L"D:(D;;0x6;;;WD)(A;;KA;;;WD)" : L"D:(A;;KA;;;WD)", SDDL_REVISION_1, &sd, nullptr));
  EXPECT_EQ(RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
  LocalFree(sd);
  RegCloseKey(h);
}

// A save that the registry refuses, at the close or at the end of the
// session: "设置未能保存" once, and the program still ends.
TEST_F(Keeping, AFailedSaveSaysSoOnceAndTheProgramStillEnds) {
  for (const UINT ending : {static_cast<UINT>(WM_CLOSE), static_cast<UINT>(WM_ENDSESSION)}) {
    SCOPED_TRACE(ending == WM_CLOSE ? "close" : "end of session");
    SeedSettings({{L"Version", L"4.1"}});
    HWND hwnd = Start(L"TOVANI_DFORM");
    ASSERT_NE(hwnd, nullptr);
    RefuseWrites(true);
    HKEY probe = nullptr;
    ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &probe), ERROR_SUCCESS);
    PostMessageW(hwnd, ending, TRUE, 0);
    ExpectAsked(menu::kSettingsNotSaved, IDOK, "not-saved");
    if (ending == WM_ENDSESSION) PostMessageW(hwnd, WM_CLOSE, 0, 0);  // saved once already: no second message
    EXPECT_EQ(program_->WaitForExit(20000), 0u);
    EXPECT_TRUE(NotAsked(0));
    RefuseWrites(false);
    RemoveSettings();
  }
}

}  // namespace
}  // namespace tovani::testing_win32
