// The two failures the invoice readers and the invoice text report: an
// input/output error (a log that cannot be opened or read, or whose records
// are damaged) and a conversion error (a stored text that should hold a
// number but does not). The main window shows Message() in a message box.
#ifndef INVOICE_MAILER_CORE_LOG_ERRORS_H
#define INVOICE_MAILER_CORE_LOG_ERRORS_H

#include "platform/components/core/exception.h"

namespace billpost {

class EInOutError : public components::Exception {
public:
  using components::Exception::Exception;
};

class EConvertError : public components::Exception {
public:
  using components::Exception::Exception;
};

} // namespace billpost

#endif
