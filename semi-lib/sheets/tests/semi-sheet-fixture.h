// What the semiconductor sheets' tests share: the pages' test owner over
// a diode or transistor control's component XML as the control builds it,
// with readers of its parameters, and the page fixture of the sheets'
// tests with the readers of the parameters list's rows and in-place
// editors.
#ifndef SEMI_LIB_SHEETS_TESTS_SEMI_SHEET_FIXTURE_H
#define SEMI_LIB_SHEETS_TESTS_SEMI_SHEET_FIXTURE_H

#include "passive-lib/uikit/tests/page-test.h"
#include "passive-lib/uikit/win32/component-sheet.h"
#include "passive-lib/uikit/win32/pages-resource.h"
#include "passive-lib/win32/xml-access.h"
#include "semi-lib/core/semi-templates.h"
#include "semi-lib/sheets/model-library-source.h"
#include "semi-lib/tests/library-files.h"

#include "testing/modal-script.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace semi_sheet_test {

using base::ComPtr;

// A diode or transistor control's document as the control builds it; the
// library comes from the module's resources.
class TestOwner : public uikit_test::TestOwner {
public:
  TestOwner(semi::SemiKind kind, const std::string &libraryText)
      : uikit_test::TestOwner(
            semi::buildComponent(kind, "1.00.419", "12/09/2026", libraryText).document.save()) {}
  explicit TestOwner(semi::SemiKind kind) : TestOwner(kind, semi_test::shippedLibrary(kind)) {}

  // The PARAMS item named name: its attribute, "(absent)" when it lacks
  // it, "(no item)" when there is no such item.
  std::string param(const std::string &name, const char *attribute) {
    for (const ComPtr<IXMLElement> &item : passive::childElements(section("PARAMS").get())) {
      std::string itemName;
      if (!passive::attributeText(item.get(), "NAME", itemName) || itemName != name)
        continue;
      std::string value = "(absent)";
      passive::attributeText(item.get(), attribute, value);
      return value;
    }
    return "(no item)";
  }
  // What the device reads of a parameter: IEEE first, else TEXT, else
  // DEFAULT, as a number; the test documents hold no IEEE on parameters.
  double deviceValue(const std::string &name) {
    std::string text = param(name, "TEXT");
    if (text == "(absent)")
      text = param(name, "DEFAULT");
    return std::atof(text.c_str());
  }
};

// A control that holds its library text itself.
class LibraryOwner : public TestOwner, public semi::ModelLibrarySource {
public:
  LibraryOwner(semi::SemiKind kind, const std::string &libraryText)
      : TestOwner(kind, libraryText), library_(libraryText) {}
  explicit LibraryOwner(semi::SemiKind kind)
      : LibraryOwner(kind, semi_test::shippedLibrary(kind)) {}
  std::string modelLibraryText(semi::SemiKind) override { return library_; }

private:
  std::string library_;
};

using uikit_test::activateRow;
using uikit_test::Box;
using uikit_test::endEdit;
using uikit_test::notify;
using uikit_test::selectRow;
using uikit_test::spin;

class SemiSheets : public uikit_test::PageTest {
protected:
  // A step on the sheet's parameters page, taken once no in-place editor
  // is open there.
  static testing_support::ModalScript::Step onPage(uikit::ComponentSheet &sheet,
                                                   std::function<void(HWND page)> body) {
    return [&sheet, body] {
      HWND page = sheet.parametersPage()->handle();
      if (editor(page))
        return false;
      body(page);
      return true;
    };
  }
  // The list's row whose name column reads name; -1 when none.
  static int rowOf(HWND page, const std::string &name) {
    HWND list = GetDlgItem(page, IDC_PARAMS_LIST);
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row)
      if (cell(page, row, 0) == name)
        return row;
    return -1;
  }
  static std::string cell(HWND page, int row, int column) {
    return uikit_test::cellText(GetDlgItem(page, IDC_PARAMS_LIST), row, column);
  }
  // The in-place editor over the list (edit or combo); null when none.
  static HWND editor(HWND page) { return GetDlgItem(GetDlgItem(page, IDC_PARAMS_LIST), 200); }
  static std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
  }
  static std::vector<std::string> comboEntries(HWND combo) {
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[128] = {};
      SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      entries.push_back(text);
    }
    return entries;
  }
};

// Cancels the sheet: the script's way out at its deadline.
inline std::function<void()> cancelSheet(uikit::ComponentSheet &sheet) {
  return [&sheet] {
    if (sheet.handle())
      PostMessageA(sheet.handle(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  };
}

} // namespace semi_sheet_test

#endif
