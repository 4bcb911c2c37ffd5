// The flat button on a real form under Wine, driven by window messages as
// the mouse would send them: clicks only for a release inside, Down, the
// pressed state cleared by disabling, accelerators, and the pop-up menu
// opening at the button's bottom-left corner.
#include "invoice-mailer/win32/transparent-button.h"
#include "platform/components/win32/tests/win32-test-support.h"
#include "platform/components/win32/forms.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace billpost {
namespace {

using namespace components;
using win32_test::pumpUntil;

GlyphBitmap redSquareOnOlive(int cells) {
  GlyphBitmap glyph{16 * cells, 16, std::vector<std::uint32_t>(16 * 16 * cells, 0x808000)};
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 16 * cells - 4; ++x)
      glyph.pixels[y * glyph.width + x] = 0xFF0000;
  return glyph;
}

class TransparentButtonTest : public ::testing::Test {
protected:
  void SetUp() override {
    form_ = std::make_unique<TForm>(nullptr);
    form_->SetBounds(200, 200, 300, 200);
    button_ = new TTransparentButton(form_.get());
    button_->SetBounds(20, 30, 40, 40);
    button_->SetParent(form_.get());
    button_->SetGlyph(redSquareOnOlive(1));
    button_->OnClick = [this](TObject *) { ++clicks_; };
    form_->Show();
    window_ = form_->Handle();
  }
  void TearDown() override { form_.reset(); }

  // Mouse messages in the form's client coordinates, handled at once.
  void send(UINT msg, int x, int y) {
    SendMessageA(window_, msg, msg == WM_LBUTTONDOWN || msg == WM_MOUSEMOVE ? MK_LBUTTON : 0,
                 MAKELPARAM(x, y));
  }

  std::unique_ptr<TForm> form_;
  TTransparentButton *button_ = nullptr;
  HWND window_ = nullptr;
  int clicks_ = 0;
};

TEST_F(TransparentButtonTest, DefaultsOfANewButton) {
  TTransparentButton fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 40);
  EXPECT_EQ(fresh.Height(), 40);
  EXPECT_TRUE(fresh.AutoGray());
  EXPECT_EQ(fresh.BorderWidth(), 1u);
  EXPECT_FALSE(fresh.Down());
  EXPECT_EQ(fresh.FrameStyle(), fsExplorer);
  EXPECT_EQ(fresh.NumGlyphs(), 1);
  EXPECT_TRUE(fresh.ShowPressed());
  EXPECT_EQ(fresh.Spacing(), 2);
  EXPECT_EQ(fresh.TextAlign(), ttaCenter);
  EXPECT_TRUE(fresh.Transparent());
  EXPECT_FALSE(fresh.WordWrap());
  EXPECT_FALSE(fresh.Movable());
}

TEST_F(TransparentButtonTest, ReleaseOutsideGivesNoClickReleaseInsideGivesOne) {
  send(WM_LBUTTONDOWN, 30, 40);
  EXPECT_TRUE(button_->Pressed());
  send(WM_MOUSEMOVE, 150, 150);
  EXPECT_FALSE(button_->Pressed()); // pressed follows the pointer
  send(WM_LBUTTONUP, 150, 150);
  EXPECT_EQ(clicks_, 0);
  EXPECT_FALSE(button_->Pressed());
  EXPECT_FALSE(button_->Tracking());

  send(WM_LBUTTONDOWN, 30, 40);
  send(WM_MOUSEMOVE, 35, 45);
  send(WM_LBUTTONUP, 35, 45);
  EXPECT_EQ(clicks_, 1);
  EXPECT_FALSE(button_->Pressed());
}

TEST_F(TransparentButtonTest, DownStaysPushed) {
  button_->SetDown(true);
  EXPECT_TRUE(button_->Pressed());
  for (int round = 0; round < 2; ++round) {
    send(WM_LBUTTONDOWN, 30, 40);
    send(WM_LBUTTONUP, 30, 40);
    send(WM_MOUSEMOVE, 150, 150);
    EXPECT_TRUE(button_->Pressed());
    EXPECT_TRUE(button_->Down());
  }
  EXPECT_EQ(clicks_, 0);
  button_->SetDown(false);
  EXPECT_FALSE(button_->Pressed());
}

