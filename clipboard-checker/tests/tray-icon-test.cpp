// The tray icon under Wine, driven as the shell and the user would: the
// icon's callback messages posted to its window, the form's system
// commands sent to the form, and the default menu's items.
#include "clipboard-checker/win32/bk-tray-icon.h"
#include "clipboard-checker/win32/utility-strings.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/components/win32/tests/win32-test-support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

using namespace components;
using namespace lexitray;
using win32_test::CapturedExceptions;
using win32_test::pumpUntil;

namespace {

// A shown form with a tray icon, loaded as a form built in code would be.
struct TrayForm {
  TrayForm() {
    form = std::make_unique<TForm>(nullptr);
    form->SetCaption("Tray test");
    form->SetBounds(40, 40, 300, 200);
    form->OnClose = [this](TObject *, TCloseAction &action) {
      ++closes;
      action = caHide;
    };
    tray = new TBkTrayIcon(form.get());
    tray->SetHint("Check the spelling of the clipboard");
    tray->OnRestore = [this](TObject *) { ++restores; };
    tray->Loaded();
    form->Show();
  }
  HWND window() { return form->Handle(); }
  bool shown() { return IsWindowVisible(window()) != FALSE; }
  // The shell posts the callback; the program sees it in its loop.
  void shellSends(LPARAM mouse) {
    PostMessageA(tray->Handle(), WM_TRAYICON, 2, mouse);
    Application->ProcessMessages();
  }

  std::unique_ptr<TForm> form;
  TBkTrayIcon *tray = nullptr;
  int restores = 0;
  int closes = 0;
};

// Messages of this thread that are waiting: none once the loop ran dry.
void drain() { Application->ProcessMessages(); }

} // namespace

TEST(TrayIcon, CloseCommandHidesTheFormInsteadOfClosingIt) {
  CapturedExceptions errors;
  TrayForm tray;
  ASSERT_TRUE(errors.messages.empty()) << errors.messages.front();
  ASSERT_TRUE(tray.shown());
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  drain();
  EXPECT_FALSE(tray.shown());
  EXPECT_FALSE(tray.form->Visible());
  EXPECT_EQ(tray.closes, 0); // the form never saw a close
  EXPECT_TRUE(IsWindow(tray.window()));
  EXPECT_FALSE(IsWindowVisible(Application->Handle())); // task-bar button gone too
  EXPECT_FALSE(Application->Terminated());
}

TEST(TrayIcon, DoubleClickOnTheIconRestoresTheHiddenForm) {
  TrayForm tray;
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_FALSE(tray.shown());
  tray.shellSends(WM_LBUTTONDOWN);
  tray.shellSends(WM_LBUTTONUP);
  EXPECT_FALSE(tray.shown()); // a single click restores only through a handler
  tray.shellSends(WM_LBUTTONDBLCLK);
  tray.shellSends(WM_LBUTTONUP);
  EXPECT_TRUE(tray.shown());
  EXPECT_TRUE(tray.form->Visible());
  EXPECT_TRUE(IsWindowVisible(Application->Handle()));
  EXPECT_EQ(tray.restores, 1);
}

TEST(TrayIcon, DoubleClickHandlerCanKeepTheFormHidden) {
  TrayForm tray;
  TMouseButton seen = mbLeft;
  tray.tray->OnDblClick = [&](TObject *, TMouseButton button, TShiftState, bool &restoreApp) {
    EXPECT_TRUE(restoreApp);
    seen = button;
    restoreApp = false;
  };
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  tray.shellSends(WM_RBUTTONDBLCLK);
  EXPECT_EQ(seen, mbRight);
  EXPECT_FALSE(tray.shown());
  EXPECT_EQ(tray.restores, 0);
  tray.tray->OnDblClick.Clear();
  tray.shellSends(WM_MBUTTONDBLCLK);
  EXPECT_TRUE(tray.shown());
}

TEST(TrayIcon, SingleClickHandlerThatRestoresMakesADoubleClickRestoreTwice) {
  TrayForm tray;
  std::vector<TMouseButton> clicks;
  tray.tray->OnClick = [&](TObject *, TMouseButton button, TShiftState) {
    clicks.push_back(button);
    if (button == mbLeft)
      tray.tray->Restore();
  };
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    tray.shellSends(mouse);
  EXPECT_TRUE(tray.shown());
  EXPECT_EQ(tray.restores, 2);
  tray.shellSends(WM_MBUTTONDOWN);
  EXPECT_EQ(clicks, (std::vector<TMouseButton>{mbLeft, mbMiddle}));
}

TEST(TrayIcon, OtherMessagesThatLookLikeMouseActionsAreNotClicks) {
  TrayForm tray;
  int clicks = 0;
  tray.tray->OnClick = [&](TObject *, TMouseButton, TShiftState) { ++clicks; };
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessageA(tray.tray->Handle(), WM_USER + 1, 2, WM_LBUTTONDBLCLK);
  SendMessageA(tray.tray->Handle(), WM_USER + 1, 2, WM_LBUTTONDOWN);
  EXPECT_FALSE(tray.shown());
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(SendMessageA(tray.tray->Handle(), WM_QUERYENDSESSION, 0, 0), 1);
}

