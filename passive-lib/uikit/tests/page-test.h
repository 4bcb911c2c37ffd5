// What the tests of the component sheets' pages share: a control's
// component XML held in the XML object model (loaded from text, saved back
// to text), an owner standing for the control, the prompt seam answering
// every message box as the test says and recording it, and the
// notifications the pages' list and spin controls send their page.
#ifndef PASSIVE_LIB_UIKIT_TESTS_PAGE_TEST_H
#define PASSIVE_LIB_UIKIT_TESTS_PAGE_TEST_H

#include "passive-lib/uikit/win32/pages-resource.h"
#include "passive-lib/uikit/win32/sheet-owner.h"
#include "passive-lib/win32/xml-access.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/base/win32/gdi-owners.h"
#include "platform/dialogs/win32/user-prompts.h"
#include "platform/dialogs/win32/window.h"
#include "platform/xml/win32/xml-objects.h"
#include "testing/memory-streams.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace uikit_test {

// A component XML document in the XML object model, as a control holds it.
class XmlDocument {
public:
  // Replaces the document with one parsed from text.
  void load(const std::string &text) {
    root_.reset();
    persist_.reset();
    EXPECT_EQ(xmlcom::createXmlDocument(IID_IPersistStreamInit, persist_.receiveVoid()), S_OK);
    EXPECT_EQ(persist_->Load(testing_support::memoryStream(text).get()), S_OK);
    EXPECT_EQ(persist_.query<IXMLDocument>()->get_root(root_.receive()), S_OK);
  }
  // The whole document as it would be saved.
  std::string text() { return testing_support::savedBytes(persist_.get(), FALSE); }
  const base::ComPtr<IXMLElement> &root() const { return root_; }

private:
  base::ComPtr<IPersistStreamInit> persist_;
  base::ComPtr<IXMLElement> root_;
};

// A component control as the sheets see it: its document, the copy its
// ShowProperties keeps, and a log of the calls the sheet made ("dirty",
// "clean", "label", "layout", "shape" for the solve, "keep").
class TestOwner : public uikit::SheetOwner {
public:
  explicit TestOwner(const std::string &xml) { document.load(xml); }

  base::ComPtr<IXMLElement> rootElement() override { return document.root(); }
  void putDirtyFlag(bool value) override {
    calls.push_back(value ? "dirty" : "clean");
    dirty = value;
  }
  std::string partId() override { return "R1"; }
  std::string compGuid() override { return "{TEST}"; }
  base::ComPtr<IDrawShape> shape() override {
    calls.push_back("shape"); // unbound: no circuit to update
    return nullptr;
  }
  void UpdateBodyText() override { calls.push_back("label"); }
  void LayoutShape() override { calls.push_back("layout"); }
  void keepAppliedState() override {
    calls.push_back("keep");
    undoCopy = text();
  }

  // ShowProperties' frame: keeps a copy, runs the window, restores the
  // copy unless it ended with OK.
  template <typename Run> INT_PTR showProperties(Run run) {
    undoCopy = text();
    const INT_PTR result = run();
    if (result != IDOK)
      document.load(undoCopy);
    return result;
  }
  std::string text() { return document.text(); }
  base::ComPtr<IXMLElement> section(const char *tag) {
    return passive::childElement(document.root().get(), tag);
  }
  // An attribute of a section (item -1) or of its item-th item, or
  // "(absent)".
  std::string attribute(const char *tag, int item, const char *name) {
    base::ComPtr<IXMLElement> element = section(tag);
    if (item >= 0)
      element = passive::childElements(element.get()).at(static_cast<std::size_t>(item));
    std::string value = "(absent)";
    passive::attributeText(element.get(), name, value);
    return value;
  }
  int count(const std::string &call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }

  XmlDocument document;
  std::string undoCopy;
  std::vector<std::string> calls;
  bool dirty = false;
};

// The five format tips, one per format in list order, as a person reads
// them over the list: whole, the three longer than a tip request's
// 80-character buffer included.
const char *const WholeFormatTips[] = {
    "\"General\" creates fixed or floating-point format to present the value in the shortest "
    "space",
    "\"Scientific\" creates floating-point format",
    "\"Engineering\" creates floating-point format with exponents that are a multiple of three",
    "\"Metric\" is similar to \"Engineering\" format with suffix substitutions for common "
    "exponents",
    "\"SPICE\" is similar to \"Metric\" format using uppercase letters and 'MEG'"};

