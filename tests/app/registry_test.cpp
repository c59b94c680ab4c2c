#include "app/registry.h"

#include <gtest/gtest.h>

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

TEST(RegistryPrimitives, WritingEmptyOrZeroRemovesTheValue) {
  MemoryRegistry r;
  WriteRegistryText(r, kUser, kSettingsKey, "FormLeft", "120.0");
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "FormLeft"), "120.0");
  WriteRegistryText(r, kUser, kSettingsKey, "FormLeft", "0");
  EXPECT_EQ(r.Get(kUser, kSettingsKey, "FormLeft"), std::nullopt);
  WriteRegistryText(r, kUser, kSettingsKey, "Flag", "1");
  WriteRegistryText(r, kUser, kSettingsKey, "Flag", "");
  EXPECT_EQ(r.Get(kUser, kSettingsKey, "Flag"), std::nullopt);
  // "0.0" is not "0": it is stored.
  WriteRegistryText(r, kUser, kSettingsKey, "FormTop", "0.0");
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "FormTop"), "0.0");
  // Deleting what is not there is silent.
  DeleteRegistryValue(r, kUser, "Software\\Nowhere", "x");
  DeleteRegistryKey(r, kUser, "Software\\Nowhere");
  EXPECT_EQ(ReadRegistryText(r, kUser, "Software\\Nowhere", "x"), "");
}

TEST(RegistryPrimitives, KeysWithSubKeysStay) {
  MemoryRegistry r;
  WriteRegistryText(r, kUser, "Software\\Tovani\\SolarReminded", "A", "AD05-01-2008");
  WriteRegistryText(r, kUser, kSettingsKey, "Version", "4.1");
  DeleteRegistryKey(r, kUser, kSettingsKey);
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "Version"), "4.1");
  DeleteRegistryKey(r, kUser, "Software\\Tovani\\SolarReminded");
  DeleteRegistryKey(r, kUser, kSettingsKey);
  EXPECT_FALSE(r.HasKey(kUser, kSettingsKey));
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "Version"), "");
}

TEST(RegistryPrimitives, NamesIgnoreLetterCaseAndLongValuesDoNotRead) {
  MemoryRegistry r;
  WriteRegistryText(r, kUser, "software\\tovani", "version", "4.1");
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "Version"), "4.1");
  // Two-byte characters whose second byte looks like a letter are not folded.
  WriteRegistryText(r, kUser, kSettingsKey, "\x81\x61", "a");
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "\x81\x41"), "");
  // A value of 1024 bytes reads back; a longer one is cut on writing.
  const std::string full(kRegistryValueBytes, 'x');
  WriteRegistryText(r, kUser, kSettingsKey, "Long", full + "yz");
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "Long"), full);
  r.Set(kUser, kSettingsKey, "TooLong", full + "y");
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "TooLong"), "");
  // A stored zero byte ends the text.
  r.Set(kUser, kSettingsKey, "Zero", std::string("ab\0cd", 5));
  EXPECT_EQ(ReadRegistryText(r, kUser, kSettingsKey, "Zero"), "ab");
  // Writes succeed; the names of a key's values read back as first spelled.
  EXPECT_TRUE(r.Set(kUser, "Software\\Names", "b", "2"));
  EXPECT_TRUE(WriteRegistryText(r, kUser, "Software\\Names", "A", "1"));
  r.SetNonText(kUser, "Software\\Names", "C");
  WriteRegistryText(r, kUser, "Software\\Names", "B", "3");
  EXPECT_EQ(r.ValueNames(kUser, "Software\\Names"), (std::vector<std::string>{"A", "b", "C"}));
  EXPECT_TRUE(r.ValueNames(kUser, "Software\\Nowhere").empty());
  // The machine root is a root of its own.
  EXPECT_EQ(ReadRegistryText(r, RegistryRoot::kLocalMachine, kSettingsKey, "Version"), "");
}

}  // namespace
}  // namespace tovani
