// The program's dialogs of the system: message boxes and the file dialogs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tovani::win32 {

// Message boxes of the program, owned by a window (program text).  Ask: "是"
// and "否", true for "是"; defaultYes chooses the button Enter presses.
bool Ask(HWND owner, const std::string& text, const std::string& caption, bool defaultYes);
void Tell(HWND owner, const std::string& text, const std::string& caption);

// A filter of the open-file dialog: its name and patterns ("*.MP3;*.WAV").
struct FileFilter {
  std::string name, patterns;
};

// An open-file dialog (program text) with its filters, the first chosen; ""
// when cancelled.
std::string ChooseOpenFile(HWND owner, const std::string& title, const std::vector<FileFilter>& filters,
                           const std::string& folder);

// A file dialog for a file to read (save false) or to write (save true,
// asking before it replaces a file), with its filters, the first chosen, the
// extension added to a name typed without one (none: nullptr), and the folder
// it opens in (empty: the system's choice).  The path as the system gives it
// (any characters); empty when cancelled.
std::wstring ChooseFilePath(HWND owner, bool save, const std::string& title, const std::vector<FileFilter>& filters,
                            const std::wstring& suggestedName, const wchar_t* defaultExtension,
                            const std::wstring& folder = L"");

}  // namespace tovani::win32
