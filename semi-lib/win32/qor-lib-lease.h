// QorLibLease: every device converts its values through its own QorLib
// service object, and a page holds thousands of devices. Creating each one
// by class identifier makes COM read the registry every time (under Wine a
// server round trip per key), which cost more than the solve itself. The
// lease keeps the service's class factory while at least one device of this
// module lives and creates the objects from it; the last lease to go
// releases the factory, so the module holding QorLib can still unload.
#ifndef SEMI_LIB_QOR_LIB_LEASE_H
#define SEMI_LIB_QOR_LIB_LEASE_H

#include "QorLib02.h"

#include "platform/base/win32/com-ptr.h"

namespace semi_win32 {

class QorLibLease {
public:
  QorLibLease() = default;
  QorLibLease(const QorLibLease &) = delete;
  QorLibLease &operator=(const QorLibLease &) = delete;
  ~QorLibLease();

  // Creates a QorLib service object, as CoCreateInstance by its class
  // identifier would, from the shared factory (resolved at the first lease).
  HRESULT create(IQorLib **out);

private:
  bool held_ = false;
};

} // namespace semi_win32

#endif
