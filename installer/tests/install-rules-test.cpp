// The uninstaller's road, the setup-information path, the old version's
// command and the growing loads of texts.
#include "installer/core/install-rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace installer;

namespace {

TEST(InstallRulesTest, UninstallPlan) {
  struct Case {
    const char *commandLine, *appPath;
    UninstallPlan plan;
    const char *section;
  };
  const Case cases[] = {
      {"safe", "C:\\P\\", UninstallPlan::RemoveSafely, "UninstallSafe"},
      {"SAFE", "C:\\P\\", UninstallPlan::RemoveSafely, "UninstallSafe"},
      {"Safe ", "C:\\P\\", UninstallPlan::RemoveSafely, "UninstallSafe"},
      {"", "C:\\P\\", UninstallPlan::AskFirst, "Uninstall"},
      {"safer", "C:\\P\\", UninstallPlan::AskFirst, "Uninstall"},
      {"sa", "C:\\P\\", UninstallPlan::AskFirst, "Uninstall"},
      {"", "", UninstallPlan::NothingInstalled, ""},
      {"safe", "", UninstallPlan::NothingInstalled, ""},
      {"safe", "  ", UninstallPlan::NothingInstalled, ""},
  };
  for (const Case &c : cases) {
    UninstallPlan plan = planUninstall(c.commandLine, c.appPath);
    EXPECT_EQ(plan, c.plan) << '"' << c.commandLine << "\" \"" << c.appPath << '"';
    EXPECT_STREQ(uninstallSection(plan), c.section);
  }
}

TEST(InstallRulesTest, InfPathUnderTheWindowsFolder) {
  EXPECT_EQ(uninstallInfPath("C:\\windows"), "C:\\windows\\inf\\Pixtune.inf");
  EXPECT_EQ(uninstallInfPath("C:\\"), "C:\\inf\\Pixtune.inf");
}

// Only the maker's folder above the plug-in folder is ours to remove.
TEST(InstallRulesTest, MakerFolderAbovePluginFolder) {
  const char *const cases[][2] = {
      {"C:\\Program Files\\Tarvos Technologies\\Pixtune plug-in\\",
       "C:\\Program Files\\Tarvos Technologies"},
      {"C:\\Program Files\\Tarvos Technologies\\Pixtune plug-in",
       "C:\\Program Files\\Tarvos Technologies"},
      {"D:\\TARVOS TECHNOLOGIES\\Plug\\", "D:\\TARVOS TECHNOLOGIES"},
      {"C:\\Editor\\Plug-ins\\", ""},
      {"C:\\Tarvos Technologies\\", ""},
      {"C:\\Old Tarvos Technologies\\Plug\\", ""},
      {"C:\\Plug", ""},
      {"", ""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(makerFolderOf(c[0]), c[1]) << c[0];
}

TEST(InstallRulesTest, OldVersionCommand) {
  EXPECT_EQ(uninstallCommand("\"C:\\windows\\Pixuns.exe\"", true),
            "\"C:\\windows\\Pixuns.exe\" safe");
  EXPECT_EQ(uninstallCommand("\"C:\\windows\\Pixuns.exe\"", false), "\"C:\\windows\\Pixuns.exe\"");
}

// A string table entry as LoadString serves it: cut to the buffer, always
// terminated, the count of characters copied returned.
struct FakeTable {
  std::string text;
  std::vector<int> sizes;
  int load(char *buffer, int size) {
    sizes.push_back(size);
    int copied = std::min<int>(static_cast<int>(text.size()), size - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(copied));
    buffer[copied] = '\0';
    return copied;
  }
};

TEST(InstallRulesTest, LoadsGrowByTwoHundredFiftySixBytes) {
  struct Case {
    std::size_t length;
    std::vector<int> sizes;
  };
  const Case cases[] = {
      {0, {512}},
      {20, {512}},
      {510, {512}},
      {511, {512, 768}},
      {767, {512, 768, 1024}},
      {1500, {512, 768, 1024, 1280, 1536}},
  };
  for (const Case &c : cases) {
    FakeTable table{std::string(c.length, 'q'), {}};
    SetupString text = loadGrowing([&](char *b, int s) { return table.load(b, s); });
    EXPECT_EQ(table.sizes, c.sizes) << c.length << " characters";
    EXPECT_EQ(std::string(text.c_str()), table.text);
  }
}

TEST(InstallRulesTest, MissingTextIsEmpty) {
  SetupString text = loadGrowing([](char *, int) { return 0; });
  EXPECT_TRUE(text.empty());
}

} // namespace
