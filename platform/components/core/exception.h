// The exception base of the component library and the small classes derived
// from it. Lexitray and Billpost raise these; the application's default
// handler shows Message() in a message box.
#ifndef COMPONENTS_EXCEPTION_H
#define COMPONENTS_EXCEPTION_H

#include <exception>
#include <string>

namespace components {

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string &Message() const { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  const char *what() const noexcept override { return message_.c_str(); }

private:
  std::string message_;
};

// Stream failures: a short read, a failed write, a file that cannot be
// opened or created.
class EStreamError : public Exception {
public:
  using Exception::Exception;
};
class EReadError : public EStreamError {
public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

// A string list asked for an index it does not have, or a duplicate it
// was told to refuse.
class EStringListError : public Exception {
public:
  using Exception::Exception;
};

// An INI file that could not be written.
class EIniFileException : public Exception {
public:
  using Exception::Exception;
};

} // namespace components

#endif
