#include "framework/win32/files.h"
#include "framework/win32/gdi.h"

namespace tovani::win32 {

std::optional<std::string> ReadWholeFile(const std::wstring& path, std::size_t most) {
  const KernelHandle file = OwnFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  HANDLE h = file.get();
  std::optional<std::string> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size) && size.QuadPart >= 0 && static_cast<unsigned long long>(size.QuadPart) <= most) {
    std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (data.empty() || (ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) &&
                         read == data.size())) {
      bytes = std::move(data);
    }
  }
  return bytes;
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  const std::wstring temporary = path + L".tovani-new";
  bool ok = false;
  {
    const KernelHandle file = OwnFile(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    ok = (bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                            written == bytes.size())) &&
         FlushFileBuffers(file.get());
  }  // closed before it takes the file's place
  if (!ok || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace tovani::win32
