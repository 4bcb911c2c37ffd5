// The real file system behind FileSystem, and the path helpers.
#include "platform/components/core/file-system.h"

#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using components::defaultFileSystem;
using components::FileSystem;

namespace {

std::string freshFolder(const std::string &name) {
  std::string dir = testing_support::scratchPath(name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

} // namespace

TEST(DefaultFileSystem, ReadsAndWritesWholeFiles) {
  FileSystem &fs = defaultFileSystem();
  std::string dir = freshFolder("fs-rw");
  std::string path = dir + "/a.bin";
  std::string bytes("line\r\n\0\xFF\x80", 9);
  ASSERT_TRUE(fs.writeFile(path, bytes));
  std::string back;
  ASSERT_TRUE(fs.readFile(path, back));
  EXPECT_EQ(back, bytes);
  EXPECT_TRUE(fs.fileExists(path));
  EXPECT_FALSE(fs.fileExists(dir)) << "a folder is not a file";
  EXPECT_FALSE(fs.readFile(dir + "/missing", back));
  EXPECT_EQ(back, bytes) << "a failed read leaves the output alone";
  EXPECT_FALSE(fs.writeFile(dir + "/no/such/folder", "x"));
  EXPECT_TRUE(fs.removeFile(path));
  EXPECT_FALSE(fs.fileExists(path));
  EXPECT_FALSE(fs.removeFile(path));
}

TEST(DefaultFileSystem, ReplaceFileReplacesAnExistingTarget) {
  FileSystem &fs = defaultFileSystem();
  std::string dir = freshFolder("fs-replace");
  std::string source = dir + "/new.tmp", target = dir + "/words.udt";
  ASSERT_TRUE(fs.writeFile(target, "old"));
  ASSERT_TRUE(fs.writeFile(source, "new"));
  ASSERT_TRUE(fs.replaceFile(source, target));
  std::string text;
  ASSERT_TRUE(fs.readFile(target, text));
  EXPECT_EQ(text, "new");
  EXPECT_FALSE(fs.fileExists(source));
  // A missing source fails and keeps the target.
  EXPECT_FALSE(fs.replaceFile(source, target));
  ASSERT_TRUE(fs.readFile(target, text));
  EXPECT_EQ(text, "new");
}

TEST(DefaultFileSystem, ListsFilesByExtensionWithoutRegardToCase) {
  FileSystem &fs = defaultFileSystem();
  std::string dir = freshFolder("fs-list");
  for (const char *name : {"a.udt", "B.UDT", "c.Udt", "d.dct", "e.udtx", "fudt", "g.udt.bak"})
    ASSERT_TRUE(fs.writeFile(dir + "/" + name, "x"));
  std::filesystem::create_directories(dir + "/folder.udt");
  std::vector<std::string> names = fs.listFiles(dir, "*.udt");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"B.UDT", "a.udt", "c.Udt"}));
  names = fs.listFiles(dir, "*.DCT");
  EXPECT_EQ(names, (std::vector<std::string>{"d.dct"}));
  EXPECT_TRUE(fs.listFiles(dir + "/missing", "*.udt").empty());
}

// Names with bytes >= 0x80 (ANSI text on Windows) come back from listing
// exactly as they were given, and can be replaced and removed by them.
TEST(DefaultFileSystem, HandlesNamesWithHighBytes) {
  FileSystem &fs = defaultFileSystem();
  std::string dir = freshFolder("fs-ansi");
  const std::vector<std::string> names = {"\xE9t\xE9.udt", "\x80uro.udt", "\xC4rger.udt"};
  for (const std::string &name : names) {
    ASSERT_TRUE(fs.writeFile(dir + "/" + name, "old")) << name;
    ASSERT_TRUE(fs.writeFile(dir + "/" + name + ".tmp", "new")) << name;
    ASSERT_TRUE(fs.replaceFile(dir + "/" + name + ".tmp", dir + "/" + name)) << name;
    std::string text;
    ASSERT_TRUE(fs.readFile(dir + "/" + name, text));
    EXPECT_EQ(text, "new") << name;
    EXPECT_TRUE(fs.fileExists(dir + "/" + name)) << name;
  }
  std::vector<std::string> listed = fs.listFiles(dir, "*.UDT");
  std::sort(listed.begin(), listed.end());
  std::vector<std::string> expected = names;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listed, expected);
  for (const std::string &name : names)
    EXPECT_TRUE(fs.removeFile(dir + "/" + name)) << name;
}

TEST(PathHelpers, SplitPathsWithEitherSeparator) {
  struct Case {
    std::string path, filePath, fileName, ext;
  };
  const std::vector<Case> cases = {
      {"C:\\Program Files\\Lexi\\VERBA.CFG", "C:\\Program Files\\Lexi\\", "VERBA.CFG", ".CFG"},
      {"/home/u/words.udt", "/home/u/", "words.udt", ".udt"},
      {"C:file.txt", "C:", "file.txt", ".txt"},
      {"noext", "", "noext", ""},
      {"dir.d\\noext", "dir.d\\", "noext", ""},
      {"archive.tar.gz", "", "archive.tar.gz", ".gz"},
      {"folder/", "folder/", "", ""},
      {"", "", "", ""},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(components::ExtractFilePath(c.path), c.filePath) << c.path;
    EXPECT_EQ(components::ExtractFileName(c.path), c.fileName) << c.path;
    EXPECT_EQ(components::ExtractFileExt(c.path), c.ext) << c.path;
  }
  EXPECT_EQ(components::ChangeFileExt("C:\\x\\Lexitray.exe", ".ini"), "C:\\x\\Lexitray.ini");
  EXPECT_EQ(components::ChangeFileExt("dir.d\\noext", ".ini"), "dir.d\\noext.ini");
  EXPECT_EQ(components::ChangeFileExt("a.b.c", ""), "a.b");
}
