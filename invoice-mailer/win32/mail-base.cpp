// The asynchronous socket session.
//
// Wine's WSACancelAsyncRequest answers success but cancels nothing, and
// Windows may have the answer under way already: a lookup given up is
// therefore remembered with its buffer until its answer arrives, and only
// the answer of the one pending lookup counts.
#include "invoice-mailer/win32/mail-base.h"

#include "invoice-mailer/core/mail-errors.h"
#include "invoice-mailer/core/smtp-greeting.h"
#include "invoice-mailer/win32/winsock-error-text.h"
#include "platform/components/win32/application.h"

#include <algorithm>

namespace billpost {

namespace {

[[noreturn]] void throwSocketError(int number) { throw ESocketError(WinsockErrorText(number)); }

} // namespace

TMailBase::TMailBase(components::TComponent *owner)
    : components::TComponent(owner), timer_(new components::TTimer(this)) {
  timer_->SetEnabled(false);
  timer_->SetInterval(1000);
  timer_->OnTimer = [this](components::TObject *) { tick(); };
  window_ = std::make_unique<components::TUtilityWindow>(
      [this](components::TMessage &message) { return handleMessage(message); });
}

TMailBase::~TMailBase() {
  window_.reset();
  socket_.reset();
  // A lookup still under way writes into its buffer when it ends, whatever
  // becomes of us: its buffer is left to it.
  if (pending_.handle)
    abandonLookup();
  for (Lookup &lookup : abandoned_)
    static_cast<void>(lookup.buffer.release());
  for (; winsockStarts_ > 0; --winsockStarts_)
    WSACleanup();
}

bool TMailBase::handleMessage(components::TMessage &message) {
  switch (message.Msg) {
  case WM_HOSTLOOKUP:
  case WM_SERVICELOOKUP:
    lookupAnswered(message.Msg, message.WParam, message.LParam);
    break;
  case WM_SOCKETEVENT:
    socketEvent(message.WParam, message.LParam);
    break;
  default:
    return false;
  }
  message.Result = 0;
  return true;
}

void TMailBase::lookupAnswered(UINT message, WPARAM wParam, LPARAM lParam) {
  HANDLE handle = reinterpret_cast<HANDLE>(wParam);
  if (!pending_.handle || handle != pending_.handle) {
    // A late answer to a lookup given up: its buffer can go now.
    abandoned_.erase(
        std::remove_if(abandoned_.begin(), abandoned_.end(),
                       [handle](const Lookup &lookup) { return lookup.handle == handle; }),
        abandoned_.end());
    return;
  }
  if (message == WM_HOSTLOOKUP)
    flags_.hostLookupDone = true;
  else
    flags_.serviceLookupDone = true;
  flags_.errorNumber = WSAGETASYNCERROR(lParam);
  flags_.socketError = flags_.errorNumber != 0;
}

void TMailBase::socketEvent(WPARAM wParam, LPARAM lParam) {
  // Events of a socket closed since may still be queued.
  if (!socket_ || static_cast<SOCKET>(wParam) != socket_.get())
    return;
  flags_.errorNumber = WSAGETSELECTERROR(lParam);
  flags_.socketError = flags_.errorNumber != 0;
  if (flags_.socketError)
    return;
  switch (WSAGETSELECTEVENT(lParam)) {
  case FD_READ:
    flags_.readReady = true;
    break;
  case FD_WRITE:
    flags_.writeReady = true;
    break;
  case FD_CONNECT:
    flags_.connected = true;
    break;
  case FD_CLOSE:
    // Whatever the peer sent before closing is still to be read.
    flags_.closed = true;
    flags_.readReady = true;
    break;
  default:
    break;
  }
}

void TMailBase::tick() {
  if (--ticksLeft_ > 0)
    return;
  if (pending_.handle)
    abandonLookup();
  if (WSAIsBlocking())
    WSACancelBlockingCall();
  stopTimeOut();
  flags_.timedOut = true;
}

void TMailBase::abandonLookup() {
  WSACancelAsyncRequest(pending_.handle);
  abandoned_.push_back(std::move(pending_));
  pending_ = Lookup{};
}

// After a lookup's wait: true when the pending lookup was answered. One
// that was not (the wait ended otherwise) is given up.
bool TMailBase::takeAnswer(bool answered) {
  if (!pending_.handle)
    return false;
  if (answered)
    return true;
  abandonLookup();
  return false;
}

void TMailBase::startTimeOut() {
  ticksLeft_ = timeOut_;
  timer_->SetEnabled(true);
}

void TMailBase::stopTimeOut() { timer_->SetEnabled(false); }

void TMailBase::waitFor(const std::function<bool()> &done) {
  startTimeOut();
  bool ended = components::Application->WaitUntil(
      [&] { return done() || flags_.canceled || flags_.timedOut; });
  stopTimeOut();
  // The program is quitting: nothing more will be answered.
  if (!ended)
    flags_.canceled = true;
}

void TMailBase::ResetFlags() {
  flags_ = Flags{};
  // A lookup still pending here was given up; its answer must not count.
  if (pending_.handle)
    abandonLookup();
}

void TMailBase::Cancel() {
  flags_.canceled = true;
  if (pending_.handle)
    abandonLookup();
  if (WSAIsBlocking())
    WSACancelBlockingCall();
}

void TMailBase::Connect() {
  startWinsock();
  ResolveHost();
  ResolveService();
  CreateSocket();
}

int TMailBase::Disconnect() {
  if (!socket_)
    return -1;
  return closesocket(socket_.release());
}

void TMailBase::startWinsock() {
  if (WSAStartup(MAKEWORD(1, 1), &winsockData_) != 0)
    throw ESocketError("Invalid Winsock Version");
  ++winsockStarts_;
}

// Starts an asynchronous lookup answered with message; answers its result
// buffer, or null when it could not be started (WSAGetLastError tells why).
const char *TMailBase::startLookup(UINT message, const char *name, const char *protocol) {
  auto buffer = std::make_unique<LookupBuffer>();
  HANDLE handle = message == WM_HOSTLOOKUP
                      ? WSAAsyncGetHostByName(Handle(), message, name, buffer->data(),
                                              static_cast<int>(buffer->size()))
                      : WSAAsyncGetServByName(Handle(), message, name, protocol, buffer->data(),
                                              static_cast<int>(buffer->size()));
  if (!handle)
    return nullptr;
  pending_.handle = handle;
  pending_.buffer = std::move(buffer);
  return pending_.buffer->data();
}

void TMailBase::ResolveHost() {
  std::string name = ServerHost(server_);
  // An empty name would resolve to this machine.
  if (name.empty())
    throw EMailError("Error resolving remote host");
  std::uint32_t dotted = inet_addr(name.c_str());
  if (dotted != INADDR_NONE) {
    address_ = dotted;
    addressText_ = name;
    return;
  }
  const char *buffer = startLookup(WM_HOSTLOOKUP, name.c_str(), nullptr);
  if (!buffer)
    throwSocketError(WSAGetLastError());
  waitFor([this] { return flags_.hostLookupDone; });
  bool answered = takeAnswer(flags_.hostLookupDone);
  Lookup answer = std::move(pending_);
  pending_ = Lookup{};
  if (flags_.socketError)
    throwSocketError(flags_.errorNumber);
  if (flags_.timedOut)
    throw ETimedOutError();
  if (flags_.canceled || !answered)
    throw ECanceledError();
  const auto *host = reinterpret_cast<const hostent *>(answer.buffer->data());
  if (host->h_length != 4 || !host->h_addr_list || !host->h_addr_list[0])
    throw EMailError("Error resolving remote host");
  const auto *bytes = reinterpret_cast<const unsigned char *>(host->h_addr_list[0]);
  addressText_ = std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
                 std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
  address_ = inet_addr(addressText_.c_str());
  if (address_ == INADDR_NONE)
    throw EMailError("Error resolving remote host");
}

void TMailBase::ResolveService() {
  if (serviceName_.empty())
    throw EMailError("Service name is not specified");
  const char *buffer = startLookup(WM_SERVICELOOKUP, serviceName_.c_str(), "tcp");
  if (buffer) {
    waitFor([this] { return flags_.serviceLookupDone; });
    bool answered = takeAnswer(flags_.serviceLookupDone);
    Lookup answer = std::move(pending_);
    pending_ = Lookup{};
    if (!flags_.socketError && !flags_.timedOut) {
      if (flags_.canceled || !answered)
        throw ECanceledError();
      port_ = ntohs(reinterpret_cast<const servent *>(answer.buffer->data())->s_port);
      return;
    }
  }
  // No answer: the default port serves. The failed lookup's error or
  // time-out must not end the connect wait that follows at once.
  port_ = defaultPort_;
  flags_.socketError = false;
  flags_.errorNumber = 0;
  flags_.timedOut = false;
}

std::string TMailBase::LocalHostName() const {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) == SOCKET_ERROR)
    return std::string();
  return name;
}

