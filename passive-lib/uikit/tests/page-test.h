// What the tests of the component sheets' pages share: a control's
// component XML held in the XML object model (loaded from text, saved back
// to text), the prompt seam answering every message box as the test says
// and recording it, and the notifications the pages' list and spin
// controls send their page.
#ifndef PASSIVE_LIB_UIKIT_TESTS_PAGE_TEST_H
#define PASSIVE_LIB_UIKIT_TESTS_PAGE_TEST_H

#include "passive-lib/uikit/win32/pages-resource.h"

#include "platform/base/win32/com-ptr.h"
#include "platform/dialogs/win32/user-prompts.h"
#include "platform/xml/win32/xml-objects.h"

#include <gtest/gtest.h>

#include <commctrl.h>

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
    base::ComPtr<IStream> stream;
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.receive()), S_OK);
    ULONG written = 0;
    stream->Write(text.data(), static_cast<ULONG>(text.size()), &written);
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(persist_->Load(stream.get()), S_OK);
    EXPECT_EQ(persist_.query<IXMLDocument>()->get_root(root_.receive()), S_OK);
  }
  // The whole document as it would be saved.
  std::string text() {
    base::ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.receive());
    persist_->Save(stream.get(), FALSE);
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER size = {};
    stream->Seek(zero, STREAM_SEEK_CUR, &size);
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    ULONG read = 0;
    stream->Read(&bytes[0], static_cast<ULONG>(bytes.size()), &read);
    bytes.resize(read);
    return bytes;
  }
  const base::ComPtr<IXMLElement> &root() const { return root_; }

private:
  base::ComPtr<IPersistStreamInit> persist_;
  base::ComPtr<IXMLElement> root_;
};

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
