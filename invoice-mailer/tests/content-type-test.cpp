// Content types as the registry of the Wine prefix gives them.
#include "invoice-mailer/win32/content-type.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using billpost::ContentTypeOf;

namespace {

// Runs reg.exe as a person would and waits for it.
DWORD runReg(const std::string &arguments) {
  std::string command = "reg.exe " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return GetLastError();
  WaitForSingleObject(process.hProcess, 30000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

} // namespace

TEST(ContentType, UnknownOrMissingExtensionFallsBack) {
  EXPECT_EQ(ContentTypeOf("archive.zzqq"), "application/octet-stream");
  EXPECT_EQ(ContentTypeOf("README"), "application/octet-stream");
  EXPECT_EQ(ContentTypeOf("trailing."), "application/octet-stream");
}

TEST(ContentType, TypeAddedWithRegIsFound) {
  ASSERT_EQ(runReg("add HKCR\\.billposttest /v \"Content Type\" /d application/x-billpost-test /f"), 0u);
  EXPECT_EQ(ContentTypeOf("invoice.billposttest"), "application/x-billpost-test");
  // A key without the value falls back too.
  ASSERT_EQ(runReg("add HKCR\\.billpostbare /f"), 0u);
  EXPECT_EQ(ContentTypeOf("invoice.billpostbare"), "application/octet-stream");
  runReg("delete HKCR\\.billposttest /f");
  runReg("delete HKCR\\.billpostbare /f");
}
