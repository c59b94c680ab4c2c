// The committed WAVE clips: every one present, in its encoding and length,
// and every name of the resource script pointing at one of them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "sound/clips.h"
#include "tests/sound/clip_expectations.h"

namespace tovani::sound::test {
namespace {

const std::string kResources = TOVANI_RESOURCES_DIR;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ClipFiles, EachClipHasItsEncodingAndLength) {
  std::size_t total = 0;
  for (const ClipExpectation& e : kClipExpectations) {
    SCOPED_TRACE(e.name);
    const std::string bytes = ReadFile(kResources + "/sounds/" + e.file);
    ASSERT_FALSE(bytes.empty()) << e.file;
    total += bytes.size();
    ExpectClipFormat(bytes, e);
  }
  EXPECT_LE(total, kMaxTotalClipBytes);
}

// A line of the script: name, blanks, WAVE, blanks, "sounds/" file in quotes.
bool ParseResourceLine(const std::string& text, std::string& name, std::string& file) {
  std::istringstream in(text);
  std::string type, quoted;
  if (!(in >> name >> type >> quoted) || type != "WAVE") return false;
  std::string rest;
  if (in >> rest) return false;
  const std::string prefix = "\"sounds/";
  if (quoted.size() <= prefix.size() + 1 || quoted.rfind(prefix, 0) != 0 || quoted.back() != '"') return false;
  file = quoted.substr(prefix.size(), quoted.size() - prefix.size() - 1);
  return true;
}

TEST(ClipFiles, TheResourceScriptNamesEveryClipOnce) {
  std::istringstream script(ReadFile(kResources + "/sounds.rc"));
  std::set<std::string> names;
  std::string text;
  int resources = 0;
  while (std::getline(script, text)) {
    if (text.empty() || text.rfind("//", 0) == 0) continue;
    std::string name, file;
    ASSERT_TRUE(ParseResourceLine(text, name, file)) << text;
    ++resources;
    names.insert(name);
    bool known = false;
    for (const ClipExpectation& e : kClipExpectations) {
      if (name == e.name) {
        EXPECT_EQ(file, e.file) << text;
        known = true;
      }
    }
    EXPECT_TRUE(known) << text;
  }
  EXPECT_EQ(resources, 25);
  EXPECT_EQ(names.size(), 25u);
  for (const char* clip : AllClips()) EXPECT_TRUE(names.count(clip)) << clip;
}

TEST(ClipFiles, TheProgramEmbedsTheScript) {
  const std::string rc = ReadFile(kResources + "/tovani.rc");
  EXPECT_NE(rc.find("#include \"sounds.rc\""), std::string::npos);
}

}  // namespace
}  // namespace tovani::sound::test