std::string TMailBase::LocalAddressText() const {
  sockaddr_in local{};
  int size = sizeof local;
  if (!socket_ ||
      getsockname(socket_.get(), reinterpret_cast<sockaddr *>(&local), &size) == SOCKET_ERROR)
    return std::string();
  const auto *bytes = reinterpret_cast<const unsigned char *>(&local.sin_addr);
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
         std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}

void TMailBase::CreateSocket() {
  base::UniqueSocket created(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!created)
    throwSocketError(WSAGetLastError());
  socket_ = std::move(created);
}

void TMailBase::ConnectSocket() {
  if (!socket_)
    throw ESocketError(WinsockErrorText(WSAENOTSOCK));
  if (WSAAsyncSelect(socket_.get(), Handle(), WM_SOCKETEVENT,
                     FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) == SOCKET_ERROR)
    throwSocketError(WSAGetLastError());
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_addr.s_addr = address_;
  peer.sin_port = htons(port_);
  if (connect(socket_.get(), reinterpret_cast<const sockaddr *>(&peer), sizeof peer) ==
      SOCKET_ERROR) {
    int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK)
      throwSocketError(error);
  }
  waitFor([this] { return flags_.connected || flags_.socketError; });
  if (flags_.canceled)
    throw ECanceledError();
  if (flags_.timedOut)
    throw ETimedOutError();
  if (flags_.socketError)
    throwSocketError(flags_.errorNumber);
}

} // namespace billpost
