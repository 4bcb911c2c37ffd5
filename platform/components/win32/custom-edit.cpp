// The edit control shared by single-line edits, memos and rich edits.
#include "platform/components/win32/custom-edit.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

TCustomEdit::TCustomEdit(TComponent *owner) : TWinControl(owner) { SetBounds(0, 0, 121, 21); }

void TCustomEdit::CreateParams(TCreateParams &params) {
  params.className = "EDIT";
  params.ownClass = false;
  params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL;
  if (readOnly_)
    params.style |= ES_READONLY;
  if (!hideSelection_)
    params.style |= ES_NOHIDESEL;
  params.exStyle = WS_EX_CLIENTEDGE;
}

void TCustomEdit::command(WORD code, WORD id) {
  (void)id;
  if (code == EN_CHANGE)
    Change();
}

void TCustomEdit::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (HandleAllocated())
    SendMessageA(Handle(), EM_SETREADONLY, readOnly, 0);
}

int TCustomEdit::GetTextLen() {
  return static_cast<int>(SendMessageA(Handle(), WM_GETTEXTLENGTH, 0, 0));
}

int TCustomEdit::SelStart() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int start) { SendMessageA(Handle(), EM_SETSEL, start, start); }

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int length) {
  int start = SelStart();
  SendMessageA(Handle(), EM_SETSEL, start, start + length);
}

std::string TCustomEdit::SelText() {
  int start = SelStart(), length = SelLength();
  return Caption().substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
}

void TCustomEdit::SetSelText(const std::string &text) {
  SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool TCustomEdit::CanUndo() { return SendMessageA(Handle(), EM_CANUNDO, 0, 0) != 0; }

void TCustomEdit::Undo() { SendMessageA(Handle(), EM_UNDO, 0, 0); }

void TCustomEdit::ClearUndo() { SendMessageA(Handle(), EM_EMPTYUNDOBUFFER, 0, 0); }

} // namespace components
