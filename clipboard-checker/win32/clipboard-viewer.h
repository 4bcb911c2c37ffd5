// A form's place in the clipboard-viewer chain: joined when the form is
// made, left when it goes. Every change notification is passed on to the
// next viewer after the form has had its say, and the chain is repaired
// when a viewer leaves: the form's successor is replaced when it is the
// one leaving, otherwise the removal goes on down the chain.
#ifndef CLIPBOARD_CHECKER_WIN32_CLIPBOARD_VIEWER_H
#define CLIPBOARD_CHECKER_WIN32_CLIPBOARD_VIEWER_H

#include "platform/components/core/event.h"
#include "platform/components/win32/forms.h"

#include <windows.h>

namespace lexitray {

class ClipboardViewer {
public:
  // Joins the chain with the form's window and takes over the form's
  // WM_DRAWCLIPBOARD and WM_CHANGECBCHAIN.
  explicit ClipboardViewer(components::TForm &form);
  ~ClipboardViewer();
  // Leaves the chain: the successor takes the form's place. Done by the
  // destructor unless done before.
  void Leave();
  ClipboardViewer(const ClipboardViewer &) = delete;
  ClipboardViewer &operator=(const ClipboardViewer &) = delete;

  HWND NextViewer() const { return nextViewer_; }

  // The clipboard changed; runs before the notification is passed on.
  components::TNotifyEvent OnChange;

private:
  void drawClipboard(components::TMessage &message);
  void WMChangeCBChain(components::TMessage &message);

  components::TForm &form_;
  HWND window_;
  HWND nextViewer_ = nullptr; // 0 while the form is the last viewer
  bool joined_ = false;
};

} // namespace lexitray

#endif
