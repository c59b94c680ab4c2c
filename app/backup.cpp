#include "app/backup.h"

#include <cstdio>
#include <optional>

#include "app/settings.h"
#include "framework/codepage.h"

namespace tovani {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr const char* kHeadingStart = "# Tovani ";
constexpr const char* kHeadingEnd = " records and settings";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsEscaped(unsigned char c) { return c < 0x20 || c == 0x7F || c == '%'; }

std::string Escape(std::string_view text) {
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsEscaped(c)) {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    } else {
      out += ch;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A field back to its bytes; nothing when a "%" is not followed by two
// hexadecimal digits or a byte that must be escaped stands unescaped.
std::optional<std::string> Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      if (IsEscaped(static_cast<unsigned char>(field[i]))) return std::nullopt;
      out += field[i];
      continue;
    }
    const int high = i + 1 < field.size() ? HexDigit(field[i + 1]) : -1;
    const int low = i + 2 < field.size() ? HexDigit(field[i + 2]) : -1;
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

// A UTF-8 text of the file as the program's code page 936 text; nothing when
// it is not UTF-8 or holds a character the code page lacks.
std::optional<std::string> FromUtf8(const std::string& utf8) {
  std::string gbk = Utf8ToCp936(utf8);
  if (Cp936ToUtf8(gbk) != utf8) return std::nullopt;
  return gbk;
}

// The key's path is the settings key or a key below it.
bool IsOwnKey(const std::string& key) {
  const std::string own = FoldRegistryName(kSettingsKey), folded = FoldRegistryName(key);
  if (folded == own) return true;
  return folded.size() > own.size() + 1 && folded.compare(0, own.size() + 1, own + "\\") == 0 &&
         folded.back() != '\\' && folded.find("\\\\") == std::string::npos;
}

void AppendKey(RegistryStore& registry, const std::string& key, std::string& out) {
  for (const std::string& name : registry.ValueNames(kUser, key)) {
    if (!registry.Get(kUser, key, name)) continue;  // not text
    const std::string text = ReadRegistryText(registry, kUser, key, name);
    out += Escape(Cp936ToUtf8(key)) + "\t" + Escape(Cp936ToUtf8(name)) + "\t" + Escape(Cp936ToUtf8(text)) + "\r\n";
  }
  for (const std::string& sub : registry.SubKeyNames(kUser, key)) AppendKey(registry, key + "\\" + sub, out);
}

std::string LineRefusal(std::size_t lineNumber, const std::string& what) {
  return "第 " + std::to_string(lineNumber) + " 行" + what;
}

}  // namespace

std::string BackupHeading() { return std::string(kHeadingStart) + kVersionText + kHeadingEnd; }

std::string BackupText(RegistryStore& registry) {
  std::string out = BackupHeading() + "\r\n";
  AppendKey(registry, kSettingsKey, out);
  return out;
}

BackupContents ReadBackup(std::string_view file) {
  BackupContents contents;
  const auto refuse = [&contents](std::string reason) {
    contents.values.clear();
    contents.refusal = std::move(reason);
    return contents;
  };
  if (file.substr(0, kByteOrderMark.size()) == kByteOrderMark) file.remove_prefix(kByteOrderMark.size());
  std::size_t lineNumber = 0;
  bool headed = false;
  while (!file.empty()) {
    const std::size_t end = file.find('\n');
    std::string_view line = file.substr(0, end);
    file.remove_prefix(end == std::string_view::npos ? file.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNumber;
    if (!headed) {
      if (line != BackupHeading()) {
        const bool ours = line.substr(0, std::string_view(kHeadingStart).size()) == kHeadingStart;
        return refuse(ours ? "文件来自另一版本的程序" : "不是本程序导出的记录和设置文件");
      }
      headed = true;
      continue;
    }
    if (line.empty()) continue;
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos || line.find('\t', tab2 + 1) != std::string_view::npos) {
      return refuse(LineRefusal(lineNumber, "不是“键<Tab>名称<Tab>数据”"));
    }
    const auto key = Unescape(line.substr(0, tab1));
    const auto name = Unescape(line.substr(tab1 + 1, tab2 - tab1 - 1));
    const auto text = Unescape(line.substr(tab2 + 1));
    if (!key || !name || !text) return refuse(LineRefusal(lineNumber, "有不完整的 % 转义或未转义的控制字符"));
    BackupValue value;
    const auto gbkKey = FromUtf8(*key), gbkName = FromUtf8(*name), gbkText = FromUtf8(*text);
    if (!gbkKey || !gbkName || !gbkText) return refuse(LineRefusal(lineNumber, "有不能保存的字符"));
    if (!IsOwnKey(*gbkKey)) return refuse(LineRefusal(lineNumber, "的键不属于本程序"));
    if (gbkText->size() > kRegistryValueBytes) return refuse(LineRefusal(lineNumber, "的数据太长"));
    if (FoldRegistryName(*gbkKey) == FoldRegistryName(kSettingsKey) && FoldRegistryName(*gbkName) == "VERSION" &&
        *gbkText != kVersionText) {
      return refuse(LineRefusal(lineNumber, "的版本不是 " + std::string(kVersionText)));
    }
    contents.values.push_back({*gbkKey, *gbkName, *gbkText});
  }
  if (!headed) return refuse("不是本程序导出的记录和设置文件");
  return contents;
}

bool RestoreBackup(RegistryStore& registry, const std::vector<BackupValue>& values) {
  std::vector<BackupValue> all = values;
  all.push_back({kSettingsKey, "Version", kVersionText});
  struct Before {
    const BackupValue* value;
    std::optional<std::string> text;
  };
  std::vector<Before> written;
  for (const BackupValue& v : all) {
    Before before{&v, registry.Get(kUser, v.key, v.name)};
    if (!registry.Set(kUser, v.key, v.name, v.text)) {
      for (auto w = written.rbegin(); w != written.rend(); ++w) {
        if (w->text) {
          registry.Set(kUser, w->value->key, w->value->name, *w->text);
        } else {
          registry.RemoveValue(kUser, w->value->key, w->value->name);
        }
      }
      return false;
    }
    written.push_back(std::move(before));
  }
  return true;
}

}  // namespace tovani
