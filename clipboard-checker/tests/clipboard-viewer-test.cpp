// The form in the clipboard-viewer chain under Wine, among plain viewer
// windows placed before and after it: notifications pass through the
// form, removals are repaired or passed on, and the form leaves the chain
// whole.
#include "clipboard-checker/win32/clipboard-viewer.h"
#include "platform/components/core/exception.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/tests/win32-test-support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

using namespace components;
using namespace lexitray;
using win32_test::pumpUntil;

namespace {

// A well-behaved viewer of another program: it keeps its successor, counts
// notifications and records the removals it is told of.
class PeerViewer {
public:
  PeerViewer() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PeerViewer::windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PeerViewer";
    RegisterClassExA(&windowClass); // fails harmlessly once registered
    window = CreateWindowExA(0, "PeerViewer", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleA(nullptr), this);
    next = SetClipboardViewer(window);
  }
  ~PeerViewer() {
    leave();
    DestroyWindow(window);
  }
  void leave() {
    if (joined)
      ChangeClipboardChain(window, next);
    joined = false;
  }

  HWND window = nullptr;
  HWND next = nullptr;
  bool joined = true;
  int draws = 0;
  std::vector<std::pair<HWND, HWND>> removals;

private:
  static LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
      auto *create = reinterpret_cast<CREATESTRUCTA *>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *self = reinterpret_cast<PeerViewer *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && msg == WM_DRAWCLIPBOARD) {
      ++self->draws;
      if (self->next)
        SendMessageA(self->next, msg, wParam, lParam);
      return 0;
    }
    if (self && msg == WM_CHANGECBCHAIN) {
      auto removed = reinterpret_cast<HWND>(wParam);
      self->removals.emplace_back(removed, reinterpret_cast<HWND>(lParam));
      if (removed == self->next)
        self->next = reinterpret_cast<HWND>(lParam);
      else if (self->next)
        SendMessageA(self->next, msg, wParam, lParam);
      return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
  }
};

void copyText(const char *text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  std::size_t size = std::strlen(text) + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(memory), text, size);
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_TEXT, memory))
    GlobalFree(memory);
  CloseClipboard();
}

struct ViewerForm {
  ViewerForm() : form(std::make_unique<TForm>(nullptr)) {
    viewer = std::make_unique<ClipboardViewer>(*form);
    viewer->OnChange = [this](TObject *) { ++changes; };
  }
  std::unique_ptr<TForm> form;
  std::unique_ptr<ClipboardViewer> viewer;
  int changes = 0;
};

} // namespace

TEST(ClipboardViewerChain, NotificationsReachViewersBeforeAndAfterTheForm) {
  PeerViewer after;
  ViewerForm lexitray;
  PeerViewer before;
  EXPECT_EQ(lexitray.viewer->NextViewer(), after.window);
  EXPECT_EQ(before.next, lexitray.form->Handle());
  int afterDraws = after.draws, beforeDraws = before.draws, changes = lexitray.changes;
  copyText("Teh quick brown fox");
  EXPECT_TRUE(pumpUntil([&] { return after.draws > afterDraws; }, 5000));
  EXPECT_GT(before.draws, beforeDraws);
  EXPECT_GT(lexitray.changes, changes);
}

TEST(ClipboardViewerChain, FailingHandlerStillPassesTheNotificationOn) {
  win32_test::CapturedExceptions errors;
  PeerViewer after;
  ViewerForm lexitray;
  lexitray.viewer->OnChange = [](TObject *) { throw Exception("check failed"); };
  int draws = after.draws;
  copyText("text");
  EXPECT_TRUE(pumpUntil([&] { return after.draws > draws; }, 5000));
  ASSERT_FALSE(errors.messages.empty());
  EXPECT_EQ(errors.messages.front(), "check failed");
}

TEST(ClipboardViewerChain, SuccessorLeavingIsRepairedAndOthersArePassedOn) {
  PeerViewer last;
  PeerViewer successor;
  ViewerForm lexitray;
  PeerViewer head;
  // head -> form -> successor -> last. The last one leaves: the form
  // passes the removal on, unchanged, to its successor.
  last.leave();
  ASSERT_FALSE(successor.removals.empty());
  EXPECT_EQ(successor.removals.back(), std::make_pair(last.window, static_cast<HWND>(nullptr)));
  EXPECT_EQ(successor.next, nullptr);
  EXPECT_EQ(lexitray.viewer->NextViewer(), successor.window);
  // The form's own successor leaves: the form takes the one after it.
  successor.leave();
  EXPECT_EQ(lexitray.viewer->NextViewer(), nullptr);
  int draws = successor.draws, headDraws = head.draws, changes = lexitray.changes;
  copyText("after the repair");
  EXPECT_TRUE(
      pumpUntil([&] { return head.draws > headDraws && lexitray.changes > changes; }, 5000));
  EXPECT_EQ(successor.draws, draws); // no longer told
}

TEST(ClipboardViewerChain, FormLeavingKeepsTheChainWhole) {
  PeerViewer after;
  ViewerForm lexitray;
  PeerViewer before;
  HWND formWindow = lexitray.form->Handle();
  lexitray.viewer.reset();
  int changes = lexitray.changes;
  EXPECT_EQ(before.next, after.window);
  ASSERT_FALSE(before.removals.empty());
  EXPECT_EQ(before.removals.back(), std::make_pair(formWindow, after.window));
  int draws = after.draws;
  copyText("without the form");
  EXPECT_TRUE(pumpUntil([&] { return after.draws > draws; }, 5000));
  EXPECT_EQ(lexitray.changes, changes);
}
