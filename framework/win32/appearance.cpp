#include "framework/win32/appearance.h"

namespace tovani::win32 {

bool AppsUseDarkTheme() {
  DWORD value = 1, size = sizeof value;
  const LONG r = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                              L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &value, &size);
  return r == ERROR_SUCCESS && value == 0;
}

bool IsColourSetChange(UINT msg, LPARAM lParam) {
  if (msg != WM_SETTINGCHANGE || lParam == 0) return false;
  return lstrcmpiW(reinterpret_cast<const wchar_t*>(lParam), L"ImmersiveColorSet") == 0;
}

void UseDarkCaption(HWND window, bool dark) {
  // DWMWA_USE_IMMERSIVE_DARK_MODE; dwmapi is asked for at run time, as
  // Windows 7 has the library but not every attribute.
  using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static const SetAttribute set = [] {
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (dwm == nullptr) return SetAttribute{nullptr};
    return reinterpret_cast<SetAttribute>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")));
  }();
  if (set == nullptr || window == nullptr) return;
  const BOOL on = dark ? TRUE : FALSE;
  set(window, 20, &on, sizeof on);
}

void RepaintAll(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace tovani::win32
