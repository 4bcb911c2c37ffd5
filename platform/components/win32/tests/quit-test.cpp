// A quit message posted while the program waits ends the wait, is kept
// for the outer loop, and ends a modal form and Run.
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/utility.h"

#include <gtest/gtest.h>

using namespace components;

TEST(QuitMessage, EndsTheWaitAndIsKeptForTheOuterLoop) {
  TTimer timer(nullptr);
  timer.SetInterval(50);
  timer.OnTimer = [&](TObject *) {
    timer.SetEnabled(false);
    PostQuitMessage(3);
  };
  bool reached = false;
  EXPECT_FALSE(Application->WaitUntil([&] { return reached; }, 10000));
  EXPECT_TRUE(Application->Terminated());
  // The quit message is on the queue again, with its exit code.
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
  // Once terminated, a modal form ends at once with Cancel, its close
  // query unasked (a query that refuses would otherwise keep it up for
  // good), and Run returns without waiting.
  TForm form(nullptr);
  int queries = 0;
  form.OnCloseQuery = [&](TObject *, bool &canClose) { canClose = ++queries > 3; };
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(queries, 0);
  Application->Run();
  SUCCEED();
}
