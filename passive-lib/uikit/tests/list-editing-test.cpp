// The list control's in-place editing and cell tips, in a dialog run by
// its own modal loop and driven by posted and sent messages: the cases in
// which EditSubLabel opens nothing, Escape with and without escapeCancels,
// a parent that refuses the text, the tool codes of cells and check boxes,
// and tip replies cut to their buffer.
#include "kit-fixture.h"
#include "uikit-test-resource.h"

#include "passive-lib/uikit/win32/list-ctrl-ex.h"
#include "passive-lib/uikit/win32/tip-reply.h"

#include "platform/dialogs/win32/dialog.h"
#include "testing/modal-script.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using testing_support::ModalScript;
using uikit::CInPlaceEdit;
using uikit::CListCtrlEx;

struct EndOfEdit {
  int row, column;
  bool hasText;
  std::string text;
};

// A dialog with one CListCtrlEx of three rows and three columns; it
// records every end-of-edit notification and answers it with refuse.
class ListHost : public dialogs::Dialog {
public:
  ListHost() : Dialog(IDD_LIST_HOST, nullptr) {}
  CListCtrlEx list;
  std::vector<EndOfEdit> ends;
  LRESULT refuse = 0;
  std::vector<LPARAM> tipCodes;
  std::string tipText;

protected:
  BOOL OnInitDialog() override {
    list.subclass(item(IDC_TEST_LIST));
    list.setExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    list.insertColumn(0, "Name", 60);
    list.insertColumn(1, "Value", 80, LVCFMT_RIGHT);
    list.insertColumn(2, "Units", 40);
    for (int row = 0; row < 3; ++row) {
      list.insertItem(row, "R" + std::to_string(row));
      list.setItemText(row, 1, std::to_string(1000 * (row + 1)));
      list.setItemText(row, 2, "ohm");
    }
    return TRUE;
  }
  bool onNotify(NMHDR *header, LRESULT &result) override {
    if (header->idFrom != IDC_TEST_LIST)
      return false;
    if (header->code == LVN_ENDLABELEDITA) {
      auto *info = reinterpret_cast<NMLVDISPINFOA *>(header);
      ends.push_back({info->item.iItem, info->item.iSubItem, info->item.pszText != nullptr,
                      info->item.pszText ? info->item.pszText : ""});
      result = refuse;
      return true;
    }
    if (uikit::isTipTextRequest(header)) {
      EXPECT_EQ(header->hwndFrom, list.handle());
      tipCodes.push_back(uikit::tipRequestCode(header));
      uikit::setTipReply(header, tipText);
      result = 0;
      return true;
    }
    return false;
  }
};

HWND openEditor(const CListCtrlEx &list) {
  return FindWindowExA(list.handle(), nullptr, "Edit", nullptr);
}

// Runs the host modally with the steps; the last step should end it.
void runHost(ListHost &host, std::vector<ModalScript::Step> steps) {
  ModalScript script(std::move(steps),
                     [&host] { PostMessageA(host.handle(), WM_COMMAND, IDCANCEL, 0); });
  host.doModal();
  EXPECT_TRUE(script.finished());
  EXPECT_FALSE(script.gaveUp());
}

ModalScript::Step endHost(ListHost &host) {
  return [&host] {
    PostMessageA(host.handle(), WM_COMMAND, IDCANCEL, 0);
    return true;
  };
}

TEST(EditSubLabel, OpensNothingWhereNoCellCanBeEdited) {
  ListHost host;
  runHost(host, {[&host] {
                   CListCtrlEx &list = host.list;
                   list.setColumnWidth(2, 4);
                   EXPECT_EQ(list.EditSubLabel(0, 2, true), nullptr); // 4 pixels wide
                   EXPECT_EQ(list.EditSubLabel(0, 3, true), nullptr); // = column count
                   EXPECT_EQ(list.EditSubLabel(3, 1, true), nullptr); // no such row
                   EXPECT_EQ(list.EditSubLabel(-1, 1, true), nullptr);
                   EXPECT_EQ(openEditor(list), nullptr);
                   list.setColumnWidth(2, 5);
                   CInPlaceEdit *edit = list.EditSubLabel(0, 2, true); // 5 pixels: enough
                   EXPECT_NE(edit, nullptr);
                   EXPECT_EQ(openEditor(list), edit ? edit->handle() : nullptr);
                   return true;
                 },
                 endHost(host)});
}

