// The stored settings files against the platform's own profile functions:
// the golden files are what WritePrivateProfileStringA writes for the same
// keys in the same order, and what our readers load from them is what
// GetPrivateProfileStringA reads.
#include "spelling/core/configuration.h"
#include "testing/test-files.h"
#include "spelling/core/user-dictionary.h"

#include "testing/test-paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using testing_support::readFile;

using Key = std::pair<std::string, std::string>;

// Writes the keys in order into a new file with the platform's function
// and answers the file's bytes.
std::string writtenByPlatform(const std::string &name,
                              const std::vector<std::pair<std::string, Key>> &keys) {
  std::string path = testing_support::scratchPath(name);
  DeleteFileA(path.c_str());
  for (const auto &key : keys)
    EXPECT_TRUE(WritePrivateProfileStringA(key.first.c_str(), key.second.first.c_str(),
                                           key.second.second.c_str(), path.c_str()))
        << key.second.first;
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); // flush the cache
  std::string bytes = readFile(path);
  DeleteFileA(path.c_str());
  return bytes;
}

std::string profileString(const std::string &path, const char *section, const std::string &key) {
  char buffer[512];
  GetPrivateProfileStringA(section, key.c_str(), "", buffer, sizeof buffer, path.c_str());
  return buffer;
}

TEST(SettingsProfile, GoldenConfigurationIsWhatThePlatformWrites) {
  std::vector<std::pair<std::string, Key>> keys;
  auto add = [&](const char *key, const char *value) { keys.push_back({"verba", {key, value}}); };
  add("ID", "1");
  add("U_MU_DCT_ListCount", "2");
  add("U_MU_DCT_0", "TC:\\Lexitray\\english.dct");
  add("U_MU_DCT_1", "FC:\\Lexitray\\medical.dct");
  add("M_DCT_ListCount", "2");
  add("M_DCT_0", "English (US)");
  add("M_DCT_1", "Medical and Science Terms");
  add("U_DCT_ListCount", "1");
  add("U_DCT_0", "TC:\\Lexitray\\default.udt");
  for (const char *key : {"soUpcase", "soNumbers"})
    add(key, "0");
  for (const char *key : {"soAutoSuggest", "soPrimaryOnly", "soRecheck", "soRepeated"})
    add(key, "1");
  add("soDualCaps", "0");
  add("soHTML", "0");
  add("soInternet", "1");
  for (const char *key : {"soQuoted", "soUser1", "soUser2", "soUser3", "soUser4"})
    add(key, "0");
  add("UserIndex", "0");
  std::string golden = readFile(testing_support::sourcePath("spelling/tests/golden/VERBA.CFG"));
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(writtenByPlatform("profile-verba.cfg", keys), golden);
}

TEST(SettingsProfile, GoldenUserDictionaryIsWhatThePlatformWrites) {
  std::vector<std::pair<std::string, Key>> keys = {
      {"Added", {"IGN_ListCount", "4"}},       {"Added", {"IGN_0", "colour"}},
      {"Added", {"IGN_1", "Lexitray"}},        {"Added", {"IGN_2", "na\xEFve"}},
      {"Added", {"IGN_3", "O'Brien"}},         {"Auto Correct", {"AC_ListCount", "2"}},
      {"Auto Correct", {"AC_0", "teh@@@the"}}, {"Auto Correct", {"AC_1", "recieve@@@receive"}}};
  std::string golden = readFile(testing_support::sourcePath("spelling/tests/golden/user.udt"));
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(writtenByPlatform("profile-user.udt", keys), golden);
}

TEST(SettingsProfile, UserDictionaryLoadsWhatThePlatformReads) {
  std::string path = testing_support::sourcePath("spelling/tests/golden/user.udt");
  spelling::TUserDictionary dictionary(path);
  const components::TStringList &words = dictionary.Words();
  ASSERT_EQ(std::to_string(words.Count()), profileString(path, "Added", "IGN_ListCount"));
  for (int i = 0; i < words.Count(); ++i)
    EXPECT_EQ(words[i], profileString(path, "Added", "IGN_" + std::to_string(i)));
  for (int i = 0; i < dictionary.AutoCorrectWords().Count(); ++i)
    EXPECT_EQ(dictionary.AutoCorrectWords()[i] + "@@@" + dictionary.AutoCorrectReplacements()[i],
              profileString(path, "Auto Correct", "AC_" + std::to_string(i)));
}

} // namespace
