// CreateFolderPath, FindPrefsIni and FindPluginsFolder over an in-memory
// file system that records every path looked at and created.
#include "installer/core/folder-rules.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace installer;

namespace {

class MemoryFileSystem : public FolderFileSystem {
public:
  std::map<std::string, PathKind> entries;
  std::set<std::string> failing;                    // createDirectory fails for these
  std::map<std::string, std::string> profileValues; // "file|section|key" -> value
  std::vector<std::string> looked, created;

  PathKind kindOf(const SetupString &path) override {
    looked.push_back(path.c_str());
    auto found = entries.find(withoutSlash(path.c_str()));
    return found == entries.end() ? PathKind::Missing : found->second;
  }
  bool createDirectory(const SetupString &path) override {
    created.push_back(path.c_str());
    std::string key = withoutSlash(path.c_str());
    if (failing.count(key) || entries.count(key))
      return false;
    entries[key] = PathKind::Directory;
    return true;
  }
  SetupString findFirstFile(const SetupString &pattern) override {
    std::string text = pattern.c_str();
    std::string folder = text.substr(0, text.rfind('\\') + 1);
    for (const auto &entry : entries) {
      const std::string &name = entry.first;
      if (entry.second == PathKind::File && name.compare(0, folder.size(), folder) == 0 &&
          name.find('\\', folder.size()) == std::string::npos &&
          name.compare(folder.size(), 5, "Photo") == 0 && name.size() >= 4 &&
          name.compare(name.size() - 4, 4, ".ini") == 0)
        return name.substr(folder.size()).c_str();
    }
    return SetupString();
  }
  SetupString readProfileString(const SetupString &file, const char *section, const char *key,
                                const SetupString &fallback) override {
    auto found = profileValues.find(std::string(file.c_str()) + "|" + section + "|" + key);
    return found == profileValues.end() ? fallback : SetupString(found->second.c_str());
  }

private:
  static std::string withoutSlash(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
      path.pop_back();
    return path;
  }
};

TEST(CreateFolderPathTest, CreatesMissingParentsInOrder) {
  MemoryFileSystem fs;
  fs.entries["C:\\"] = PathKind::Directory;
  fs.entries["C:\\Program Files"] = PathKind::Directory;
  EXPECT_TRUE(CreateFolderPath("C:\\Program Files\\Tarvos\\Plug-in", fs));
  EXPECT_EQ(fs.created, (std::vector<std::string>{"C:\\Program Files\\Tarvos\\",
                                                  "C:\\Program Files\\Tarvos\\Plug-in"}));
}

TEST(CreateFolderPathTest, ExistingFolderIsSuccessAtOnce) {
  MemoryFileSystem fs;
  fs.entries["C:\\Ready"] = PathKind::Directory;
  EXPECT_TRUE(CreateFolderPath("C:\\Ready", fs));
  EXPECT_EQ(fs.looked, std::vector<std::string>{"C:\\Ready"});
  EXPECT_TRUE(fs.created.empty());
}

TEST(CreateFolderPathTest, BlanksAreTrimmed) {
  MemoryFileSystem fs;
  fs.entries["C:\\"] = PathKind::Directory;
  EXPECT_TRUE(CreateFolderPath(" \t C:\\Target Folder\\Sub \r\n", fs));
  EXPECT_EQ(fs.created,
            (std::vector<std::string>{"C:\\Target Folder\\", "C:\\Target Folder\\Sub"}));
  for (const std::string &path : fs.looked)
    EXPECT_TRUE(path[0] == 'C' && path.back() != ' ') << "looked at \"" << path << '"';
}

TEST(CreateFolderPathTest, EmptyOrBlankPathFails) {
  for (const char *path : {"", "   ", "\t\r\n"}) {
    MemoryFileSystem fs;
    EXPECT_FALSE(CreateFolderPath(path, fs)) << '"' << path << '"';
    EXPECT_TRUE(fs.looked.empty() && fs.created.empty());
  }
}

TEST(CreateFolderPathTest, FileInTheWayFails) {
  MemoryFileSystem fs;
  fs.entries["C:\\"] = PathKind::Directory;
  fs.entries["C:\\data"] = PathKind::File;
  EXPECT_FALSE(CreateFolderPath("C:\\data\\plugins", fs));
  EXPECT_EQ(fs.created, std::vector<std::string>{"C:\\data\\"}) << "stops at the first failure";
}

TEST(CreateFolderPathTest, FirstFailedCreationEndsTheWhole) {
  MemoryFileSystem fs;
  fs.entries["C:\\"] = PathKind::Directory;
  fs.failing.insert("C:\\a\\b");
  EXPECT_FALSE(CreateFolderPath("C:\\a\\b\\c\\d", fs));
  EXPECT_EQ(fs.created, (std::vector<std::string>{"C:\\a\\", "C:\\a\\b\\"}));
}

TEST(CreateFolderPathTest, ForwardSlashesSeparateToo) {
  MemoryFileSystem fs;
  fs.entries["C:\\"] = PathKind::Directory;
  EXPECT_TRUE(CreateFolderPath("C:\\x/y", fs));
  EXPECT_EQ(fs.created, (std::vector<std::string>{"C:\\x/", "C:\\x/y"}));
}

TEST(CreateFolderPathTest, NetworkServerAndShareAreNeverTouched) {
  struct Case {
    const char *path;
    std::size_t shareEnd; // length of the "\\\\server\\share\\" part
    std::vector<std::string> created;
  };
  const Case cases[] = {
      {"\\\\server\\share\\a\\b", 15, {"\\\\server\\share\\a\\", "\\\\server\\share\\a\\b"}},
      {"\\\\server\\share\\a\\", 15, {"\\\\server\\share\\a\\"}},
      // Two backslashes later in the path start the network part there.
      {"x\\\\srv\\shr\\dir", 11, {"x\\\\srv\\shr\\dir"}},
  };
  for (const Case &c : cases) {
    MemoryFileSystem fs;
    EXPECT_TRUE(CreateFolderPath(c.path, fs)) << c.path;
    EXPECT_EQ(fs.created, c.created) << c.path;
    ASSERT_FALSE(fs.looked.empty());
    EXPECT_EQ(fs.looked[0], c.path) << "the whole path is looked at first";
    for (std::size_t i = 1; i < fs.looked.size(); ++i)
      EXPECT_GT(fs.looked[i].size(), c.shareEnd) << c.path << ": looked at " << fs.looked[i];
  }
}

TEST(CreateFolderPathTest, ScanStartOfNetworkPaths) {
  struct Case {
    const char *path;
    std::size_t start;
  };
  const Case cases[] = {
      {"C:\\a\\b", 0},
      {"\\\\server\\share\\a", 15},
      {"\\\\server\\share", 9}, // no closing backslash: the share's first character
      {"\\\\server", 2},        // no server backslash: right behind the pair
      {"\\\\", 2},
      {"a\\\\s\\t\\u", 7},
  };
  for (const Case &c : cases)
    EXPECT_EQ(folderScanStart(c.path), c.start) << c.path;
}

TEST(FindPrefsIniTest, LastSubFolderWithAMatchWins) {
  struct Case {
    std::vector<std::string> files;
    const char *expected;
  };
  const Case cases[] = {
      {{}, ""},
      {{"E\\Prefs\\Photoshop.ini"}, "E\\Prefs\\Photoshop.ini"},
      {{"E\\Prefs\\Photo5.ini", "E\\Preferences\\PhotoPrefs.ini"},
       "E\\Preferences\\PhotoPrefs.ini"},
      {{"E\\Settings\\Photo.ini", "E\\Adobe Photoshop Settings\\Photo1.ini"},
       "E\\Settings\\Photo.ini"},
      {{"E\\Adobe Photoshop Settings\\Photoshop.ini", "E\\Prefs\\Other.ini"},
       "E\\Adobe Photoshop Settings\\Photoshop.ini"},
      {{"E\\Photoshop.ini", "E\\Plugins\\Photo.ini"}, ""},
  };
  for (const Case &c : cases) {
    MemoryFileSystem fs;
    for (const std::string &file : c.files)
      fs.entries[file] = PathKind::File;
    EXPECT_EQ(FindPrefsIni("E", fs), c.expected);
  }
}

TEST(FindPluginsFolderTest, PlugInDirectoryGainsItsBackslash) {
  MemoryFileSystem fs;
  fs.entries["C:\\Editor\\Prefs\\Photoshop.ini"] = PathKind::File;
  fs.profileValues["C:\\Editor\\Prefs\\Photoshop.ini|Photoshop|PlugInDirectory"] = "D:\\Plug-ins";
  EXPECT_EQ(FindPluginsFolder("C:\\Editor", fs), "D:\\Plug-ins\\");
  fs.profileValues["C:\\Editor\\Prefs\\Photoshop.ini|Photoshop|PlugInDirectory"] = "D:\\Plug-ins\\";
  EXPECT_EQ(FindPluginsFolder("C:\\Editor", fs), "D:\\Plug-ins\\");
}

TEST(FindPluginsFolderTest, DefaultsAndMissingPieces) {
  MemoryFileSystem fs;
  EXPECT_EQ(FindPluginsFolder("", fs), "") << "editor not registered";
  EXPECT_EQ(FindPluginsFolder("C:\\Editor", fs), "") << "no preferences file";
  fs.entries["C:\\Editor\\Settings\\Photo.ini"] = PathKind::File;
  EXPECT_EQ(FindPluginsFolder("C:\\Editor", fs), "C:\\Editor\\Plugins\\")
      << "no PlugInDirectory: the editor's Plugins folder";
}

} // namespace