TEST(EditSubLabel, TheEditorSitsOverTheCellWithItsTextSelected) {
  ListHost host;
  runHost(host, {[&host] {
                   CListCtrlEx &list = host.list;
                   CInPlaceEdit *edit = list.EditSubLabel(1, 1, true);
                   EXPECT_NE(edit, nullptr);
                   if (!edit)
                     return true;
                   RECT bounds{}, rect{};
                   list.itemRect(1, bounds, LVIR_BOUNDS);
                   GetWindowRect(edit->handle(), &rect);
                   MapWindowPoints(HWND_DESKTOP, list.handle(), reinterpret_cast<POINT *>(&rect),
                                   2);
                   EXPECT_EQ(rect.left, bounds.left + list.columnWidth(0) + 4);
                   EXPECT_EQ(rect.top, bounds.top);
                   EXPECT_EQ(GetDlgCtrlID(edit->handle()), 200);
                   EXPECT_EQ(edit->text(), "2000");
                   EXPECT_TRUE(GetWindowLongA(edit->handle(), GWL_STYLE) & ES_RIGHT);
                   EXPECT_EQ(GetFocus(), edit->handle());
                   DWORD start = 0, end = 0;
                   SendMessageA(edit->handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                reinterpret_cast<LPARAM>(&end));
                   EXPECT_EQ(start, 0u);
                   EXPECT_EQ(end, 4u);
                   return true;
                 },
                 endHost(host)});
}

// Escape and Enter typed into the editor, through the modal loop's
// pre-translation: Escape reports no text only when it cancels.
TEST(InPlaceEdit, EnterAndEscapeReportTheirEndOfEdit) {
  const struct {
    WPARAM key;
    LPARAM keyData;
    bool escapeCancels;
    int row;
    bool hasText;
  } cases[] = {{VK_ESCAPE, 0x00010001, true, 0, false},
               {VK_ESCAPE, 0x00010001, false, 0, true},
               {VK_RETURN, 0x001C0001, true, 2, true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.key == VK_RETURN ? "Enter" : c.escapeCancels ? "cancelling Escape" : "Escape");
    ListHost host;
    HWND edit = nullptr;
    runHost(host, {[&] {
                     CInPlaceEdit *made = host.list.EditSubLabel(c.row, 1, c.escapeCancels);
                     edit = made ? made->handle() : nullptr;
                     SetWindowTextA(edit, "4k7");
                     PostMessageA(edit, WM_KEYDOWN, c.key, c.keyData);
                     return true;
                   },
                   [&] {
                     if (IsWindow(edit))
                       return false;
                     // The parent writes cells.
                     EXPECT_EQ(host.list.itemText(c.row, 1), std::to_string(1000 * (c.row + 1)));
                     return true;
                   },
                   endHost(host)});
    ASSERT_EQ(host.ends.size(), 1u);
    EXPECT_EQ(host.ends[0].row, c.row);
    EXPECT_EQ(host.ends[0].column, 1);
    EXPECT_EQ(host.ends[0].hasText, c.hasText);
    EXPECT_EQ(host.ends[0].text, c.hasText ? "4k7" : "");
  }
}

TEST(InPlaceEdit, ARefusingParentKeepsTheEditorOpenWithTheFocus) {
  ListHost host;
  host.refuse = 1;
  HWND edit = nullptr;
  runHost(host, {[&] {
                   edit = host.list.EditSubLabel(1, 1, true)->handle();
                   SetWindowTextA(edit, "1k");
                   PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
                   return true;
                 },
                 [&] {
                   if (host.ends.empty())
                     return false;
                   EXPECT_TRUE(IsWindow(edit));
                   EXPECT_EQ(GetFocus(), edit);
                   EXPECT_EQ(GetWindowTextLengthA(edit), 2);
                   host.refuse = 0;
                   SetWindowTextA(edit, "1000");
                   SetFocus(host.list.handle()); // the user clicks elsewhere
                   EXPECT_FALSE(IsWindow(edit));
                   return true;
                 },
                 endHost(host)});
  ASSERT_EQ(host.ends.size(), 2u);
  EXPECT_EQ(host.ends[0].text, "1k");
  EXPECT_EQ(host.ends[1].text, "1000");
}

