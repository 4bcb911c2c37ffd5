// The clipboard-viewer chain.
#include "clipboard-checker/win32/clipboard-viewer.h"

#include "platform/components/win32/application.h"

namespace lexitray {

using components::TMessage;

ClipboardViewer::ClipboardViewer(components::TForm &form) : form_(form), window_(form.Handle()) {
  form_.SetMessageHandler(WM_DRAWCLIPBOARD, [this](TMessage &message) { drawClipboard(message); });
  form_.SetMessageHandler(WM_CHANGECBCHAIN,
                          [this](TMessage &message) { WMChangeCBChain(message); });
  // Joining notifies this window at once; the handlers are in place first.
  nextViewer_ = SetClipboardViewer(window_);
  joined_ = true;
}

ClipboardViewer::~ClipboardViewer() { Leave(); }

void ClipboardViewer::Leave() {
  if (!joined_)
    return;
  joined_ = false;
  if (IsWindow(window_))
    ChangeClipboardChain(window_, nextViewer_);
  // The form may outlive this object: its handlers must no longer reach
  // it, and a window out of the chain has nothing to pass on.
  if (form_.HandleAllocated() && form_.Handle() == window_) {
    form_.SetMessageHandler(WM_DRAWCLIPBOARD, [](TMessage &) {});
    form_.SetMessageHandler(WM_CHANGECBCHAIN, [](TMessage &) {});
  }
}

void ClipboardViewer::drawClipboard(TMessage &message) {
  // The next viewer hears of the change whatever our own handler does.
  components::CallGuarded<int>(&form_, 0, [&] {
    OnChange(&form_);
    return 0;
  });
  if (nextViewer_)
    SendMessageA(nextViewer_, WM_DRAWCLIPBOARD, 0, 0);
  message.Result = 0;
}

void ClipboardViewer::WMChangeCBChain(TMessage &message) {
  HWND removed = reinterpret_cast<HWND>(message.WParam);
  HWND following = reinterpret_cast<HWND>(message.LParam);
  if (removed == nextViewer_)
    nextViewer_ = following;
  else if (nextViewer_)
    SendMessageA(nextViewer_, WM_CHANGECBCHAIN, message.WParam, message.LParam);
  message.Result = 0;
}

} // namespace lexitray
