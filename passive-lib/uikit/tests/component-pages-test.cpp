// The sheets' pages in real component sheets under Wine, over a test owner
// holding a resistor's (or a DC source's) component XML: the sections they
// read, and the pages driven by the messages the controls send, inside the
// sheet's own modal loop. Message boxes are answered through the prompt
// seam, so none stays open.
#include "passive-lib/uikit/win32/component-sheets.h"
#include "passive-lib/uikit/win32/crlc-ocx-format.h"
#include "passive-lib/uikit/win32/crlc-ocx-result.h"
#include "passive-lib/uikit/win32/pages-resource.h"
#include "passive-lib/uikit/win32/params-page.h"
#include "passive-lib/uikit/win32/xml-page-section.h"
#include "passive-lib/uikit/tests/page-test.h"

#include "passive-lib/core/component-templates.h"
#include "passive-lib/core/value-format.h"
#include "passive-lib/win32/xml-access.h"

#include "platform/dialogs/win32/user-prompts.h"
#include "platform/xml/win32/xml-objects.h"
#include "testing/modal-script.h"
#include "testing/test-paths.h"
#include "testing/window-shot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using base::ComPtr;
using uikit_test::activateRow;
using uikit_test::Box;
using uikit_test::endEdit;
using uikit_test::notify;
using uikit_test::spin;

// A resistor's (or another kind's) control as the sheets see it.
struct TestOwner : uikit_test::TestOwner {
  explicit TestOwner(passive::ComponentKind kind)
      : uikit_test::TestOwner(passive::filledTemplate(kind, "1.0.0.1", "12/09/2026")) {}
};

using Step = testing_support::ModalScript::Step;

