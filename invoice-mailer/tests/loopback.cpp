// Loopback peers for the mail component's Wine tests.
#include "invoice-mailer/tests/loopback.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace loopback {

namespace {
WindowSpy *activeSpy = nullptr;
constexpr UINT spyAction = WM_APP + 0x2A;

base::UniqueSocket boundSocket(std::uint16_t &port) {
  base::UniqueSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s.get(), reinterpret_cast<sockaddr *>(&address), sizeof address);
  int length = sizeof address;
  getsockname(s.get(), reinterpret_cast<sockaddr *>(&address), &length);
  port = ntohs(address.sin_port);
  return s;
}
} // namespace

Listener::Listener() {
  socket_ = boundSocket(port_);
  listen(socket_.get(), 4);
}

bool Listener::AcceptOne(DWORD timeoutMs) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(socket_.get(), &readable);
  timeval wait{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000 * 1000)};
  if (select(0, &readable, nullptr, nullptr, &wait) != 1)
    return false;
  base::UniqueSocket peer(accept(socket_.get(), nullptr, nullptr));
  if (!peer)
    return false;
  accepted_.push_back(std::move(peer));
  return true;
}

std::uint16_t ClosedPort() {
  std::uint16_t port = 0;
  boundSocket(port);
  return port;
}

std::string SmtpServiceOverride::FileName() {
  char directory[MAX_PATH] = {};
  GetSystemDirectoryA(directory, MAX_PATH);
  return std::string(directory) + "\\drivers\\etc\\services";
}

SmtpServiceOverride::SmtpServiceOverride(std::uint16_t port) {
  std::ifstream in(FileName(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  original_ = text.str();
  // Every "smtp" entry gives way to ours, the rest stays as it was.
  std::istringstream lines(original_);
  std::string line, edited = "smtp\t\t" + std::to_string(port) + "/tcp\t\tmail\r\n";
  while (std::getline(lines, line))
    if (line.compare(0, 5, "smtp\t") != 0 && line.compare(0, 5, "smtp ") != 0)
      edited += line + "\n";
  std::ofstream(FileName(), std::ios::binary | std::ios::trunc) << edited;
}

SmtpServiceOverride::~SmtpServiceOverride() {
  std::ofstream(FileName(), std::ios::binary | std::ios::trunc) << original_;
}

WindowSpy::WindowSpy(HWND window, UINT holdBack) : window_(window), holdBack_(holdBack) {
  activeSpy = this;
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowSpy::proc)));
}

WindowSpy::~WindowSpy() {
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  activeSpy = nullptr;
}

int WindowSpy::Count(UINT msg) const {
  return static_cast<int>(std::count(seen_.begin(), seen_.end(), msg));
}

void WindowSpy::PostAction(std::function<void()> action) {
  action_ = std::move(action);
  PostMessageA(window_, spyAction, 0, 0);
}

LRESULT CALLBACK WindowSpy::proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowSpy *spy = activeSpy;
  if (msg == spyAction) {
    if (spy->action_)
      spy->action_();
    return 0;
  }
  spy->seen_.push_back(msg);
  if (spy->holdBack_ && msg == spy->holdBack_) {
    spy->held_.push_back({msg, wParam, lParam});
    return 0;
  }
  return CallWindowProcA(spy->original_, window, msg, wParam, lParam);
}

} // namespace loopback
