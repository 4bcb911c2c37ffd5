// The component sheets over a test owner and pages of the test's own:
// what Apply asks of the control for each changed page, Cancel turning
// into Close, the applied state surviving the close box, the version box,
// the caption buttons' tips, the first show's context-help button, and the
// resistor's sheet with its three pages.
#include "kit-fixture.h"
#include "page-test.h"
#include "uikit-test-resource.h"

#include "passive-lib/core/component-templates.h"
#include "passive-lib/uikit/win32/component-sheets.h"
#include "passive-lib/uikit/win32/element-attributes.h"

#include "platform/dialogs/win32/user-prompts.h"
#include "testing/window-finding.h"
#include "testing/window-shot.h"
#include "testing/modal-script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using kit_test::TestOwner;
using testing_support::ModalScript;

std::string resistorXml(const std::string &version = "1.00.419") {
  return passive::filledTemplate(passive::ComponentKind::Resistor, version, "2026-12-09");
}

// A page whose one check box writes TOUCHED="<name>" on the element it
// was given and marks the page changed.
class TestPage : public uikit::ComponentPage {
public:
  TestPage(const char *name, const char *section)
      : ComponentPage(IDD_TEST_PAGE), name_(name), section_(section) {}
  void attach(uikit::SheetOwner &owner) override {
    element_ = uikit::elementChild(owner.rootElement().get(), section_);
  }
  int applied = 0;

protected:
  bool onCommand(WORD id, WORD code, HWND control) override {
    if (id == IDC_TEST_CHANGE && code == BN_CLICKED) {
      uikit::writeAttribute(element_.get(), "TOUCHED", name_);
      markChanged();
      return true;
    }
    return ComponentPage::onCommand(id, code, control);
  }
  bool OnApply() override {
    ++applied;
    return true;
  }

private:
  const char *name_;
  const char *section_;
  base::ComPtr<IXMLElement> element_;
};

struct TestSheet {
  explicit TestSheet(TestOwner &owner)
      : sheet("Resistor Properties", owner, nullptr, 0,
              std::make_unique<TestPage>("parameters", "PARAMS"),
              std::make_unique<TestPage>("results", "RESULT"),
              std::make_unique<TestPage>("format", "RESULT")) {}
  uikit::ComponentSheet sheet;
};