// Runs the sheet with steps inside its modal loop (testing/modal-script.h),
// the first once the page is shown; after the last, or at the deadline, the
// sheet is cancelled. Whether every step ran.
bool runOnPage(uikit::ComponentSheet &sheet, uikit::ComponentPage &page, std::vector<Step> steps) {
  const auto cancel = [&sheet] {
    PostMessageA(sheet.handle(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return true;
  };
  steps.insert(steps.begin(), [&page] { return page.handle() && IsWindowVisible(page.handle()); });
  steps.push_back(cancel);
  testing_support::ModalScript script(std::move(steps), cancel);
  sheet.run();
  return script.finished();
}

class ComponentPages : public uikit_test::PageTest {
protected:
  static HWND applyButton(uikit::ComponentSheet &sheet) {
    return GetDlgItem(sheet.handle(), 0x3021);
  }
  static void chooseRound(uikit::ParamsPage &page, int index) {
    SendDlgItemMessageA(page.handle(), IDC_PARAMS_ROUND, CB_SETCURSEL, static_cast<WPARAM>(index),
                        0);
    SendMessageA(page.handle(), WM_COMMAND, MAKEWPARAM(IDC_PARAMS_ROUND, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(GetDlgItem(page.handle(), IDC_PARAMS_ROUND)));
  }
};

// The pages' sections over the XML object model's elements.
TEST_F(ComponentPages, XmlSectionsHoldTheItemsAndTheirOrder) {
  TestOwner owner(passive::ComponentKind::Resistor);
  uikit::XmlPageSection params(owner.section("PARAMS"));
  uikit::XmlPageSection results(owner.section("RESULT"));
  ASSERT_EQ(params.section().items.size(), 2u);
  ASSERT_EQ(results.section().items.size(), 3u);
  EXPECT_EQ(params.section().shown, (std::vector<int>{0, 1}));
  EXPECT_EQ(results.section().shown, (std::vector<int>{2}));
  EXPECT_EQ(params.section().items[1]->get("NAME"), "R");
  uikit::XmlPageSection none(nullptr);
  EXPECT_TRUE(none.section().items.empty());
}

TEST_F(ComponentPages, CheckingResultRowsTwoThenZeroWritesTheirOrder) {
  TestOwner owner(passive::ComponentKind::Resistor);
  uikit::CResOcxSheet sheet("Resistor Properties", owner, nullptr, 1);
  auto &page = *static_cast<uikit::CRLCOcxResult *>(sheet.resultsPage());
  std::string afterTwo, afterZero;
  bool applyAtStart = true, applyAfter = false;
  ASSERT_TRUE(runOnPage(sheet, page, {[&] {
                          applyAtStart = IsWindowEnabled(applyButton(sheet)) != FALSE;
                          // The template shows result 2: uncheck it first.
                          page.list().setChecked(2, false);
                          page.list().setChecked(2, true);
                          afterTwo = owner.attribute("RESULT", -1, "ORDER");
                          page.list().setChecked(0, true);
                          afterZero = owner.attribute("RESULT", -1, "ORDER");
                          applyAfter = IsWindowEnabled(applyButton(sheet)) != FALSE;
                          return true;
                        }}));
  EXPECT_FALSE(applyAtStart) << "filling the rows marks nothing";
  EXPECT_EQ(afterTwo, "2");
  EXPECT_EQ(afterZero, "2 0");
  EXPECT_TRUE(applyAfter);
  EXPECT_EQ(page.list().handle(), nullptr);
}

TEST_F(ComponentPages, AFormatMoveWritesTheOrderAndLoadingAnItemWritesNothing) {
  TestOwner owner(passive::ComponentKind::Resistor);
  passive::setAttributeText(owner.section("RESULT").get(), "ORDER", "0 1 2");
  uikit::CResOcxSheet sheet("Resistor Properties", owner, nullptr, 2);
  auto &page = *static_cast<uikit::CRLCOcxFormat *>(sheet.formatPage());
  std::string before, afterLoad, afterMove;
  int selectedAfterMove = -1;
  bool formatEnabled = false;
  ASSERT_TRUE(runOnPage(sheet, page, {[&] {
                          before = owner.text();
                          dialogs::ListView &results = page.list(passive::FormatSide::Results);
                          results.setItemState(1, LVIS_SELECTED | LVIS_FOCUSED,
                                               LVIS_SELECTED | LVIS_FOCUSED);
                          afterLoad = owner.text();
                          formatEnabled =
                              IsWindowEnabled(GetDlgItem(page.handle(), IDC_FORMAT_FORMAT));
                          spin(page.handle(), IDC_FORMAT_MOVE, 1);
                          afterMove = owner.attribute("RESULT", -1, "ORDER");
                          selectedAfterMove = results.selectedRow();
                          return true;
                        }}));
  EXPECT_EQ(afterLoad, before) << "loading an item writes nothing";
  EXPECT_TRUE(formatEnabled);
  EXPECT_EQ(afterMove, "1 0 2");
  EXPECT_EQ(selectedAfterMove, 0);
}

// The Format page's format combo answers its entries' tips, whole.
TEST_F(ComponentPages, TheFormatCombosTipsReadWhole) {
  TestOwner owner(passive::ComponentKind::Resistor);
  uikit::CResOcxSheet sheet("Resistor Properties", owner, nullptr, 2);
  auto &page = *static_cast<uikit::CRLCOcxFormat *>(sheet.formatPage());
  uikit_test::FormatTipTexts tips;
  ASSERT_TRUE(runOnPage(sheet, page, {[&] {
                          tips = uikit_test::formatTipsOf(
                              GetDlgItem(page.handle(), IDC_FORMAT_FORMAT));
                          return true;
                        }}));
  const std::vector<std::string> whole(std::begin(uikit_test::WholeFormatTips),
                                       std::end(uikit_test::WholeFormatTips));
  EXPECT_EQ(tips.ansi, whole);
  EXPECT_EQ(tips.wide, whole);
}

TEST_F(ComponentPages, AStepWithStd20On1000WritesTheTextFor1500AndEnablesApply) {
  TestOwner owner(passive::ComponentKind::Resistor);
  passive::setAttributeText(passive::childElements(owner.section("PARAMS").get()).at(1).get(),
                            "IEEE", passive::ieeeText(1000));
  uikit::CResOcxSheet sheet("Resistor Properties", owner, nullptr, 0);
  auto &page = *static_cast<uikit::ParamsPage *>(sheet.parametersPage());
  std::string cell, tip;
  bool apply = false;
  ASSERT_TRUE(runOnPage(sheet, page, {[&] {
                          chooseRound(page, 0); // "std. 20%"
                          tip = page.adjustTip();
                          spin(page.handle(), IDC_PARAMS_SPIN, 1);
                          cell = page.list().itemText(1, 1);
                          apply = IsWindowEnabled(applyButton(sheet)) != FALSE;
                          return true;
                        }}));
  std::string expected;
  ASSERT_TRUE(passive::formatValue(1500, 2, 1, false, expected));
  EXPECT_EQ(owner.attribute("PARAMS", 1, "TEXT"), expected);
  EXPECT_EQ(owner.attribute("PARAMS", 1, "IEEE"), "(absent)");
  EXPECT_EQ(owner.attribute("PARAMS", 1, "ROUND"), "0");
  EXPECT_EQ(cell, expected);
  EXPECT_EQ(tip, "Adjust +50.00% (up) or -32.00% (down)");
  EXPECT_TRUE(apply);
  EXPECT_EQ(owner.count("dirty"), 0) << "without Auto-Apply nothing is applied";
}

TEST_F(ComponentPages, RefusedAndCancelledEntriesChangeNothing) {
  TestOwner owner(passive::ComponentKind::Resistor);
  uikit::CResOcxSheet sheet("Resistor Properties", owner, nullptr, 0);
  auto &page = *static_cast<uikit::ParamsPage *>(sheet.parametersPage());
  std::string before, after;
  LRESULT refused = 0, cancelled = -5;
  std::string cellAfter;
  ASSERT_TRUE(runOnPage(sheet, page, {[&] {
                          before = owner.text();
                          refused = endEdit(page.handle(), 1, "1k");
                          endEdit(page.handle(), 1, "0");
                          endEdit(page.handle(), 0, "1R");
                          cancelled = endEdit(page.handle(), 1, nullptr);
                          after = owner.text();
                          cellAfter = page.list().itemText(1, 1);
                          return true;
                        }}));
  EXPECT_EQ(after, before);
  EXPECT_EQ(refused, -1);
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(cellAfter, "1000");
  ASSERT_EQ(boxes.size(), 3u) << "one box per refusal, none for the cancelled edit";
  EXPECT_EQ(boxes[0].text, "Number format error. Please re-enter.");
  EXPECT_EQ(boxes[1].text, "Value must be positive. Please re-enter.");
  EXPECT_EQ(boxes[2].text, "Component ID format error. Please re-enter.");
  for (const Box &box : boxes) {
    EXPECT_EQ(box.caption, "Resistor");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONEXCLAMATION));
  }
}

TEST_F(ComponentPages, AutoApplyAppliesAtOnce) {
  TestOwner owner(passive::ComponentKind::Resistor);
  uikit::CResOcxSheet sheet("Resistor Properties", owner, nullptr, 0);
  auto &page = *static_cast<uikit::ParamsPage *>(sheet.parametersPage());
  bool cancelEnabled = true;
  ASSERT_TRUE(runOnPage(sheet, page,
                        {[&] {
                           CheckDlgButton(page.handle(), IDC_PARAMS_AUTO_APPLY, BST_CHECKED);
                           EXPECT_EQ(endEdit(page.handle(), 1, "2200"), 0);
                           return true;
                         },
                         [&] { return owner.count("dirty") > 0; },
                         [&] {
                           cancelEnabled =
                               IsWindowEnabled(GetDlgItem(sheet.handle(), IDCANCEL)) != FALSE;
                           return true;
                         }}));
  EXPECT_EQ(owner.attribute("PARAMS", 1, "TEXT"), "2200");
  EXPECT_EQ(owner.count("dirty"), 1);
  EXPECT_EQ(owner.count("label"), 1);
  EXPECT_EQ(owner.count("keep"), 1);
  EXPECT_FALSE(cancelEnabled) << "after an Apply the sheet can only be closed";
}

TEST_F(ComponentPages, TheSourcePageStepsDigitsAndCaptionsItsBoxes) {
  TestOwner owner(passive::ComponentKind::DcSource);
  uikit::CVdcOcxSheet sheet("DC Source Properties", owner, nullptr, 0);
  auto &page = *static_cast<uikit::ParamsPage *>(sheet.parametersPage());
  std::string entries, cell;
  bool apply = false;
  ASSERT_TRUE(runOnPage(sheet, page, {[&] {
                          for (int i = 0; i < page.roundCombo().count(); ++i)
                            entries += page.roundCombo().entryText(i) + ";";
                          endEdit(page.handle(), 1, "4.7k");
                          // 6 V one unit up in the 2nd digit.
                          chooseRound(page, 0);
                          spin(page.handle(), IDC_PARAMS_SPIN, 1);
                          cell = page.list().itemText(1, 1);
                          apply = IsWindowEnabled(applyButton(sheet)) != FALSE;
                          return true;
                        }}));
  EXPECT_EQ(entries, "2nd digit;3rd digit;4th digit;");
  EXPECT_EQ(std::atof(cell.c_str()), 6.1) << cell;
  EXPECT_EQ(std::atof(owner.attribute("PARAMS", 1, "TEXT").c_str()), 6.1);
  EXPECT_TRUE(apply);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Number format error. Please re-enter.");
  EXPECT_EQ(boxes[0].caption, "Power Supply");
}

// Both sources' identifiers are checked from their component templates: a
// malformed one is refused with the source page's caption and never stored.
TEST_F(ComponentPages, BothSourcesRefuseAMalformedIdentifier) {
  const passive::ComponentKind kinds[] = {passive::ComponentKind::DcSource,
                                          passive::ComponentKind::PowerRail};
  for (passive::ComponentKind kind : kinds) {
    boxes.clear();
    TestOwner owner(kind);
    std::unique_ptr<uikit::ComponentSheet> sheet;
    if (kind == passive::ComponentKind::DcSource)
      sheet = std::make_unique<uikit::CVdcOcxSheet>("DC Source Properties", owner, nullptr, 0);
    else
      sheet = std::make_unique<uikit::CPwrOcxSheet>("Power Properties", owner, nullptr, 0);
    auto &page = *static_cast<uikit::ParamsPage *>(sheet->parametersPage());
    std::vector<LRESULT> refusals;
    std::string afterRefusals;
    LRESULT accepted = -5;
    ASSERT_TRUE(runOnPage(*sheet, page, {[&] {
      for (const char *bad : {"1V", "", "V1?2", "V-1"})
        refusals.push_back(endEdit(page.handle(), 0, bad));
      afterRefusals = owner.attribute("PARAMS", 0, "TEXT");
      accepted = endEdit(page.handle(), 0, "Vout??");
      return true;
    }}));
    EXPECT_EQ(refusals, std::vector<LRESULT>(4, -1)) << "the editor stays open";
    EXPECT_EQ(afterRefusals, "(absent)");
    EXPECT_EQ(accepted, 0);
    EXPECT_EQ(owner.attribute("PARAMS", 0, "TEXT"), "Vout??");
    ASSERT_EQ(boxes.size(), 4u);
    for (const Box &box : boxes) {
      EXPECT_EQ(box.text, "Component ID format error. Please re-enter.");
      EXPECT_EQ(box.caption, "Power Supply");
      EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONEXCLAMATION));
    }
  }
}

