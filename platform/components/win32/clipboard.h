// The clipboard as the program sees it: format tests and 8-bit text
// (CF_TEXT) both ways.
#ifndef COMPONENTS_WIN32_CLIPBOARD_H
#define COMPONENTS_WIN32_CLIPBOARD_H

#include "platform/components/core/event.h"

#include <windows.h>

#include <string>

namespace components {

class TClipboard : public TObject {
public:
  bool HasFormat(UINT format) const;
  // The text on the clipboard; empty when it holds none.
  std::string AsText() const;
  // Replaces the clipboard's content by text; throws Exception when the
  // clipboard cannot be opened or the memory cannot be had.
  void SetAsText(const std::string &text);
};

// The program's clipboard object.
TClipboard &Clipboard();

} // namespace components

#endif
