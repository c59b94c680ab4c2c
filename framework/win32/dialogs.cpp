#include "framework/win32/dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>

#include "framework/win32/shown.h"
#include "framework/win32/wide.h"

namespace tovani::win32 {

bool Ask(HWND owner, const std::string& text, const std::string& caption, bool defaultYes) {
  const UINT type = MB_YESNO | MB_ICONQUESTION | (defaultYes ? MB_DEFBUTTON1 : MB_DEFBUTTON2);
  return MessageBoxW(owner, Shown(text).c_str(), Shown(caption).c_str(), type) == IDYES;
}

void Tell(HWND owner, const std::string& text, const std::string& caption) {
  MessageBoxW(owner, Shown(text).c_str(), Shown(caption).c_str(), MB_OK | MB_ICONWARNING);
}

std::string ChooseOpenFile(HWND owner, const std::string& title, const std::vector<FileFilter>& filters,
                           const std::string& folder) {
  const std::wstring file = ChooseFilePath(owner, false, title, filters, L"", nullptr, Wide(folder));
  // A path with characters outside code page 936 could not be opened again.
  const std::string narrow = Narrow(file);
  return Wide(narrow) == file ? narrow : std::string();
}

std::wstring ChooseFilePath(HWND owner, bool save, const std::string& title, const std::vector<FileFilter>& filters,
                            const std::wstring& suggestedName, const wchar_t* defaultExtension,
                            const std::wstring& folder) {
  std::wstring filter;  // name, patterns, ..., each ending in a zero, then one more
  for (const FileFilter& f : filters) filter += Shown(f.name) + L'\0' + Wide(f.patterns) + L'\0';
  filter += L'\0';
  std::wstring file(32768, L'\0');
  file.replace(0, std::min(suggestedName.size(), file.size() - 1), suggestedName);
  const std::wstring wideTitle = Shown(title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = wideTitle.c_str();
  ofn.lpstrDefExt = defaultExtension;
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return {};
  file.resize(wcslen(file.c_str()));
  return file;
}

}  // namespace tovani::win32
