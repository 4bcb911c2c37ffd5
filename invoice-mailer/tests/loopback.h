// Loopback peers for the mail component's Wine tests: a listening socket
// on 127.0.0.1, the prefix's services file, and a spy on the component's
// hidden window that can hold back the answers it receives.
#ifndef BILLPOST_TESTS_LOOPBACK_H
#define BILLPOST_TESTS_LOOPBACK_H

#include "platform/base/win32/unique-socket.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace loopback {

// Winsock for the test's own sockets.
class WinsockUser {
public:
  WinsockUser() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUser() { WSACleanup(); }
};

// A blocking listener on an ephemeral loopback port that never speaks.
class Listener {
public:
  Listener();
  std::uint16_t Port() const { return port_; }
  // True when a connection is waiting or was accepted within timeoutMs.
  bool AcceptOne(DWORD timeoutMs);
  void Close() { socket_.reset(); }

private:
  base::UniqueSocket socket_;
  std::vector<base::UniqueSocket> accepted_;
  std::uint16_t port_ = 0;
};

// A port on which nobody listens (bound once, then closed).
std::uint16_t ClosedPort();

// Maps the service "smtp" to a port in the prefix's services file for its
// lifetime; the file is restored afterwards.
class SmtpServiceOverride {
public:
  explicit SmtpServiceOverride(std::uint16_t port);
  ~SmtpServiceOverride();
  static std::string FileName();

private:
  std::string original_;
};

// Subclasses a window: records the numbers of the messages it receives,
// holds back those of one number instead of delivering them, and runs an
// action on a private message. One spy at a time.
class WindowSpy {
public:
  struct Held {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  };
  explicit WindowSpy(HWND window, UINT holdBack = 0);
  ~WindowSpy();
  int Count(UINT msg) const;
  const std::vector<Held> &HeldBack() const { return held_; }
  void StopHolding() { holdBack_ = 0; }
  // Runs action from inside the message loop (as a timer or a click would).
  void PostAction(std::function<void()> action);

private:
  static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
  HWND window_;
  WNDPROC original_;
  UINT holdBack_;
  std::vector<UINT> seen_;
  std::vector<Held> held_;
  std::function<void()> action_;
};

} // namespace loopback

#endif
