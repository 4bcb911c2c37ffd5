// Table-driven QueryInterface.
#include "platform/com/win32/object.h"

namespace com {

HRESULT findInterface(void *object, const InterfaceEntry *table, REFIID riid, void **out) {
  *out = nullptr;
  if (IsEqualIID(riid, IID_IUnknown)) {
    *out = static_cast<char *>(object) + table[0].offset;
    return S_OK;
  }
  for (const InterfaceEntry *entry = table; entry->iid; ++entry) {
    if (IsEqualIID(riid, *entry->iid)) {
      *out = static_cast<char *>(object) + entry->offset;
      return S_OK;
    }
  }
  return E_NOINTERFACE;
}

} // namespace com
