// Content types as the registry of the Wine prefix gives them.
#include "invoice-mailer/win32/content-type.h"
#include "testing/ui-driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <iostream>
#include <string>

using billpost::ContentTypeOf;

namespace {

// Runs reg.exe as a person would and waits for it.
DWORD runReg(const std::string &arguments) {
  PROCESS_INFORMATION process = test_windows::startProgram("reg.exe " + arguments);
  if (!process.hProcess)
    return GetLastError();
  WaitForSingleObject(process.hProcess, 30000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

bool hasContentType(const std::string &extension) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  LONG result = RegQueryValueExA(key, "Content Type", nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

// Gives an extension the content type Windows registers for it, unless the
// prefix has one already; removes what it added.
class WindowsContentType {
public:
  WindowsContentType(const std::string &extension, const std::string &type)
      : extension_(extension) {
    if (hasContentType(extension))
      return;
    // A fresh Wine prefix has no key for this extension at all.
    std::cout << "[ note     ] the prefix has no content type for " << extension << "; registering "
              << type << " as Windows does\n";
    added_ = runReg("add HKCR\\" + extension + " /v \"Content Type\" /d " + type + " /f") == 0;
  }
  ~WindowsContentType() {
    if (added_)
      runReg("delete HKCR\\" + extension_ + " /f");
  }

private:
  std::string extension_;
  bool added_ = false;
};

} // namespace

TEST(ContentType, TextAndHtmlAsWindowsRegistersThem) {
  WindowsContentType text(".txt", "text/plain");
  WindowsContentType html(".htm", "text/html");
  EXPECT_EQ(ContentTypeOf("C:\\invoices\\notes.txt"), "text/plain");
  EXPECT_EQ(ContentTypeOf("statement.htm"), "text/html");
  EXPECT_EQ(ContentTypeOf("archive.tar.htm"), "text/html");
}

TEST(ContentType, UnknownOrMissingExtensionFallsBack) {
  EXPECT_EQ(ContentTypeOf("archive.zzqq"), "application/octet-stream");
  EXPECT_EQ(ContentTypeOf("README"), "application/octet-stream");
  EXPECT_EQ(ContentTypeOf("trailing."), "application/octet-stream");
}

TEST(ContentType, TypeAddedWithRegIsFound) {
  ASSERT_EQ(runReg("add HKCR\\.billposttest /v \"Content Type\" /d "
                   "application/x-billpost-test /f"),
            0u);
  EXPECT_EQ(ContentTypeOf("invoice.billposttest"), "application/x-billpost-test");
  // A key without the value falls back too.
  ASSERT_EQ(runReg("add HKCR\\.billpostbare /f"), 0u);
  EXPECT_EQ(ContentTypeOf("invoice.billpostbare"), "application/octet-stream");
  runReg("delete HKCR\\.billposttest /f");
  runReg("delete HKCR\\.billpostbare /f");
}
