// Owner of a Windows Sockets socket, closed once. Include before any header
// that pulls in <windows.h>: winsock2.h must come first.
#ifndef PLATFORM_BASE_UNIQUE_SOCKET_H
#define PLATFORM_BASE_UNIQUE_SOCKET_H

#include <winsock2.h>

#include <utility>

namespace base {

class UniqueSocket {
public:
  UniqueSocket() = default;
  explicit UniqueSocket(SOCKET s) : socket_(s) {}
  UniqueSocket(UniqueSocket &&other) noexcept : socket_(other.release()) {}
  UniqueSocket &operator=(UniqueSocket &&other) noexcept {
    reset(other.release());
    return *this;
  }
  UniqueSocket(const UniqueSocket &) = delete;
  UniqueSocket &operator=(const UniqueSocket &) = delete;
  ~UniqueSocket() { reset(); }

  SOCKET get() const { return socket_; }
  explicit operator bool() const { return socket_ != INVALID_SOCKET; }
  SOCKET release() { return std::exchange(socket_, INVALID_SOCKET); }
  void reset(SOCKET s = INVALID_SOCKET) {
    SOCKET old = std::exchange(socket_, s);
    if (old != INVALID_SOCKET)
      closesocket(old);
  }

private:
  SOCKET socket_ = INVALID_SOCKET;
};

} // namespace base

#endif