// The list's own in-place editor: Enter keeps the typed value, Escape
// cancels and changes nothing.
TEST_F(ComponentPages, AnInPlaceEditIsKeptWithEnterAndCancelledWithEscape) {
  TestOwner owner(passive::ComponentKind::Resistor);
  uikit::CResOcxSheet sheet("Resistor Properties", owner, nullptr, 0);
  auto &page = *static_cast<uikit::ParamsPage *>(sheet.parametersPage());
  HWND editor = nullptr;
  std::string afterEnter, afterEscape;
  bool spinDisabledWhileEditing = false;
  auto activate = [&] {
    activateRow(page.handle(), 1, 1);
    editor = GetDlgItem(page.list().handle(), 200);
    return editor != nullptr;
  };
  auto editorGone = [&] { return !IsWindow(editor) || !IsWindowVisible(editor); };
  ASSERT_TRUE(runOnPage(sheet, page,
                        {activate,
                         [&] {
                           spinDisabledWhileEditing =
                               !IsWindowEnabled(GetDlgItem(page.handle(), IDC_PARAMS_SPIN));
                           SetWindowTextA(editor, "2200");
                           PostMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
                           return true;
                         },
                         [&] {
                           if (!editorGone())
                             return false;
                           afterEnter = owner.attribute("PARAMS", 1, "TEXT");
                           return true;
                         },
                         activate,
                         [&] {
                           SetWindowTextA(editor, "3300");
                           PostMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
                           return true;
                         },
                         [&] {
                           if (!editorGone())
                             return false;
                           afterEscape = owner.attribute("PARAMS", 1, "TEXT");
                           return true;
                         }}));
  EXPECT_TRUE(spinDisabledWhileEditing);
  EXPECT_EQ(afterEnter, "2200");
  EXPECT_EQ(afterEscape, "2200") << "the cancelled edit changed nothing";
  EXPECT_TRUE(boxes.empty());
}