// The tips a format drop-down shows for each of its five entries, asked as
// the tool-tip control asks: the tool under the mouse, then its text, in
// both character sets (the wide ones given back as 8-bit text).
struct FormatTipTexts {
  std::vector<std::string> ansi, wide;
};
inline FormatTipTexts formatTipsOf(HWND combo) {
  FormatTipTexts tips;
  for (int entry = 0; entry < 5; ++entry) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    dialogs::Window *window = dialogs::Window::fromHandle(combo);
    if (!window || window->OnToolHitTest(POINT{3, 3}, &tool) != entry + 1)
      break;
    NMTTDISPINFOA request{};
    request.hdr.idFrom = tool.uId;
    request.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(combo, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    tips.ansi.push_back(request.lpszText ? request.lpszText : "");
    NMTTDISPINFOW wide{};
    wide.hdr.idFrom = tool.uId;
    wide.hdr.code = TTN_NEEDTEXTW;
    SendMessageA(combo, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
    std::string narrow;
    for (const wchar_t *c = wide.lpszText; c && *c; ++c)
      narrow += static_cast<char>(*c);
    tips.wide.push_back(narrow);
  }
  return tips;
}

// A message box the pages asked for.
struct Box {
  std::string text, caption;
  UINT type;
};

// Sends a control's notification to the page; the page's answer.
inline LRESULT notify(HWND page, NMHDR &header) {
  SendMessageA(page, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  return GetWindowLongPtrA(page, DWLP_MSGRESULT);
}
// A double click on a cell of the parameters list, as the list reports it.
inline void activateRow(HWND page, int row, int column = 0) {
  NMITEMACTIVATE activation = {};
  activation.hdr.hwndFrom = GetDlgItem(page, IDC_PARAMS_LIST);
  activation.hdr.idFrom = IDC_PARAMS_LIST;
  activation.hdr.code = LVN_ITEMACTIVATE;
  activation.iItem = row;
  activation.iSubItem = column;
  notify(page, activation.hdr);
}
// A row of a page's list selected and focused, as a click on it leaves it.
inline void selectRow(HWND page, int row, int list = IDC_PARAMS_LIST) {
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendDlgItemMessageA(page, list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&state));
}
// What the list's in-place editor sends when an edit of a row's value
// ends; a null text is a cancelled edit. The page's answer.
inline LRESULT endEdit(HWND page, int row, const char *text) {
  NMLVDISPINFOA edit = {};
  edit.hdr.hwndFrom = GetDlgItem(page, IDC_PARAMS_LIST);
  edit.hdr.idFrom = IDC_PARAMS_LIST;
  edit.hdr.code = LVN_ENDLABELEDITA;
  edit.item.mask = LVIF_TEXT;
  edit.item.iItem = row;
  edit.item.iSubItem = 1;
  edit.item.pszText = const_cast<char *>(text);
  return notify(page, edit.hdr);
}
// A press on an arrow of the spin control id.
inline void spin(HWND page, int id, int delta) {
  NMUPDOWN change = {};
  change.hdr.hwndFrom = GetDlgItem(page, id);
  change.hdr.idFrom = static_cast<UINT_PTR>(id);
  change.hdr.code = UDN_DELTAPOS;
  change.iPos = 1;
  change.iDelta = delta;
  notify(page, change.hdr);
}

// The captions of a property sheet's tabs, in order.
inline std::vector<std::string> tabTexts(HWND sheet) {
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  std::vector<std::string> texts;
  const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[64] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    texts.push_back(text);
  }
  return texts;
}

// The text of a list view's cell.
inline std::string cellText(HWND list, int row, int column) {
  char text[128] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

// The header and cell texts of a report list that its columns cut: a
// text wider than its column leaves room for (the header keeps 3 edge
// widths at each side of its text, a cell 5 pixels, as Wine draws them),
// or a column that reaches past the client area. Each as the text itself.
inline std::vector<std::string> cutTexts(HWND list) {
  std::vector<std::string> cut;
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  base::WindowDC listDc(list);
  base::SelectedObject font(listDc.get(),
                            reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
  HDC dc = listDc.get();
  auto width = [dc](const std::string &text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  RECT client;
  GetClientRect(list, &client);
  for (int column = 0; column < columns; ++column) {
    char text[128] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&item));
    RECT place = {};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&place));
    if (place.right - place.left < width(text) + 6 * GetSystemMetrics(SM_CXEDGE) ||
        place.right > client.right)
      cut.push_back(text);
    for (int row = 0; row < rows; ++row) {
      const std::string cell = cellText(list, row, column);
      RECT room = {};
      room.top = column;
      room.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
      SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&room));
      if (!cell.empty() && (room.right - room.left < width(cell) + 10 || room.right > client.right))
        cut.push_back(cell);
    }
  }
  return cut;
}

// A test of a page: the prompt seam records every box and answers it.
class PageTest : public testing::Test {
protected:
  void SetUp() override {
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    dialogs::UserPrompts::setMessageHandler(
        [this](HWND, const std::string &text, const std::string &caption, UINT type) {
          boxes.push_back({text, caption, type});
          return answer;
        });
  }
  void TearDown() override {
    dialogs::UserPrompts::setMessageHandler(nullptr);
    CoUninitialize();
  }

  std::vector<Box> boxes;
  int answer = IDOK; // what every box answers
};

} // namespace uikit_test

#endif
