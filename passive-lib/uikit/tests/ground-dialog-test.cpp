// The ground's properties dialog on the real QorLib service, driven by
// messages inside its modal loop: each control writes exactly its
// attribute and nothing else, the preview follows, the precision wraps
// from 14 to 0, an empty ORDER disables every other control, the format
// tips fit their buffer, and a screenshot is kept.
#include "kit-fixture.h"
#include "page-test.h"

#include "passive-lib/core/component-templates.h"
#include "passive-lib/uikit/win32/element-attributes.h"
#include "passive-lib/uikit/win32/gnd-properties-dialog.h"
#include "passive-lib/uikit/win32/uikit-resource.h"

#include "platform/base/win32/bstr.h"
#include "platform/base/win32/com-error.h"

#include "testing/test-paths.h"
#include "testing/window-finding.h"
#include "testing/window-shot.h"
#include "testing/modal-script.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

namespace {

using kit_test::TestOwner;
using testing_support::ModalScript;

std::string groundXml() {
  return passive::filledTemplate(passive::ComponentKind::Ground, "1.00.419", "2026-12-09");
}

struct Ground {
  Ground() : owner(groundXml()) {
    result = owner.section("RESULT");
    item = uikit::elementChild(result.get(), "ITEM");
  }
  // What the preview must show: the service's label of the item as it is.
  std::string label() {
    base::Bstr none, text;
    base::check(kit_test::qorLib()->FormatItem(item.get(), none.get(), text.receive()));
    return text.toAnsi();
  }
  TestOwner owner;
  base::ComPtr<IXMLElement> result, item;
};

std::string preview(HWND dialog) {
  return test_windows::windowText(GetDlgItem(dialog, IDC_GND_PREVIEW));
}

void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::string attribute(IXMLElement *element, const char *name) {
  std::string value;
  return uikit::readAttribute(element, name, value) ? value : "<absent>";
}

HWND dialogWindow() { return FindWindowA(nullptr, "GND (Ground) Properties"); }

TEST(GroundDialog, EachControlWritesExactlyItsAttribute) {
  Ground ground;
  // The same edits made by hand on a second copy of the document.
  TestOwner expected(groundXml());
  base::ComPtr<IXMLElement> expectedResult = expected.section("RESULT");
  base::ComPtr<IXMLElement> expectedItem = uikit::elementChild(expectedResult.get(), "ITEM");
  // Both flags are toggled: on where the template has them off, and back.
  const bool hadName = uikit::hasAttribute(expectedItem.get(), "SHOWNAME");
  const bool hadUnits = uikit::hasAttribute(expectedItem.get(), "SHOWDIM");
  for (auto [name, had] :
       {std::pair<const char *, bool>{"SHOWNAME", hadName}, {"SHOWDIM", hadUnits}})
    if (had)
      uikit::removeAttribute(expectedItem.get(), name);
    else
      uikit::writeAttribute(expectedItem.get(), name, "");
  uikit::writeAttribute(expectedItem.get(), "CHS", "1");
  uikit::removeAttribute(expectedResult.get(), "LAYER");
  uikit::writeAttribute(expectedItem.get(), "FORMAT", "4");
  uikit::writeAttribute(expectedItem.get(), "DIGITS", "0");

  uikit::GndPropertiesDialog dialog(&ground.owner, nullptr);
  dialog.setElements(ground.result.get(), ground.item.get());
  std::string before = ground.owner.text();
  bool shot = false;
  ModalScript script(
      {[&] {
         HWND window = dialog.handle();
         EXPECT_EQ(ground.owner.text(), before); // opening writes nothing
         EXPECT_TRUE(IsDlgButtonChecked(window, IDC_GND_SHOW_RESULT));
         EXPECT_TRUE(IsDlgButtonChecked(window, IDC_GND_LAYER));
         EXPECT_EQ(IsDlgButtonChecked(window, IDC_GND_SHOW_UNITS) == BST_CHECKED, hadUnits);
         EXPECT_EQ(IsDlgButtonChecked(window, IDC_GND_SHOW_NAME) == BST_CHECKED, hadName);
         EXPECT_FALSE(IsDlgButtonChecked(window, IDC_GND_CHANGE_SIGN));
         EXPECT_EQ(std::to_string(SendDlgItemMessageA(window, IDC_GND_FORMAT, CB_GETCURSEL, 0, 0)),
                   attribute(ground.item.get(), "FORMAT"));
         EXPECT_EQ(test_windows::windowText(GetDlgItem(window, IDC_GND_PRECISION)),
                   attribute(ground.item.get(), "DIGITS"));
         EXPECT_EQ(preview(window), ground.label());
         shot = test_windows::saveWindowShot(window,
                                             testing_support::scratchPath("ground-dialog.bmp"));

         EXPECT_EQ(preview(window).rfind("Idc = ", 0) == 0, hadName) << preview(window);
         click(window, IDC_GND_SHOW_NAME);
         EXPECT_EQ(attribute(ground.item.get(), "SHOWNAME"), hadName ? "<absent>" : "");
         EXPECT_EQ(preview(window).rfind("Idc = ", 0) == 0, !hadName) << preview(window);
         EXPECT_EQ(preview(window), ground.label());
         click(window, IDC_GND_SHOW_UNITS);
         EXPECT_EQ(attribute(ground.item.get(), "SHOWDIM"), hadUnits ? "<absent>" : "");
         EXPECT_EQ(preview(window), ground.label());
         click(window, IDC_GND_CHANGE_SIGN);
         EXPECT_EQ(attribute(ground.item.get(), "CHS"), "1");
         click(window, IDC_GND_LAYER);
         EXPECT_EQ(attribute(ground.result.get(), "LAYER"), "<absent>");
         HWND format = GetDlgItem(window, IDC_GND_FORMAT);
         SendMessageA(format, CB_SETCURSEL, 4, 0);
         SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_GND_FORMAT, CBN_SELENDOK),
                      reinterpret_cast<LPARAM>(format));
         EXPECT_EQ(attribute(ground.item.get(), "FORMAT"), "4");
         EXPECT_EQ(preview(window), ground.label());
         SendDlgItemMessageA(window, IDC_GND_PRECISION_SPIN, UDM_SETPOS32, 0, 14);
         EXPECT_EQ(attribute(ground.item.get(), "DIGITS"), "14");
         EXPECT_EQ(preview(window), ground.label());
         // the arrow key on the buddy steps up from 14: the up-down wraps
         PostMessageA(GetDlgItem(window, IDC_GND_PRECISION), WM_KEYDOWN, VK_UP, 0x00480001);
         PostMessageA(GetDlgItem(window, IDC_GND_PRECISION), WM_KEYUP, VK_UP, 0xC0480001);
         return true;
       },
       [&] {
         if (attribute(ground.item.get(), "DIGITS") == "14")
           return false;
         EXPECT_EQ(attribute(ground.item.get(), "DIGITS"), "0");
         EXPECT_EQ(preview(dialog.handle()), ground.label());
         PostMessageA(GetDlgItem(dialog.handle(), IDOK), BM_CLICK, 0, 0);
         return true;
       }},
      [&] { PostMessageA(dialogWindow(), WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(ground.owner.showProperties([&] { return dialog.doModal(); }), IDOK);
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(ground.owner.text(), expected.text());
  EXPECT_TRUE(shot);
  std::cout << "screenshot: " << testing_support::scratchPath("ground-dialog.bmp") << "\n";
}

TEST(GroundDialog, AnEmptyOrderDisablesEveryOtherControl) {
  Ground ground;
  uikit::writeAttribute(ground.result.get(), "ORDER", "");
  std::string emptyOrder = ground.owner.text();
  uikit::GndPropertiesDialog dialog(&ground.owner, nullptr);
  dialog.setElements(ground.result.get(), ground.item.get());
  const int details[] = {IDC_GND_SHOW_NAME,     IDC_GND_SHOW_UNITS, IDC_GND_CHANGE_SIGN,
                         IDC_GND_LAYER,         IDC_GND_FORMAT,     IDC_GND_PRECISION,
                         IDC_GND_PRECISION_SPIN};
  ModalScript script({[&] {
                       HWND window = dialog.handle();
                       EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_GND_SHOW_RESULT)));
                       EXPECT_FALSE(IsDlgButtonChecked(window, IDC_GND_SHOW_RESULT));
                       for (int id : details)
                         EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, id))) << id;
                       click(window, IDC_GND_SHOW_RESULT);
                       EXPECT_EQ(attribute(ground.result.get(), "ORDER"), "0");
                       for (int id : details)
                         EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, id))) << id;
                       click(window, IDC_GND_SHOW_RESULT);
                       EXPECT_EQ(attribute(ground.result.get(), "ORDER"), "");
                       for (int id : details)
                         EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, id))) << id;
                       click(window, IDC_GND_SHOW_RESULT);
                       PostMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0);
                       return true;
                     }},
                     [&] { PostMessageA(dialogWindow(), WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(ground.owner.showProperties([&] { return dialog.doModal(); }), IDCANCEL);
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(ground.owner.text(), emptyOrder); // Cancel: the control restores its copy
}

// The format list's five tips read whole, in both character sets.
TEST(GroundDialog, FormatTipsReadWhole) {
  Ground ground;
  uikit::GndPropertiesDialog dialog(&ground.owner, nullptr);
  dialog.setElements(ground.result.get(), ground.item.get());
  uikit_test::FormatTipTexts tips;
  ModalScript script({[&] {
                       tips = uikit_test::formatTipsOf(GetDlgItem(dialog.handle(), IDC_GND_FORMAT));
                       PostMessageA(GetDlgItem(dialog.handle(), IDCANCEL), BM_CLICK, 0, 0);
                       return true;
                     }},
                     [&] { PostMessageA(dialogWindow(), WM_COMMAND, IDCANCEL, 0); });
  dialog.doModal();
  const std::vector<std::string> whole(std::begin(uikit_test::WholeFormatTips),
                                       std::end(uikit_test::WholeFormatTips));
  EXPECT_EQ(tips.ansi, whole);
  EXPECT_EQ(tips.wide, whole);
}

} // namespace