// Every header and every name, value and unit on the resistor's
// Parameters and Results pages can be read whole; the screenshots, in the
// test's scratch folder, show it.
TEST_F(ComponentPages, ScreenshotsOfTheResistorSheetsPages) {
  TestOwner owner(passive::ComponentKind::Resistor);
  passive::setAttributeText(passive::childElements(owner.section("RESULT").get()).at(0).get(),
                            "IEEE", passive::ieeeText(0.036));
  uikit::CResOcxSheet sheet("Resistor Properties", owner, nullptr, 0);
  std::vector<std::vector<std::string>> cut(2, std::vector<std::string>{"(not shown)"});
  std::vector<int> rows(2, 0);
  std::vector<Step> steps;
  const char *names[] = {"resistor-parameters.bmp", "resistor-results.bmp"};
  const int lists[] = {IDC_PARAMS_LIST, IDC_RESULTS_LIST};
  for (int index = 0; index < 2; ++index) {
    auto page = [&sheet, index] {
      uikit::ComponentPage *shown = index == 0 ? sheet.parametersPage() : sheet.resultsPage();
      return shown->handle() && IsWindowVisible(shown->handle()) ? shown->handle() : nullptr;
    };
    steps.push_back([&sheet, index] {
      SendMessageA(sheet.handle(), PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
      return true;
    });
    steps.push_back([&, page] {
      if (!page())
        return false;
      RedrawWindow(sheet.handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      return true;
    });
    steps.push_back([&, page, index] {
      HWND list = GetDlgItem(page(), lists[index]);
      rows[static_cast<std::size_t>(index)] =
          static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
      cut[static_cast<std::size_t>(index)] = uikit_test::cutTexts(list);
      GdiFlush();
      return true;
    });
    steps.push_back([&names, index] {
      test_windows::saveScreenShot(testing_support::scratchPath(names[index]));
      return true;
    });
  }
  ASSERT_TRUE(runOnPage(sheet, *sheet.parametersPage(), steps));
  EXPECT_EQ(rows, (std::vector<int>{2, 3}));
  EXPECT_EQ(cut[0], std::vector<std::string>{}) << "Parameters page";
  EXPECT_EQ(cut[1], std::vector<std::string>{}) << "Results page";
}

} // namespace
