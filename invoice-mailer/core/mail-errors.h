// The mail component's exceptions. Each carries only its message; the
// application's handler shows it.
#ifndef BILLPOST_MAIL_ERRORS_H
#define BILLPOST_MAIL_ERRORS_H

#include "platform/components/core/exception.h"

namespace billpost {

// Protocol and lookup failures; the message is the server's reply text or
// the session's own text.
class EMailError : public components::Exception {
public:
  using components::Exception::Exception;
};

// Socket failures, with the socket layer's error text.
class ESocketError : public components::Exception {
public:
  using components::Exception::Exception;
};

class ECanceledError : public components::Exception {
public:
  ECanceledError() : components::Exception("Operation has been canceled") {}
};

class ETimedOutError : public components::Exception {
public:
  ETimedOutError() : components::Exception("Operation timed out") {}
};

// A body or attachment that the encoders cannot take.
class EMIMEError : public components::Exception {
public:
  using components::Exception::Exception;
};

} // namespace billpost

#endif
