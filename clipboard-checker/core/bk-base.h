// The base classes of the utility components (tray icon, version reader):
// the component base that publishes the kit's version, and the exception
// base whose error code is the number of its message in the utility
// string table. The Win32 side raises them with texts from that table.
#ifndef CLIPBOARD_CHECKER_CORE_BK_BASE_H
#define CLIPBOARD_CHECKER_CORE_BK_BASE_H

#include "platform/components/core/component.h"
#include "platform/components/core/exception.h"

#include <string>

namespace lexitray {

class TBkComponent : public components::TComponent {
public:
  using TComponent::TComponent;
  // Read-only and never stored with a form: writing it does nothing.
  std::string Version() const { return "2.01"; }
  void SetVersion(const std::string &) {}
};

class EBkException : public components::Exception {
public:
  EBkException(std::string message, int errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const { return errorCode_; }

private:
  int errorCode_;
};

class EBkTrayIconError : public EBkException {
public:
  using EBkException::EBkException;
};

class EBkVersionInfoError : public EBkException {
public:
  using EBkException::EBkException;
};

// A string table that cannot be opened, locked or read.
class ETzmStringResourceError : public components::Exception {
public:
  using Exception::Exception;
};

} // namespace lexitray

#endif
