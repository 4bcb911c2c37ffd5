// Loads with a buffer that grows while the entry fills it exactly.
#include "jpeg/win32/load-res-string.h"

namespace pixtune {

TString LoadResString(HINSTANCE instance, UINT id) {
  TString text;
  text.Reserve(static_cast<std::size_t>(text.Capacity()) + 128);
  for (;;) {
    int capacity = text.Capacity();
    int length = LoadStringA(instance, id, text.Buffer(), capacity);
    if (length <= 0) {
      text = "";
      return text;
    }
    if (length + 1 < capacity)
      return text;
    text.Reserve(static_cast<std::size_t>(capacity) + 128);
  }
}

} // namespace pixtune