TEST(InPlaceEdit, TypingWidensItToItsTextButNotPastTheList) {
  ListHost host;
  runHost(host, {[&] {
                   CListCtrlEx &list = host.list;
                   HWND edit = list.EditSubLabel(0, 2, true)->handle();
                   RECT before{}, after{}, client{};
                   GetWindowRect(edit, &before);
                   for (char c : std::string(60, 'W'))
                     SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
                   GetWindowRect(edit, &after);
                   EXPECT_GT(after.right - after.left, before.right - before.left);
                   MapWindowPoints(HWND_DESKTOP, list.handle(), reinterpret_cast<POINT *>(&after),
                                   2);
                   GetClientRect(list.handle(), &client);
                   EXPECT_EQ(after.right, client.right);
                   return true;
                 },
                 endHost(host)});
}

TEST(ListTips, CellsAndCheckBoxesNameTheirTools) {
  ListHost host;
  host.tipText = "Resistance [ohm]";
  runHost(host, {[&] {
                   CListCtrlEx &list = host.list;
                   RECT bounds{}, label{};
                   list.itemRect(1, bounds, LVIR_BOUNDS);
                   list.itemRect(1, label, LVIR_LABEL);
                   int middle = (bounds.top + bounds.bottom) / 2;
                   TOOLINFOA tool{};
                   tool.cbSize = sizeof tool;
                   // the check box sits left of the label
                   POINT checkBox{bounds.left + 8, middle};
                   EXPECT_EQ(list.OnToolHitTest(checkBox, &tool), 1 * 256 + 255 + 1);
                   EXPECT_EQ(tool.uId, UINT_PTR(1 * 256 + 255 + 1));
                   EXPECT_EQ(tool.hwnd, list.handle());
                   EXPECT_EQ(tool.lpszText, LPSTR_TEXTCALLBACKA);
                   EXPECT_EQ(tool.rect.top, bounds.top);
                   RECT cell{};
                   int column = 7;
                   EXPECT_EQ(list.HitTestEx(checkBox, &cell, &column), 1);
                   EXPECT_EQ(column, -1);
                   POINT value{bounds.left + list.columnWidth(0) + 10, middle};
                   EXPECT_EQ(list.OnToolHitTest(value, &tool), 1 * 256 + 1 + 1);
                   EXPECT_EQ(tool.rect.left, bounds.left + list.columnWidth(0));
                   EXPECT_EQ(tool.rect.right,
                             bounds.left + list.columnWidth(0) + list.columnWidth(1));
                   POINT below{bounds.left + 10, 2000};
                   EXPECT_EQ(list.OnToolHitTest(below, &tool), -1);

                   // the tip control asks the list; the list asks its parent
                   NMTTDISPINFOA request{};
                   request.hdr.hwndFrom = nullptr;
                   request.hdr.idFrom = 1 * 256 + 255 + 1;
                   request.hdr.code = TTN_NEEDTEXTA;
                   EXPECT_EQ(list.send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request)), TRUE);
                   EXPECT_STREQ(request.szText, "Resistance [ohm]");
                   request.hdr.idFrom = 0; // no tool: left alone
                   list.send(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
                   return true;
                 },
                 endHost(host)});
  EXPECT_EQ(host.tipCodes, (std::vector<LPARAM>{1 * 256 + 255}));
}

TEST(TipReply, ALongTipIsCutToTheBufferWithItsTerminator) {
  std::string tip(200, 'x');
  for (std::size_t i = 0; i < tip.size(); ++i)
    tip[i] = static_cast<char>('a' + i % 26);
  NMTTDISPINFOA ansi{};
  ansi.hdr.code = TTN_NEEDTEXTA;
  ansi.uFlags = 0x5A5A;
  ansi.lParam = 0x1234;
  uikit::setTipReply(&ansi.hdr, tip);
  EXPECT_EQ(std::strlen(ansi.szText), 79u);
  EXPECT_EQ(std::string(ansi.szText), tip.substr(0, 79));
  EXPECT_EQ(ansi.uFlags, 0x5A5Au);
  EXPECT_EQ(ansi.lParam, 0x1234);

  NMTTDISPINFOW wide{};
  wide.hdr.code = TTN_NEEDTEXTW;
  wide.uFlags = 0x5A5A;
  uikit::setTipReply(&wide.hdr, tip);
  EXPECT_EQ(std::wcslen(wide.szText), 79u);
  EXPECT_EQ(wide.szText[78], static_cast<wchar_t>(tip[78]));
  EXPECT_EQ(wide.uFlags, 0x5A5Au);

  uikit::setTipReply(&ansi.hdr, "Close");
  EXPECT_STREQ(ansi.szText, "Close");
}

} // namespace
