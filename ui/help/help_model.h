// The help window's rules, without any Win32: its texts, the address of the
// page the version check reads, and what that page's answer says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovani::help {

// The program's version, as the settings store writes it ("4.1").
inline constexpr int kMajorVersion = 4, kMinorVersion = 1;

inline constexpr const char* kLineBreak = "\r\n";

// The pages, in the order of their tab labels.
enum Page : int { kFeatures = 0, kNotes, kHotKeys, kAbout, kPageCount };

// "功能", "说明", "快捷键", "关于"; "" for another number.
const char* PageLabel(int page);

// "青鹭万年历V4.1".
std::string VersionLine();

// The years the program covers: the calendar windows, and the tools (the
// calculator, the tables and the searches).
struct Coverage {
  std::int32_t firstYear = -103, lastYear = 4103, toolLastYear = 5000;
};

// The introduction: one paragraph that names the version and the calendar
// windows' years.
std::string Introduction(const Coverage& years = {});

// A page's paragraphs, each starting with four blanks, separated by line
// breaks; "" for another number.
std::string PageText(int page, const Coverage& years = {});

// ---- The version check ----

// The registry value (under the settings key) naming the page the check
// reads, "host[:port]/path".  Without a valid value no check is made.
inline constexpr const char* kVersionPageSetting = "VersionPage";

struct VersionPage {
  std::string host;
  std::uint16_t port = 80;
  std::string path = "/";

  // The host as it stands in an address: the name, with ":" and the port when
  // that is not 80.
  std::string Authority() const;
  // "http://" + authority + path.
  std::string Address() const;
  friend bool operator==(const VersionPage&, const VersionPage&) = default;
};

// The setting "host[:port][/path]".  Blanks around it and a leading
// "http://" are ignored; without a path it is "/".  Nothing for an empty
// setting, a host with other characters than letters, digits, ".", "-" and
// "_", a port outside 1..65535, a path with blanks, control or non-ASCII
// characters, or a host or path longer than their limits.
inline constexpr std::size_t kMaxHostBytes = 253, kMaxPathBytes = 512;
std::optional<VersionPage> ParseVersionPage(std::string_view setting);

// The request, every line ended by CR LF: "GET " + address + " HTTP/1.0",
// "Referer: http://" + authority + "/", "User-Agent: kpf HTTP FILE DOWNLOAD"
// and an empty line.
std::string VersionRequest(const VersionPage& page);

// The answer is read up to this many bytes; what arrived is read as the page.
inline constexpr std::size_t kAnswerLimit = std::size_t{1} << 20;  // 1 MiB

// A version number: one to three digits, then optionally "." and one to
// three digits ("4", "4.2", "4.10").
inline constexpr std::size_t kMaxVersionDigits = 3;

// The two version numbers compared as decimal numbers ("4.10" equals "4.1",
// "4.2" is greater): negative, zero or positive; nothing when either is not a
// version number.
std::optional<int> CompareVersions(std::string_view a, std::string_view b);

// The version number after the first mention of the product name (in GB2312
// or UTF-8) that is followed, after blanks and an optional "V", by one.
std::optional<std::string> FindVersion(std::string_view text);

// The version the page's answer names when it is newer than the program's
// own: the answer must be an HTTP status line of 200, its headers and an empty
// line, and then the page.
std::optional<std::string> NewerVersion(std::string_view answer);

// What the introduction gets when a newer version is found: a line break,
// "    下载" + version + "版→" + the page's address.
std::string NewVersionNote(std::string_view version, const VersionPage& page);

}  // namespace tovani::help
