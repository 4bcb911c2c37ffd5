// The error pictures raise for files they cannot read: a missing file, a
// file of an unknown kind, damaged contents.
#ifndef COMPONENTS_WIN32_GRAPHIC_ERROR_H
#define COMPONENTS_WIN32_GRAPHIC_ERROR_H

#include "platform/components/core/exception.h"

namespace components {

class EInvalidGraphic : public Exception {
public:
  using Exception::Exception;
};

} // namespace components

#endif