// Brings page index to the front and ticks its box.
void changePage(uikit::ComponentSheet &sheet, int index) {
  SendMessageA(sheet.handle(), PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  HWND page = sheet.activePageHandle();
  SendMessageA(GetDlgItem(page, IDC_TEST_CHANGE), BM_CLICK, 0, 0);
}

void applyNow(uikit::ComponentSheet &sheet) {
  SendMessageA(sheet.handle(), WM_COMMAND, dialogs::ID_APPLY_NOW, 0);
}

ModalScript::Step closeBox(uikit::ComponentSheet &sheet) {
  return [&sheet] {
    PostMessageA(sheet.handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  };
}

std::function<void()> giveUp(uikit::ComponentSheet &sheet) {
  return [&sheet] { PostMessageA(sheet.handle(), WM_SYSCOMMAND, SC_CLOSE, 0); };
}

TEST(ComponentSheetApply, EachChangedPageAsksOnlyWhatItNeeds) {
  struct Case {
    std::vector<int> pages;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {{2}, {"dirty", "label", "layout", "keep"}}, // format: no solve
      {{1}, {"dirty", "layout", "keep"}},          // results: layout only
      {{0}, {"dirty", "label", "shape", "keep"}},  // parameters: solve road
      {{0, 1}, {"dirty", "label", "layout", "shape", "keep"}},
  };
  for (const Case &c : cases) {
    TestOwner owner(resistorXml());
    TestSheet made(owner);
    uikit::ComponentSheet &sheet = made.sheet;
    std::string okText;
    bool cancelEnabled = true;
    ModalScript script({[&] {
                          for (int index : c.pages)
                            changePage(sheet, index);
                          applyNow(sheet);
                          okText = test_windows::windowText(GetDlgItem(sheet.handle(), IDOK));
                          cancelEnabled = IsWindowEnabled(GetDlgItem(sheet.handle(), IDCANCEL));
                          return true;
                        },
                        [&] { // Close: the OK button under its new name
                          PostMessageA(GetDlgItem(sheet.handle(), IDOK), BM_CLICK, 0, 0);
                          return true;
                        }},
                       giveUp(sheet));
    EXPECT_EQ(owner.showProperties([&] { return sheet.run(); }), IDOK);
    EXPECT_EQ(owner.calls, c.calls) << c.pages.size();
    EXPECT_TRUE(owner.dirty);
    EXPECT_EQ(okText.find("Close") != std::string::npos, true) << okText;
    EXPECT_FALSE(cancelEnabled);
    for (std::size_t i = 0; i < 3; ++i)
      EXPECT_FALSE(static_cast<uikit::ComponentPage *>(sheet.page(i))->changed());
  }
}

TEST(ComponentSheetApply, TheAppliedStateSurvivesTheCloseBox) {
  TestOwner owner(resistorXml());
  TestSheet made(owner);
  uikit::ComponentSheet &sheet = made.sheet;
  ModalScript script({[&] {
                        changePage(sheet, 0);
                        applyNow(sheet);
                        changePage(sheet, 1); // changed after the Apply: undone
                        return true;
                      },
                      closeBox(sheet)},
                     giveUp(sheet));
  EXPECT_EQ(owner.showProperties([&] { return sheet.run(); }), IDCANCEL);
  std::string touched;
  EXPECT_TRUE(uikit::readAttribute(owner.section("PARAMS").get(), "TOUCHED", touched));
  EXPECT_EQ(touched, "parameters");
  EXPECT_FALSE(uikit::hasAttribute(owner.section("RESULT").get(), "TOUCHED"));
}

TEST(ComponentSheetApply, WithoutApplyTheCloseBoxUndoesEverything) {
  TestOwner owner(resistorXml());
  std::string before = owner.text();
  TestSheet made(owner);
  uikit::ComponentSheet &sheet = made.sheet;
  ModalScript script({[&] {
                        changePage(sheet, 0);
                        return true;
                      },
                      closeBox(sheet)},
                     giveUp(sheet));
  EXPECT_EQ(owner.showProperties([&] { return sheet.run(); }), IDCANCEL);
  EXPECT_EQ(owner.text(), before);
  EXPECT_TRUE(owner.calls.empty());
}

TEST(ComponentSheet, TheVersionBoxShowsItsTwoLines) {
  struct Case {
    std::string xml, text;
  };
  std::string noVersion = resistorXml();
  noVersion.erase(noVersion.find("VERSION=\"1.00.419\""),
                  std::string("VERSION=\"1.00.419\" ").size());
  const Case cases[] = {
      {resistorXml(), "Component version 1.00.419\nCreated 2026-12-09"},
      {noVersion, "Component version \nCreated 2026-12-09"},
  };
  for (const Case &c : cases) {
    TestOwner owner(c.xml);
    TestSheet made(owner);
    uikit::ComponentSheet &sheet = made.sheet;
    kit_test::shownBoxes().clear();
    std::string item;
    ModalScript script({[&] {
                          char text[64] = {};
                          GetMenuStringA(GetSystemMenu(sheet.handle(), FALSE), 16, text,
                                         sizeof text, MF_BYCOMMAND);
                          item = text;
                          SendMessageA(sheet.handle(), WM_SYSCOMMAND, 16 | 0x3, 0);
                          return true;
                        },
                        closeBox(sheet)},
                       giveUp(sheet));
    sheet.run();
    EXPECT_EQ(item, "&Version...");
    ASSERT_EQ(kit_test::shownBoxes().size(), 1u);
    EXPECT_EQ(kit_test::shownBoxes()[0].text, c.text);
    EXPECT_EQ(kit_test::shownBoxes()[0].caption, "Version Information");
    EXPECT_EQ(kit_test::shownBoxes()[0].type, UINT(MB_ICONINFORMATION));
  }
}

// Answers the sheet's non-client hit test with the code under test.
LRESULT injectedHit = HTNOWHERE;
WNDPROC sheetProc = nullptr;
LRESULT CALLBACK hitInjector(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST)
    return injectedHit;
  return CallWindowProcA(sheetProc, window, message, wParam, lParam);
}

TEST(ComponentSheet, CaptionButtonTipsAnswerInjectedHitCodes) {
  TestOwner owner(resistorXml());
  TestSheet made(owner);
  uikit::ComponentSheet &sheet = made.sheet;
  ModalScript script(
      {[&] {
         sheetProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
             sheet.handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hitInjector)));
         RECT client{};
         GetClientRect(sheet.handle(), &client);
         int width = GetSystemMetrics(SM_CXSIZE), height = GetSystemMetrics(SM_CYSIZE);
         struct Case {
           LRESULT hit;
           const char *tip;
           int place;
         };
         for (const Case &c : {Case{HTCLOSE, "Close", 1}, Case{HTHELP, "Help", 2},
                               Case{HTCAPTION, nullptr, 0}, Case{HTCLIENT, nullptr, 0}}) {
           injectedHit = c.hit;
           TOOLINFOA tool{};
           tool.cbSize = sizeof tool;
           INT_PTR id = sheet.OnToolHitTest(POINT{5, -5}, &tool);
           if (!c.tip) {
             EXPECT_EQ(id, -1);
             EXPECT_EQ(tool.lpszText, nullptr);
             continue;
           }
           EXPECT_EQ(id, c.hit);
           EXPECT_EQ(tool.uId, UINT_PTR(c.hit));
           EXPECT_EQ(tool.hwnd, sheet.handle());
           if (!tool.lpszText) {
             ADD_FAILURE() << "no tip text";
             continue;
           }
           EXPECT_STREQ(tool.lpszText, c.tip);
           std::free(tool.lpszText);
           EXPECT_EQ(tool.rect.left, client.right - c.place * width);
           EXPECT_EQ(tool.rect.right, tool.rect.left + width - 1);
           EXPECT_EQ(tool.rect.top, 1 - height);
           EXPECT_EQ(tool.rect.bottom, -2);
         }
         SetWindowLongPtrA(sheet.handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sheetProc));
         return true;
       },
       closeBox(sheet)},
      giveUp(sheet));
  sheet.run();
  EXPECT_TRUE(script.finished());
}

