// Tool-tip text requests (TTN_NEEDTEXTA and TTN_NEEDTEXTW): a text made
// for the request goes into the request's own 80-character buffer, cut so
// that it fits with its terminator; a constant text is pointed at whole, in
// the character set the request asks for. And the forwarding by which a
// list or combo box hands a request for one of its tools to its parent.
#ifndef PASSIVE_LIB_UIKIT_TIP_REPLY_H
#define PASSIVE_LIB_UIKIT_TIP_REPLY_H

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace uikit {

bool isTipTextRequest(const NMHDR *header);
// Copies at most 79 characters of text and the terminator into the
// request's buffer (wide characters for TTN_NEEDTEXTW).
void setTipReply(NMHDR *request, const std::string &text);

// A text that lives as long as the module, in both character sets, so that
// a reply can point at it whatever its length.
struct ConstantTip {
  const char *ansi;
  const wchar_t *wide;
};
#define CONSTANT_TIP(text)                                                                         \
  { text, L"" text }
void setTipReply(NMHDR *request, const ConstantTip &text);

// The format list's tips, one per format in list order (the ground dialog
// and the Format pages).
extern const ConstantTip FormatTips[5];
// The code a request carries in its parameter (the cell code of a list,
// the entry of a combo box).
LPARAM tipRequestCode(const NMHDR *request);
// Tool identifier 0 is left alone (false). Otherwise the identifier minus 1
// goes into the request's parameter, the request is marked as coming from
// control (its window and identifier) and sent to the control's parent,
// which fills in the text; true.
bool forwardTipRequest(HWND control, NMHDR *request);

} // namespace uikit

#endif