TEST(TrayIcon, MinimiseFiresTheEventAndHidesOnlyWhenAsked) {
  TrayForm tray;
  int minimised = 0;
  tray.tray->OnMinimize = [&](TObject *) { ++minimised; };
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  drain();
  EXPECT_EQ(minimised, 1);
  EXPECT_TRUE(IsIconic(tray.window()));
  EXPECT_TRUE(tray.shown());
  tray.tray->Restore();
  EXPECT_FALSE(IsIconic(tray.window()));
  tray.tray->SetMinimizeToTray(true);
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  drain();
  EXPECT_EQ(minimised, 2);
  EXPECT_FALSE(tray.shown());
  EXPECT_FALSE(IsIconic(tray.window()));
}

TEST(TrayIcon, WithoutCloseToTrayTheFormClosesNormally) {
  TrayForm tray;
  tray.tray->SetCloseToTray(false);
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  drain();
  EXPECT_EQ(tray.closes, 1);
  EXPECT_FALSE(tray.shown());
}

TEST(TrayIcon, DefaultMenuRestoresAndCloses) {
  TrayForm tray;
  TPopupMenu *menu = tray.tray->PopupMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->Items().Count(), 2);
  EXPECT_EQ(menu->Items().Items(0)->Caption(), "&Close");
  EXPECT_EQ(menu->Items().Items(1)->Caption(), "&Restore");
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  menu->Items().Items(1)->Click();
  EXPECT_TRUE(tray.shown());
  EXPECT_EQ(tray.restores, 1);
  menu->Items().Items(0)->Click();
  MSG quit{};
  // The quit message is taken here, so that it ends no other loop.
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 0u);
}

TEST(TrayIcon, ASecondTrayIconIsRefused) {
  TrayForm tray;
  TForm other(nullptr);
  try {
    new TBkTrayIcon(tray.form.get());
    FAIL() << "a second tray icon on the same form";
  } catch (const EBkTrayIconError &error) {
    EXPECT_EQ(error.Message(), "Cannot have more than one BkTrayIcon per application");
    EXPECT_EQ(error.ErrorCode(), 133);
  }
  // Forms owned by the application are searched as well.
  auto *owned = Application->CreateForm<TForm>();
  new TBkTrayIcon(owned);
  EXPECT_THROW(new TBkTrayIcon(&other), EBkTrayIconError);
  delete owned;
  EXPECT_EQ(tray.form->ComponentCount(), 1);
}

TEST(TrayIcon, FreedIconGivesTheFormItsOwnCloseBack) {
  TrayForm tray;
  HWND window = tray.window();
  delete tray.tray;
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  drain();
  EXPECT_EQ(tray.closes, 1);
}

TEST(TrayIcon, ImageIndexWithoutImagesIsAnError) {
  TrayForm tray;
  try {
    tray.tray->SetImageIndex(1);
    FAIL() << "no image list";
  } catch (const EBkTrayIconError &error) {
    EXPECT_EQ(error.Message(), "ImageList is not assigned");
  }
  TImageList images(nullptr);
  TIcon icon;
  icon.AssignHandle(LoadIconA(nullptr, MAKEINTRESOURCEA(32516))); // IDI_INFORMATION
  images.AddIcon(icon);
  tray.tray->SetImages(&images);
  tray.tray->SetImageIndex(0);
  tray.tray->SetHint(std::string(80, 'h')); // cut to 63 for the shell
  tray.tray->SetAnimate(true);
  tray.tray->SetAnimate(false);
  tray.tray->SetImages(nullptr);
}

TEST(TrayIconRecord, FieldsTheShellReads) {
  HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
  std::string hint(70, 'x');
  hint[62] = 'y';
  NOTIFYICONDATAA record = trayIconRecord(window, icon, hint, true);
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  if (sizeof(void *) == 4) {
    EXPECT_EQ(record.cbSize, 88u); // the size 32-bit shells expect
  }
  EXPECT_EQ(record.hWnd, window);
  EXPECT_EQ(record.uID, 2u);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(record.uCallbackMessage, 1791u);
  EXPECT_EQ(record.hIcon, icon);
  EXPECT_EQ(std::string(record.szTip), hint.substr(0, 63));
  EXPECT_EQ(record.szTip[62], 'y');
  NOTIFYICONDATAA noTip = trayIconRecord(window, icon, "short", false);
  EXPECT_EQ(noTip.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
  EXPECT_STREQ(noTip.szTip, "short");
}

// The shift state comes from the callback's key flags, read as the
// component library reads a mouse message's.
TEST(TrayIcon, ClicksCarryTheShiftStateOfTheKeyFlags) {
  TrayForm tray;
  std::vector<TShiftState> states;
  tray.tray->OnClick = [&](TObject *, TMouseButton, TShiftState shift) { states.push_back(shift); };
  SendMessageA(tray.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  for (WPARAM keys : {WPARAM{0}, WPARAM{MK_SHIFT}, WPARAM{MK_CONTROL | MK_LBUTTON}})
    SendMessageA(tray.tray->Handle(), WM_TRAYICON, keys, WM_LBUTTONDOWN);
  EXPECT_EQ(states, (std::vector<TShiftState>{KeysToShiftState(0), ssShift, ssCtrl | ssLeft}));
}
