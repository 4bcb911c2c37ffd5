// The guard's mutex name and the first-instance decision inside one
// process; two processes are tried by instance-guard.sh.
#include "clipboard-checker/win32/first-instance.h"
#include "platform/components/win32/application.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace lexitray;

TEST(FirstInstance, MutexNameIsPrevinstAndTheDefaultTitle) {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  // This program's default title: its file name without ".exe".
  std::string title = components::defaultTitleFromPath(path);
  EXPECT_EQ(title, "clipboard-checker-startup-tests");
  EXPECT_EQ(GetInstanceMutexName(), "PREVINST:" + title);
}

TEST(FirstInstance, OnlyTheCreatorOfTheMutexIsFirst) {
  FirstInstanceInit();
  EXPECT_TRUE(IsFirstInstance());
  // The same name again finds the mutex this process holds.
  HANDLE again = CreateMutexA(nullptr, TRUE, GetInstanceMutexName().c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(again);
  FirstInstanceDone();
  FirstInstanceDone(); // nothing left to close
  // Once closed, the next start is first again.
  FirstInstanceInit();
  EXPECT_TRUE(IsFirstInstance());
  HANDLE holder = CreateMutexA(nullptr, TRUE, GetInstanceMutexName().c_str());
  FirstInstanceDone();
  FirstInstanceInit(); // another holder keeps it: not first
  EXPECT_FALSE(IsFirstInstance());
  FirstInstanceDone();
  CloseHandle(holder);
}
