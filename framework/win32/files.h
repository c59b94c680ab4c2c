// Whole files read and written by their wide paths (any characters).
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tovani::win32 {

// A whole file's bytes; nothing when it cannot be read or holds more than
// most bytes.
std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t most);
// Writes a whole file: first beside it under another name, then in its
// place, so that a failed write leaves the file that was there.  False when
// it could not be written.
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);

}  // namespace tovani::win32
