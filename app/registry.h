// The registry, as the program uses it: text values (code page 936 bytes)
// under keys of two roots.  The store behind it is the real Windows registry
// in the program and an in-memory one with the same rules in the tests.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tovani {

enum class RegistryRoot { kCurrentUser, kLocalMachine };

// The program's keys.  The auto-run value is the current user's; the
// machine's Run key is only cleaned of it.
inline constexpr const char* kSettingsKey = "Software\\Tovani";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Tovani";

// Values are read into a buffer of this many bytes; a longer value reads as
// nothing, and a write stores at most this many bytes.
inline constexpr std::size_t kRegistryValueBytes = 1024;

// What a store can do.  Paths use "\" between keys; "" names a key's unnamed
// value.  Only a write tells whether it succeeded; the other calls fail
// silently.
class RegistryStore {
 public:
  virtual ~RegistryStore() = default;
  // The text of a string value; nothing when the key or value is missing,
  // the value is not text, or it is longer than kRegistryValueBytes.
  virtual std::optional<std::string> Get(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // The key exists, whatever it holds.  When that cannot be told, true.
  virtual bool KeyExists(RegistryRoot root, const std::string& key) = 0;
  // Creates the key (and those above it) when needed.  False when the value
  // could not be stored (the key could not be created or opened for writing,
  // or the write was refused); the value then is as it was.
  virtual bool Set(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) = 0;
  // The names of the key's values, of any type, as they are spelled in the
  // store; none when the key is missing.
  virtual std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) = 0;
  // The names of the key's sub-keys (one level), as spelled in the store;
  // none when the key is missing.
  virtual std::vector<std::string> SubKeyNames(RegistryRoot root, const std::string& key) = 0;
  // A key that still has sub-keys is not deleted.
  virtual void RemoveKey(RegistryRoot root, const std::string& key) = 0;
  virtual void RemoveValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
};

// The four primitives every part of the program uses.
std::string ReadRegistryText(RegistryStore& store, RegistryRoot root, const std::string& subKey,
                             const std::string& valueName);
// "" or "0" removes the value instead of storing it.  False when a value to
// store was not stored (a removal always counts as done).
bool WriteRegistryText(RegistryStore& store, RegistryRoot root, const std::string& subKey,
                       const std::string& valueName, const std::string& text);
void DeleteRegistryKey(RegistryStore& store, RegistryRoot root, const std::string& subKey);
void DeleteRegistryValue(RegistryStore& store, RegistryRoot root, const std::string& subKey,
                         const std::string& valueName);

// A key or value name as the registry compares them: ASCII letters in upper
// case; in code page 936 a byte of 0x80 or more starts a two-byte character
// whose second byte may look like a letter, and is left alone.
std::string FoldRegistryName(const std::string& name);

// An in-memory store with the registry's rules: key and value names compare
// without regard to ASCII letter case, keys with sub-keys cannot be deleted,
// and values longer than kRegistryValueBytes do not read back.
class MemoryRegistry : public RegistryStore {
 public:
  std::optional<std::string> Get(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool KeyExists(RegistryRoot root, const std::string& key) override { return HasKey(root, key); }
  bool Set(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) override;
  std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) override;
  std::vector<std::string> SubKeyNames(RegistryRoot root, const std::string& key) override;
  void RemoveKey(RegistryRoot root, const std::string& key) override;
  void RemoveValue(RegistryRoot root, const std::string& key, const std::string& name) override;

  // A value that is not text (a number or binary data, as another program
  // may leave): it reads as nothing.
  void SetNonText(RegistryRoot root, const std::string& key, const std::string& name);
  bool HasKey(RegistryRoot root, const std::string& key) const;
  // Every value as root, key and name, for a whole look at the store; a value
  // that is not text shows as kNonTextShown.
  std::map<std::string, std::string> Values() const;
  static constexpr const char* kNonTextShown = "<not text>";

 private:
  struct Value {
    std::string text;
    bool isText = true;
  };
  std::string Path(RegistryRoot root, const std::string& key) const;
  void Store(RegistryRoot root, const std::string& key, const std::string& name, Value value);
  std::set<std::string> keys_;                                   // folded paths
  std::map<std::string, std::map<std::string, Value>> values_;   // folded path -> folded name -> value
  std::map<std::string, std::string> spelling_;                  // folded path or name -> as first written
};

}  // namespace tovani
