// The window layer under Wine, driven by posted messages from inside the
// modal loops: dialogs end with their buttons' results, a handler's
// exception reaches doModal's caller, notifications are reflected to the
// child's object, sheets tell OK from the close box and apply their pages,
// and the prompt seam answers boxes without showing them.
#include "platform/dialogs/win32/dialog.h"
#include "platform/dialogs/win32/list-view.h"
#include "platform/dialogs/win32/property-page.h"
#include "platform/dialogs/win32/property-sheet-dialog.h"
#include "platform/dialogs/win32/user-prompts.h"

#include "dialogs-test-resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace dialogs;

class PlainDialog : public Dialog {
public:
  PlainDialog() : Dialog(IDD_PLAIN, nullptr) {}
  std::function<void(PlainDialog &)> atStart;
  bool throwOnName = false;

protected:
  BOOL OnInitDialog() override {
    if (atStart)
      atStart(*this);
    return TRUE;
  }
  bool onCommand(WORD id, WORD code, HWND control) override {
    if (id == IDC_NAME && code == EN_CHANGE && throwOnName)
      throw std::runtime_error("handler failed");
    return Dialog::onCommand(id, code, control);
  }
};

TEST(Dialog, EndsWithTheButtonPressed) {
  for (int button : {IDOK, IDCANCEL}) {
    PlainDialog dialog;
    dialog.atStart = [button](PlainDialog &self) {
      PostMessageA(self.item(button), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(dialog.doModal(), button);
    EXPECT_EQ(dialog.handle(), nullptr);
  }
}

TEST(Dialog, HandlerFailureReachesTheCallerAndTheWindowGoes) {
  PlainDialog dialog;
  dialog.throwOnName = true;
  dialog.atStart = [](PlainDialog &self) {
    PostMessageA(self.item(IDC_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
    PostMessageA(self.item(IDC_NAME), WM_CHAR, 'y', 0);
  };
  EXPECT_THROW(dialog.doModal(), std::runtime_error);
  EXPECT_EQ(dialog.handle(), nullptr);
}

TEST(Dialog, MissingTemplateGivesMinusOne) {
  class Missing : public Dialog {
  public:
    Missing() : Dialog(4321, nullptr) {}
  } dialog;
  EXPECT_EQ(dialog.doModal(), -1);
}

// A list that answers its own column click, reflected from the dialog.
class ReflectingList : public ListView {
public:
  int clicks = 0;

protected:
  bool onReflected(UINT message, WPARAM, LPARAM lParam, LRESULT &result) override {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR *>(lParam)->code == LVN_COLUMNCLICK) {
      ++clicks;
      result = 0;
      return true;
    }
    return false;
  }
};

TEST(Dialog, ChildNotificationsAreReflectedToTheChildObject) {
  PlainDialog dialog;
  ReflectingList list;
  dialog.atStart = [&list](PlainDialog &self) {
    list.subclass(self.item(IDC_LIST));
    list.insertColumn(0, "Name", 60);
    NMLISTVIEW click{};
    click.hdr.hwndFrom = list.handle();
    click.hdr.idFrom = IDC_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    SendMessageA(self.handle(), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&click));
    PostMessageA(self.handle(), WM_COMMAND, IDCANCEL, 0);
  };
  dialog.doModal();
  EXPECT_EQ(list.clicks, 1);
  EXPECT_EQ(list.handle(), nullptr); // the subclass ends with the window
}

class CountingPage : public CPropertyPage {
public:
  explicit CountingPage(UINT id) : CPropertyPage(id) {}
  int applied = 0, activated = 0;
  std::function<void(CountingPage &)> onActive;

protected:
  bool OnSetActive() override {
    ++activated;
    if (onActive)
      std::exchange(onActive, nullptr)(*this);
    return true;
  }
  bool OnApply() override {
    ++applied;
    return true;
  }
};

TEST(CPropertySheet, OkAppliesEveryMadePageAndAnswersIdok) {
  CountingPage one(IDD_PAGE_ONE), two(IDD_PAGE_TWO);
  CPropertySheet sheet("Sheet", nullptr, 0);
  sheet.AddPage(&one);
  sheet.AddPage(&two);
  one.onActive = [](CountingPage &page) {
    page.setModified(true);
    PostMessageA(GetDlgItem(page.sheetHandle(), IDOK), BM_CLICK, 0, 0);
  };
  EXPECT_EQ(sheet.doModal(), IDOK);
  EXPECT_EQ(one.applied, 1);
  EXPECT_EQ(sheet.handle(), nullptr);
}

TEST(CPropertySheet, TheCloseBoxAnswersIdcancel) {
  CountingPage one(IDD_PAGE_ONE);
  CPropertySheet sheet("Sheet", nullptr, 0);
  sheet.AddPage(&one);
  one.onActive = [](CountingPage &page) {
    PostMessageA(page.sheetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  };
  EXPECT_EQ(sheet.doModal(), IDCANCEL);
  EXPECT_EQ(one.applied, 0);
}

TEST(UserPrompts, TheHandlerAnswersInsteadOfABox) {
  std::vector<std::string> seen;
  UserPrompts::setMessageHandler(
      [&seen](HWND, const std::string &text, const std::string &caption, UINT type) {
        seen.push_back(caption + ": " + text + " " + std::to_string(type));
        return IDYES;
      });
  UserPrompts::setHelpHandler([&seen](HWND, const std::string &file, UINT command, ULONG_PTR) {
    seen.push_back(file + " " + std::to_string(command));
    return true;
  });
  EXPECT_EQ(UserPrompts::messageBox(nullptr, "Go on?", "Question", MB_YESNO), IDYES);
  EXPECT_TRUE(UserPrompts::help(nullptr, "x.hlp", HELP_CONTEXTMENU, 0));
  UserPrompts::setMessageHandler(nullptr);
  UserPrompts::setHelpHandler(nullptr);
  EXPECT_EQ(seen, (std::vector<std::string>{"Question: Go on? 4", "x.hlp 10"}));
}

} // namespace
