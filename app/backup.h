// Records and settings in a text file, to keep them safe or to take them to
// another computer: every text value under the settings key and its sub-keys.
//
// The file is UTF-8.  Its first line names the program and the version of
// its settings; then one line per value: the key's path, a tab, the value's
// name, a tab, the value's text as stored.  In all three fields the bytes
// below 0x20, 0x7F and "%" are written as "%" and two hexadecimal digits, so
// a line holds exactly one value whatever it contains.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/registry.h"

namespace tovani {

// The first line of a file (without its line break).
std::string BackupHeading();

// The file's text of everything stored under the settings key now.  Values
// that are not text are left out.
std::string BackupText(RegistryStore& registry);

// One value of a file, as the program stores it (code page 936).
struct BackupValue {
  std::string key, name, text;
  friend bool operator==(const BackupValue&, const BackupValue&) = default;
};

// What a file holds, or why it is not one of these files: a one-line reason
// (empty when the file was read).
struct BackupContents {
  std::vector<BackupValue> values;
  std::string refusal;
};
BackupContents ReadBackup(std::string_view fileText);

// Stores the values of a file, adding and replacing and removing nothing,
// and turns registry use on ("Version" is written last).  When a write is
// refused, the values written before it are put back as they were, and the
// answer is false.
bool RestoreBackup(RegistryStore& registry, const std::vector<BackupValue>& values);

}  // namespace tovani
