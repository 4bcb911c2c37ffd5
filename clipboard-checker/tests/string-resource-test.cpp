// String tables as the program carries them: the generated resources read
// through TzmStringResource under Wine, the reader's errors for missing
// and damaged tables, and utility errors that carry their string number.
#include "clipboard-checker/win32/string-resource.h"
#include "clipboard-checker/win32/utility-strings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace lexitray;

namespace {

HINSTANCE self() { return GetModuleHandleA(nullptr); }

std::string openError(const std::string &name) {
  try {
    TzmStringResource table(self(), name);
  } catch (const ETzmStringResourceError &error) {
    return error.Message();
  }
  return "(opened)";
}

} // namespace

TEST(StringResource, UtilityTableAnswersByNumber) {
  TzmStringResource table(self(), "BASEKIT_STRINGS_ENGLISH");
  EXPECT_EQ(table.GetString(126), "File is not a shortcut");
  EXPECT_EQ(table.GetString(129), "");
  EXPECT_EQ(table.GetString(73), "Error opening file");         // the first id
  EXPECT_EQ(table.GetString(135), "ImageList is not assigned"); // the last id
  EXPECT_EQ(table.GetString(127), "&Close");
  EXPECT_EQ(table.GetString(128), "&Restore");
  EXPECT_EQ(table.GetString(0), "");
  EXPECT_EQ(table.GetString(-1), "");
}

TEST(StringResource, ReaderTableHoldsItsOwnMessages) {
  TzmStringResource table(self(), "SRMGR_STRINGS");
  EXPECT_EQ(table.GetString(1), "String not found: %d");
  EXPECT_EQ(table.GetString(2), "Cannot lock resource");
  EXPECT_EQ(table.GetString(3), "String resource not found: %s");
  EXPECT_EQ(table.GetString(4), "Unable to open string resource: %s");
}

TEST(StringResource, TextsBecomeAnsi) {
  TzmStringResource table(self(), "TWO_STRINGS");
  EXPECT_EQ(table.GetString(7), "one");
  EXPECT_EQ(table.GetString(9), "\xE9t\xE9!"); // Windows-1252
}

TEST(StringResource, EmptyNameMakesATableWithoutTexts) {
  TzmStringResource table(self(), "");
  EXPECT_EQ(table.GetString(126), "");
}

TEST(StringResource, MissingAndDamagedTablesAreRefused) {
  EXPECT_EQ(openError("NO_SUCH_STRINGS"), "String resource not found: NO_SUCH_STRINGS");
  EXPECT_EQ(openError("BROKEN_STRINGS"), "String resource is damaged: BROKEN_STRINGS");
  EXPECT_EQ(openError("OVERCOUNTED_STRINGS"), "String resource is damaged: OVERCOUNTED_STRINGS");
}

TEST(UtilityErrors, MessageIsTheTextAndTheCodeItsNumber) {
  struct Case {
    int id;
    const char *text;
  } cases[] = {{sErrorAddingTrayIcon, "Error adding tray icon"},
               {sTrayIconError, "Tray icon error"},
               {sOneTrayIconOnly, "Cannot have more than one BkTrayIcon per application"},
               {sImageListNotAssigned, "ImageList is not assigned"}};
  for (const Case &c : cases) {
    try {
      throw bkError<EBkTrayIconError>(c.id);
    } catch (const EBkException &error) {
      EXPECT_EQ(error.Message(), c.text);
      EXPECT_EQ(error.ErrorCode(), c.id);
    }
  }
  EBkVersionInfoError version = bkError<EBkVersionInfoError>(sNoVersionInfo);
  EXPECT_EQ(version.Message(), "File does not contain version info");
  EXPECT_EQ(version.ErrorCode(), 100);
}

TEST(UtilityComponent, VersionIsFixed) {
  TBkComponent component(nullptr);
  component.SetVersion("9.99");
  EXPECT_EQ(component.Version(), "2.01");
}