TEST(ComponentSheet, TheContextHelpButtonComesOnlyAtTheFirstShow) {
  TestOwner owner(resistorXml());
  TestSheet made(owner);
  uikit::ComponentSheet &sheet = made.sheet;
  LONG_PTR atFirst = 0, atSecond = 0;
  bool pendingAfter = true;
  ModalScript script({[&] {
                        atFirst = GetWindowLongPtrA(sheet.handle(), GWL_EXSTYLE);
                        pendingAfter = sheet.firstShowPending();
                        SetWindowLongPtrA(sheet.handle(), GWL_EXSTYLE,
                                          atFirst & ~WS_EX_CONTEXTHELP);
                        ShowWindow(sheet.handle(), SW_HIDE);
                        ShowWindow(sheet.handle(), SW_SHOW);
                        atSecond = GetWindowLongPtrA(sheet.handle(), GWL_EXSTYLE);
                        return true;
                      },
                      closeBox(sheet)},
                     giveUp(sheet));
  EXPECT_TRUE(sheet.firstShowPending());
  sheet.run();
  EXPECT_TRUE(atFirst & WS_EX_CONTEXTHELP);
  EXPECT_FALSE(pendingAfter);
  EXPECT_FALSE(atSecond & WS_EX_CONTEXTHELP);
}

TEST(ComponentSheet, HelpRequestsGoToThePageInFront) {
  TestOwner owner(resistorXml());
  TestSheet made(owner);
  uikit::ComponentSheet &sheet = made.sheet;
  std::vector<UINT> commands;
  dialogs::UserPrompts::setHelpHandler([&](HWND, const std::string &file, UINT command, ULONG_PTR) {
    EXPECT_NE(file.find(".hlp"), std::string::npos);
    commands.push_back(command);
    return true;
  });
  ModalScript script({[&] {
                        HELPINFO info{};
                        info.cbSize = sizeof info;
                        info.iContextType = HELPINFO_WINDOW;
                        info.hItemHandle = sheet.activePageHandle();
                        SendMessageA(sheet.handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
                        SendMessageA(sheet.handle(), WM_CONTEXTMENU,
                                     reinterpret_cast<WPARAM>(sheet.activePageHandle()), 0);
                        return true;
                      },
                      closeBox(sheet)},
                     giveUp(sheet));
  sheet.run();
  dialogs::UserPrompts::setHelpHandler(
      [](HWND, const std::string &, UINT, ULONG_PTR) { return true; });
  EXPECT_EQ(commands, (std::vector<UINT>{HELP_WM_HELP, HELP_CONTEXTMENU}));
}

// The resistor's own sheet holds its three pages, in order.
TEST(ComponentSheet, TheResistorSheetRunsWithThePagesOfTheBuild) {
  TestOwner owner(resistorXml());
  uikit::CResOcxSheet sheet("Resistor Properties", owner, nullptr, 0);
  std::vector<std::string> tabs;
  ModalScript script({[&] {
                        tabs = uikit_test::tabTexts(sheet.handle());
                        return true;
                      },
                      closeBox(sheet)},
                     giveUp(sheet));
  EXPECT_EQ(owner.showProperties([&] { return sheet.run(); }), IDCANCEL);
  EXPECT_EQ(sheet.pageCount(), 3);
  EXPECT_EQ(tabs, (std::vector<std::string>{"Parameters", "Results", "Format"}));
}

} // namespace
