// The version reader on this test program's own version resource, on a
// file without one and on a missing file, and the shell version the tray
// icon's base notes.
#include "clipboard-checker/win32/bk-shell-component.h"
#include "clipboard-checker/win32/bk-version-info.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

using namespace lexitray;

namespace {

int versionError(TBkVersionInfo &info, const std::string &fileName) {
  try {
    info.SetFileName(fileName);
  } catch (const EBkVersionInfoError &error) {
    return error.ErrorCode();
  }
  return 0;
}

} // namespace

TEST(VersionInfo, OwnFileTextsAndNumber) {
  TBkVersionInfo info(nullptr);
  EXPECT_EQ(info.CompanyName(), "Ovelmark");
  EXPECT_EQ(info.ProductName(), "Utility tests");
  EXPECT_EQ(info.FileVersion(), "1.25.0.7");
  EXPECT_EQ(info.Comments(), ""); // missing texts are empty
  // "1.25.0.7" is no number: its part up to the second "." is.
  EXPECT_DOUBLE_EQ(info.VersionNumber(), 1.25);
  EXPECT_EQ(info.FixedFileInfo().dwFileVersionMS, 0x00010019u);
  EXPECT_EQ(info.FixedFileInfo().dwFileVersionLS, 0x00000007u);
  EXPECT_EQ(info.GetKey("ProductName"), "Utility tests");
  try {
    info.GetKey("NoSuchKey");
    FAIL() << "a key the block lacks";
  } catch (const EBkVersionInfoError &error) {
    EXPECT_EQ(error.ErrorCode(), 134);
    EXPECT_EQ(error.Message(), "The specified key cannnot be found in version info");
  }
}

TEST(VersionInfo, MissingFileAndFileWithoutVersion) {
  TBkVersionInfo info(nullptr);
  EXPECT_EQ(versionError(info, testing_support::scratchPath("no-such-file.dll")), 73);
  std::string plain = testing_support::scratchPath("plain.txt");
  std::ofstream(plain) << "no version here\n";
  EXPECT_EQ(versionError(info, plain), 100);
}

TEST(VersionInfo, ShellComponentNotesTheShellVersion) {
  TBkShellComponent shell(nullptr);
  EXPECT_GE(shell.ShellVersion(), 4.0);
}