TEST_F(TransparentButtonTest, DisablingClearsThePressedState) {
  send(WM_LBUTTONDOWN, 30, 40);
  ASSERT_TRUE(button_->Pressed());
  button_->SetEnabled(false);
  EXPECT_FALSE(button_->Pressed());
  EXPECT_FALSE(button_->Tracking());
  EXPECT_FALSE(button_->MouseOver());
  send(WM_LBUTTONUP, 30, 40);
  EXPECT_EQ(clicks_, 0);
  // One glyph: the disabled copy is the last image.
  EXPECT_EQ(button_->ShownImage(), 2);
  button_->SetEnabled(true);
  send(WM_LBUTTONDOWN, 30, 40);
  send(WM_LBUTTONUP, 30, 40);
  EXPECT_EQ(clicks_, 1);
}

TEST_F(TransparentButtonTest, EnterAndLeaveFollowTheMouse) {
  std::vector<std::string> log;
  button_->OnMouseEnter = [&](TObject *) { log.push_back("enter"); };
  button_->OnMouseExit = [&](TObject *) { log.push_back("exit"); };
  EXPECT_EQ(button_->ShownImage(), 1); // grey while away
  SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(30, 40));
  EXPECT_TRUE(button_->MouseOver());
  EXPECT_EQ(button_->ShownImage(), 0);
  SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(150, 150));
  EXPECT_FALSE(button_->MouseOver());
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "exit"}));
}

TEST_F(TransparentButtonTest, AcceleratorOfTheCaptionClicksAnEnabledButton) {
  button_->SetCaption("&Send");
  EXPECT_FALSE(button_->DialogChar('x'));
  EXPECT_TRUE(button_->DialogChar('s'));
  EXPECT_EQ(clicks_, 1);
  button_->SetEnabled(false);
  EXPECT_FALSE(button_->DialogChar('s'));
  EXPECT_EQ(clicks_, 1);
}

TEST_F(TransparentButtonTest, GlyphStripSetsTheCellCount) {
  button_->SetGlyph(redSquareOnOlive(4));
  EXPECT_EQ(button_->NumGlyphs(), 4);
  send(WM_LBUTTONDOWN, 30, 40);
  EXPECT_EQ(button_->ShownImage(), 4); // grey: the mouse never entered
  SendMessageA(window_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(31, 41));
  EXPECT_EQ(button_->ShownImage(), 2); // pressed cell
  send(WM_LBUTTONUP, 31, 41);
}

// Finds the visible menu window of this process, records its rectangle and
// closes it with Escape.
struct MenuWatcher {
  std::atomic<bool> seen{false};
  RECT rect{};
  std::thread thread;
  explicit MenuWatcher(DWORD ownerThread) {
    thread = std::thread([this, ownerThread] {
      for (int i = 0; i < 200 && !seen; ++i) {
        HWND menu = FindWindowA("#32768", nullptr);
        DWORD process = 0;
        if (menu && IsWindowVisible(menu) &&
            GetWindowThreadProcessId(menu, &process) == ownerThread) {
          GetWindowRect(menu, &rect);
          seen = true;
          PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
          return;
        }
        Sleep(50);
      }
    });
  }
  ~MenuWatcher() { thread.join(); }
};

TEST_F(TransparentButtonTest, PopUpMenuOpensAtTheBottomLeftCorner) {
  auto *menu = new TPopupMenu(form_.get());
  auto *item = new TMenuItem(menu);
  item->SetCaption("&Item");
  menu->Items().Add(item);
  button_->SetPopUpMenu(menu);
  POINT corner = button_->ClientToScreen(POINT{0, button_->Height()});
  RECT shown{};
  bool seen = false;
  {
    MenuWatcher watcher(GetCurrentThreadId());
    send(WM_LBUTTONDOWN, 30, 40); // returns once the menu closed
    watcher.thread.join();
    seen = watcher.seen;
    shown = watcher.rect;
    watcher.thread = std::thread([] {});
  }
  ASSERT_TRUE(seen) << "no menu window appeared";
  EXPECT_EQ(shown.left, corner.x);
  EXPECT_EQ(shown.top, corner.y);
  // The release was handled with the menu: nothing is left pressed.
  EXPECT_FALSE(button_->Tracking());
  EXPECT_FALSE(button_->Pressed());
}

TEST_F(TransparentButtonTest, RemovedPopUpMenuIsForgotten) {
  auto *menu = new TPopupMenu(form_.get());
  button_->SetPopUpMenu(menu);
  delete menu;
  EXPECT_EQ(button_->PopUpMenu(), nullptr);
}

} // namespace
} // namespace billpost
