// The "Options" dialog driven as a person drives it: typed delays,
// the modem list, the check boxes, OK and Cancel, all through the
// dialog's own controls while its modal loop runs.
#include "jpeg/win32/load-res-string.h"
#include "jpeg/win32/options-dialog.h"
#include "jpeg/win32/t-timer.h"
#include "jpeg/win32/t-window.h"
#include "testing/modal-script.h"
#include "testing/window-finding.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>

using namespace pixtune;

namespace {

// Runs a script once on the first visible window of this thread with the
// given caption, from inside the dialog's modal loop.
class DialogScript : public testing_support::ModalScript {
public:
  DialogScript(const char *caption, std::function<void(HWND)> script)
      : ModalScript({[caption = std::string(caption), script = std::move(script)] {
                      HWND dialog =
                          test_windows::withCaption(test_windows::threadWindows(), "", caption);
                      if (dialog)
                        script(dialog);
                      return dialog != nullptr;
                    }},
                    nullptr) {}
  bool Ran() const { return finished(); }
};

std::string text(HWND dialog, int id) {
  char buffer[64] = {};
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

// Typing into an edit: the edit reports the change as a person's typing
// would.
void type(HWND dialog, int id, const char *value) { SetDlgItemTextA(dialog, id, value); }

void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void pick(HWND dialog, int id, int item) {
  HWND list = GetDlgItem(dialog, id);
  SendMessageA(list, CB_SETCURSEL, item, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

std::string selected(HWND dialog, int id) {
  HWND list = GetDlgItem(dialog, id);
  char buffer[32] = {};
  SendMessageA(list, CB_GETLBTEXT, SendMessageA(list, CB_GETCURSEL, 0, 0),
               reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

HINSTANCE module() { return GetModuleHandleA(nullptr); }

constexpr int LockSliders = 1000, PostfixForm = 1012, PrefixForm = 1013, SaveCrop = 1045;
constexpr int AutoPreview = 1055, PreviewDelay = 1056, ModemSpeed = 1059;

} // namespace

TEST(OptionsDialog, KeepsAnUnlistedSpeedAndCorrectsTheDelay) {
  PluginOptions options;
  options.modemSpeed = 19200;
  options.previewDelay = 700;
  TOptionsDialog dialog(module(), options);
  std::string shown, afterZero, afterHuge;
  bool delayEnabled = false;
  DialogScript script("Options", [&](HWND d) {
    shown = selected(d, ModemSpeed);
    delayEnabled = IsWindowEnabled(GetDlgItem(d, PreviewDelay));
    type(d, PreviewDelay, "0");
    afterZero = text(d, PreviewDelay);
    type(d, PreviewDelay, "200000");
    afterHuge = text(d, PreviewDelay);
    click(d, IDOK);
  });
  ASSERT_TRUE(dialog.Run(nullptr));
  ASSERT_TRUE(script.Ran());
  EXPECT_EQ(shown, "33600");
  EXPECT_TRUE(delayEnabled);
  EXPECT_EQ(options.modemSpeed, 19200); // shown as 33600, kept until picked
  EXPECT_EQ(afterZero, "1");
  EXPECT_EQ(afterHuge, "100000");
  EXPECT_EQ(options.previewDelay, 100000);
}

TEST(OptionsDialog, OkWritesEveryEditBack) {
  PluginOptions options;
  options.modemSpeed = 33600;
  options.lockSliders = 1;
  options.prefixForm = 1;
  options.saveCrop = 0;
  options.automaticPreview = 1;
  TOptionsDialog dialog(module(), options);
  bool delayEnabledAfterUncheck = true;
  DialogScript script("Options", [&](HWND d) {
    pick(d, ModemSpeed, 3); // "9600"
    click(d, LockSliders);
    click(d, SaveCrop);
    click(d, PostfixForm);
    click(d, AutoPreview);
    delayEnabledAfterUncheck = IsWindowEnabled(GetDlgItem(d, PreviewDelay));
    type(d, PreviewDelay, "2500");
    click(d, IDOK);
  });
  ASSERT_TRUE(dialog.Run(nullptr));
  EXPECT_EQ(options.modemSpeed, 9600);
  EXPECT_EQ(options.lockSliders, 0);
  EXPECT_EQ(options.saveCrop, 1);
  EXPECT_EQ(options.prefixForm, 0);
  EXPECT_EQ(options.automaticPreview, 0);
  EXPECT_FALSE(delayEnabledAfterUncheck);
  EXPECT_EQ(options.previewDelay, 2500);
}

TEST(OptionsDialog, CancelChangesNothing) {
  PluginOptions options;
  options.modemSpeed = 14400;
  options.previewDelay = 900;
  PluginOptions before = options;
  TOptionsDialog dialog(module(), options);
  std::string shown;
  DialogScript script("Options", [&](HWND d) {
    shown = selected(d, ModemSpeed);
    pick(d, ModemSpeed, 0);
    type(d, PreviewDelay, "0");
    click(d, LockSliders);
    click(d, PrefixForm);
    click(d, IDCANCEL);
  });
  EXPECT_FALSE(dialog.Run(nullptr));
  ASSERT_TRUE(script.Ran());
  EXPECT_EQ(shown, "14400");
  EXPECT_EQ(options.modemSpeed, before.modemSpeed);
  EXPECT_EQ(options.previewDelay, before.previewDelay);
  EXPECT_EQ(options.lockSliders, before.lockSliders);
  EXPECT_EQ(options.prefixForm, before.prefixForm);
}

TEST(OptionsDialog, CloseBoxIsCancel) {
  PluginOptions options;
  options.previewDelay = 900;
  TOptionsDialog dialog(module(), options);
  DialogScript script("Options", [&](HWND d) {
    type(d, PreviewDelay, "5");
    SendMessageA(d, WM_CLOSE, 0, 0);
  });
  EXPECT_FALSE(dialog.Run(nullptr));
  EXPECT_EQ(options.previewDelay, 900);
}

TEST(LoadResString, EntriesAndMissingOnes) {
  EXPECT_STREQ(LoadResString(module(), 16102).c_str(), "33600");
  EXPECT_STREQ(LoadResString(module(), 16106).c_str(), "2400");
  EXPECT_STREQ(LoadResString(module(), 17002).c_str(), "Pixtune.hlp");
  TString missing = LoadResString(module(), 31999);
  EXPECT_STREQ(missing.c_str(), "");
}

namespace {
// A dialog whose handler fails: the failure reaches the modal caller and
// the dialog is gone.
class FailingDialog final : public TWindow {
public:
  FailingDialog() : TWindow(117, GetModuleHandleA(nullptr)) {}

private:
  INT_PTR OnCommand(WORD, WPARAM wParam, LPARAM) override {
    if (LOWORD(wParam) == IDOK)
      throw std::runtime_error("allocation failed");
    return 0;
  }
};

// Counts the messages that reach each operation.
class CountingDialog final : public TWindow {
public:
  CountingDialog() : TWindow(117, GetModuleHandleA(nullptr)) {}
  int inits = 0, timers = 0, closes = 0;
  LPARAM user = 0;
  TTimer timer{100, 10};

private:
  INT_PTR OnInitDialog(WPARAM, LPARAM lParam) override {
    ++inits;
    user = lParam;
    timer.SetOwner(Handle());
    timer.Start();
    return 1;
  }
  INT_PTR OnTimer(WPARAM id, LPARAM) override {
    if (id != timer.Id())
      return 0;
    ++timers;
    if (timers == 2) {
      timer.Kill();
      PostMessageA(Handle(), WM_CLOSE, 0, 0);
    }
    return 1;
  }
  INT_PTR OnClose() override {
    ++closes;
    result_ = 7;
    return TWindow::OnClose();
  }
};
} // namespace

TEST(TWindow, FailureInAHandlerReachesTheModalCaller) {
  FailingDialog dialog;
  DialogScript script("Options", [&](HWND d) { click(d, IDOK); });
  EXPECT_THROW(dialog.RunModal(nullptr, 0), std::runtime_error);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(TWindow, MessagesReachTheirOperationsAndCloseEndsWithTheResult) {
  CountingDialog dialog;
  EXPECT_EQ(dialog.RunModal(nullptr, 42), 7);
  EXPECT_EQ(dialog.inits, 1);
  EXPECT_EQ(dialog.user, 42);
  EXPECT_EQ(dialog.timers, 2);
  EXPECT_EQ(dialog.closes, 1);
}

TEST(TTimer, SuspendOwesARestartAndResumeAfterKillDoesNothing) {
  HWND window =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  TTimer timer(100, 5000);
  timer.SetOwner(window);
  timer.Start();
  EXPECT_TRUE(timer.Running());
  timer.Suspend();
  EXPECT_FALSE(timer.Running());
  EXPECT_TRUE(timer.Suspended());
  timer.Resume();
  EXPECT_TRUE(timer.Running());
  timer.Kill();
  timer.Resume();
  EXPECT_FALSE(timer.Running());
  timer.SetEnabled(false);
  timer.Start();
  EXPECT_FALSE(timer.Running());
  DestroyWindow(window);
}
