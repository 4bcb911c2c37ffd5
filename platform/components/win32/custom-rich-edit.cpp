// The rich edit control, loaded from its library on first use.
#include "platform/components/win32/custom-rich-edit.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <richedit.h>
#include <algorithm>

namespace components {

namespace {

// The rich-edit classes live in a library that is loaded once, for the
// life of the process, before the first rich edit is made.
void loadRichEditLibrary() {
  static base::ModuleHandle library(LoadLibraryA("riched20.dll"));
  if (!library)
    throw Exception("Cannot load the rich edit library riched20.dll");
}

} // namespace

TCustomRichEdit::TCustomRichEdit(TComponent *owner) : TCustomMemo(owner) {}

void TCustomRichEdit::CreateParams(TCreateParams &params) {
  loadRichEditLibrary();
  TCustomMemo::CreateParams(params);
  params.className = RICHEDIT_CLASSA;
  params.textAfterCreation = true;
}

void TCustomRichEdit::handleCreated() {
  TCustomMemo::handleCreated();
  if (plainText_)
    SendMessageA(Handle(), EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SendMessageA(Handle(), EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
}

// A rich edit wraps at its window's width or, given a line width of 1,
// not at all; either can be chosen while it holds text.
void TCustomRichEdit::wordWrapChanged() {
  if (HandleAllocated())
    SendMessageA(Handle(), EM_SETTARGETDEVICE, 0, wordWrap() ? 0 : 1);
}

std::string TCustomRichEdit::SelText() {
  CHARRANGE range{0, 0};
  SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  if (range.cpMax <= range.cpMin)
    return std::string();
  // One byte per character of the 8-bit text, and the terminator.
  std::string text(static_cast<std::size_t>(range.cpMax - range.cpMin) + 1, '\0');
  LRESULT copied = SendMessageA(Handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
  return text;
}

void TCustomRichEdit::SetPlainText(bool plain) {
  plainText_ = plain;
  if (HandleAllocated() && GetTextLen() == 0)
    SendMessageA(Handle(), EM_SETTEXTMODE, plain ? TM_PLAINTEXT : TM_RICHTEXT, 0);
}

bool TCustomRichEdit::notify(NMHDR &header, LRESULT &result) {
  if (header.code != EN_SELCHANGE)
    return false;
  OnSelectionChange(this);
  result = 0;
  return true;
}

} // namespace components
