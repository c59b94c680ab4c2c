// The Windows registry behind the program's registry primitives.  Values are
// stored as Unicode text through the W functions, converted from and to code
// page 936 by the program itself, so they read back the same on a Windows of
// any language.
#pragma once

#include "app/registry.h"

namespace tovani {

class Win32Registry : public RegistryStore {
 public:
  std::optional<std::string> Get(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool KeyExists(RegistryRoot root, const std::string& key) override;
  bool Set(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) override;
  std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) override;
  std::vector<std::string> SubKeyNames(RegistryRoot root, const std::string& key) override;
  void RemoveKey(RegistryRoot root, const std::string& key) override;
  void RemoveValue(RegistryRoot root, const std::string& key, const std::string& name) override;
};

}  // namespace tovani
