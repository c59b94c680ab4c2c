#include "app/registry.h"

#include <utility>

namespace tovani {

std::string ReadRegistryText(RegistryStore& store, RegistryRoot root, const std::string& subKey,
                             const std::string& valueName) {
  std::string text = store.Get(root, subKey, valueName).value_or("");
  // The text up to its first zero byte.
  const auto zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return text;
}

bool WriteRegistryText(RegistryStore& store, RegistryRoot root, const std::string& subKey,
                       const std::string& valueName, const std::string& text) {
  if (text.empty() || text == "0") {
    DeleteRegistryValue(store, root, subKey, valueName);
    return true;
  }
  return store.Set(root, subKey, valueName, text.size() > kRegistryValueBytes ? text.substr(0, kRegistryValueBytes) : text);
}

void DeleteRegistryKey(RegistryStore& store, RegistryRoot root, const std::string& subKey) {
  store.RemoveKey(root, subKey);
}

void DeleteRegistryValue(RegistryStore& store, RegistryRoot root, const std::string& subKey,
                         const std::string& valueName) {
  store.RemoveValue(root, subKey, valueName);
}

// ---- MemoryRegistry ----

std::string FoldRegistryName(const std::string& name) {
  std::string out = name;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 0x80) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

std::string MemoryRegistry::Path(RegistryRoot root, const std::string& key) const {
  return std::string(root == RegistryRoot::kCurrentUser ? "HKCU" : "HKLM") + "\\" + FoldRegistryName(key);
}

std::optional<std::string> MemoryRegistry::Get(RegistryRoot root, const std::string& key, const std::string& name) {
  const auto k = values_.find(Path(root, key));
  if (k == values_.end()) return std::nullopt;
  const auto v = k->second.find(FoldRegistryName(name));
  if (v == k->second.end() || !v->second.isText || v->second.text.size() > kRegistryValueBytes) return std::nullopt;
  return v->second.text;
}

bool MemoryRegistry::Set(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) {
  Store(root, key, name, Value{text, true});
  return true;
}

std::vector<std::string> MemoryRegistry::ValueNames(RegistryRoot root, const std::string& key) {
  std::vector<std::string> names;
  const std::string path = Path(root, key);
  const auto k = values_.find(path);
  if (k == values_.end()) return names;
  for (const auto& [folded, value] : k->second) {
    const auto spelled = spelling_.find(path + "|" + folded);
    names.push_back(spelled != spelling_.end() ? spelled->second : folded);
  }
  return names;
}

std::vector<std::string> MemoryRegistry::SubKeyNames(RegistryRoot root, const std::string& key) {
  std::vector<std::string> names;
  const std::string prefix = Path(root, key) + "\\";
  for (auto k = keys_.lower_bound(prefix); k != keys_.end() && k->compare(0, prefix.size(), prefix) == 0; ++k) {
    if (k->find('\\', prefix.size()) != std::string::npos) continue;  // further down
    const auto spelled = spelling_.find(*k);
    const std::string& full = spelled != spelling_.end() ? spelled->second : *k;
    names.push_back(full.substr(full.rfind('\\') + 1));
  }
  return names;
}

void MemoryRegistry::SetNonText(RegistryRoot root, const std::string& key, const std::string& name) {
  Store(root, key, name, Value{"", false});
}

void MemoryRegistry::Store(RegistryRoot root, const std::string& key, const std::string& name, Value value) {
  // The key and every key above it come into being.
  for (std::size_t i = 0; i <= key.size(); ++i) {
    if (i == key.size() || key[i] == '\\') {
      const std::string path = Path(root, key.substr(0, i));
      keys_.insert(path);
      spelling_.emplace(path, key.substr(0, i));
    }
  }
  const std::string path = Path(root, key);
  values_[path][FoldRegistryName(name)] = std::move(value);
  spelling_.emplace(path + "|" + FoldRegistryName(name), name);
}

void MemoryRegistry::RemoveKey(RegistryRoot root, const std::string& key) {
  const std::string path = Path(root, key);
  if (keys_.count(path) == 0) return;
  const auto below = keys_.lower_bound(path + "\\");
  if (below != keys_.end() && below->compare(0, path.size() + 1, path + "\\") == 0) return;  // has sub-keys
  keys_.erase(path);
  values_.erase(path);
}

void MemoryRegistry::RemoveValue(RegistryRoot root, const std::string& key, const std::string& name) {
  const auto k = values_.find(Path(root, key));
  if (k != values_.end()) k->second.erase(FoldRegistryName(name));
}

bool MemoryRegistry::HasKey(RegistryRoot root, const std::string& key) const { return keys_.count(Path(root, key)) != 0; }

std::map<std::string, std::string> MemoryRegistry::Values() const {
  std::map<std::string, std::string> all;
  for (const auto& [path, values] : values_) {
    for (const auto& [name, value] : values) {
      const auto spelled = spelling_.find(path + "|" + name);
      all[path + "\\" + (spelled != spelling_.end() ? spelled->second : name)] =
          value.isText ? value.text : kNonTextShown;
    }
  }
  return all;
}

}  // namespace tovani
