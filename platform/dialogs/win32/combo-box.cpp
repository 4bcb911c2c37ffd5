#include "platform/dialogs/win32/combo-box.h"

namespace dialogs {

std::string ComboBox::entryText(int index) const {
  LRESULT length = send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR)
    return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  LRESULT copied =
      send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
  return text;
}

} // namespace dialogs
