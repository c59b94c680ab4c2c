#include "app/win32/registry_win32.h"

#include <windows.h>

#include <vector>

#include "framework/win32/wide.h"

namespace tovani {
namespace {

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// A value name; "" names the key's unnamed value.
const wchar_t* NameOrNull(const std::wstring& name) { return name.empty() ? nullptr : name.c_str(); }

}  // namespace

std::optional<std::string> Win32Registry::Get(RegistryRoot root, const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return std::nullopt;
  const std::wstring valueName = Wide(name);
  DWORD type = 0, bytes = 0;
  std::optional<std::string> text;
  if (RegQueryValueExW(h, NameOrNull(valueName), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && bytes <= 8 * kRegistryValueBytes) {
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = bytes;
    if (RegQueryValueExW(h, NameOrNull(valueName), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
        ERROR_SUCCESS) {
      const std::string gbk = Narrow(std::wstring(buffer.data(), size / sizeof(wchar_t)));
      if (gbk.size() <= kRegistryValueBytes) text = gbk;
    }
  }
  RegCloseKey(h);
  return text;
}

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& key) {
  HKEY h = nullptr;
  const LONG result = RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_QUERY_VALUE, &h);
  if (result == ERROR_SUCCESS) RegCloseKey(h);
  // A key that is there but may not be opened still exists.
  return result != ERROR_FILE_NOT_FOUND && result != ERROR_PATH_NOT_FOUND;
}

bool Win32Registry::Set(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) {
  HKEY h = nullptr;
  if (RegCreateKeyExW(RootKey(root), Wide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                      &h, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring valueName = Wide(name);
  const std::wstring data = Wide(text);
  const LONG result = RegSetValueExW(h, NameOrNull(valueName), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  return result == ERROR_SUCCESS;
}

std::vector<std::string> Win32Registry::ValueNames(RegistryRoot root, const std::string& key) {
  std::vector<std::string> names;
  HKEY h = nullptr;
  if (RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return names;
  std::vector<wchar_t> name(16384, L'\0');  // the longest value name, and its zero
  for (DWORD i = 0;; ++i) {
    DWORD size = static_cast<DWORD>(name.size());
    const LONG result = RegEnumValueW(h, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS) names.push_back(Narrow(std::wstring_view(name.data(), size)));
    else if (result != ERROR_MORE_DATA) break;
  }
  RegCloseKey(h);
  return names;
}

std::vector<std::string> Win32Registry::SubKeyNames(RegistryRoot root, const std::string& key) {
  std::vector<std::string> names;
  HKEY h = nullptr;
  if (RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &h) != ERROR_SUCCESS) return names;
  wchar_t name[256];  // the longest key name, and its zero
  for (DWORD i = 0;; ++i) {
    DWORD size = 256;
    const LONG result = RegEnumKeyExW(h, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS) names.push_back(Narrow(std::wstring_view(name, size)));
    else if (result != ERROR_MORE_DATA) break;
  }
  RegCloseKey(h);
  return names;
}

void Win32Registry::RemoveKey(RegistryRoot root, const std::string& key) {
  // Like the registry's own delete: a key with sub-keys stays.
  RegDeleteKeyW(RootKey(root), Wide(key).c_str());
}

void Win32Registry::RemoveValue(RegistryRoot root, const std::string& key, const std::string& name) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return;
  const std::wstring valueName = Wide(name);
  RegDeleteValueW(h, NameOrNull(valueName));
  RegCloseKey(h);
}

}  // namespace tovani
