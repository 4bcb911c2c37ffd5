// TMailBase: one TCP connection made with Winsock in its asynchronous
// style. Host and service lookups and socket events arrive as messages at a
// hidden window; every wait runs the application's message loop until its
// event, a cancel request or the time-out (counted in one-second ticks)
// ends it. The SMTP client derives from it.
#ifndef BILLPOST_MAIL_BASE_H
#define BILLPOST_MAIL_BASE_H

// winsock2.h must come before windows.h.
#include "platform/base/win32/unique-socket.h"

#include "platform/components/core/component.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/utility.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace billpost {

// Messages of the hidden window; lParam packs event and error as Winsock
// defines, wParam is the lookup handle or the socket.
constexpr UINT WM_HOSTLOOKUP = 1025;
constexpr UINT WM_SERVICELOOKUP = 1026;
constexpr UINT WM_SOCKETEVENT = 1027;

class TMailBase : public components::TComponent {
public:
  explicit TMailBase(components::TComponent *owner);
  ~TMailBase() override;

  const std::string &Server() const { return server_; }
  void SetServer(std::string server) { server_ = std::move(server); }
  int TimeOut() const { return timeOut_; }
  void SetTimeOut(int seconds) { timeOut_ = seconds; }
  // The port used when the service lookup gives none.
  std::uint16_t DefaultPort() const { return defaultPort_; }
  void SetDefaultPort(std::uint16_t port) { defaultPort_ = port; }

  virtual void ResetFlags();
  virtual void Cancel();
  // Starts Winsock, resolves Server and the service, makes the socket.
  virtual void Connect();
  // Closes the socket; answers the close result, -1 when none was open.
  virtual int Disconnect();

  // Connects the socket made by Connect and registers it for events.
  void ConnectSocket();

  // The hidden window that receives lookup answers and socket events.
  HWND Handle() const { return window_->Handle(); }
  const std::string &ResolvedAddressText() const { return addressText_; }
  // This machine's host name; empty when it has none.
  std::string LocalHostName() const;
  // The local address of the connected socket ("192.0.2.1"); empty when
  // not connected.
  std::string LocalAddressText() const;
  std::uint16_t ResolvedPort() const { return port_; }
  bool HostLookupDone() const { return flags_.hostLookupDone; }
  bool ServiceLookupDone() const { return flags_.serviceLookupDone; }
  bool Connected() const { return flags_.connected; }
  // The lines sent and the reply lines received, kept for the component's life.
  components::TStringList &Transcript() { return transcript_; }

protected:
  struct Flags {
    bool timedOut = false;
    bool canceled = false;
    bool hostLookupDone = false;
    bool serviceLookupDone = false;
    bool connected = false;
    bool readReady = false;
    bool writeReady = false;
    bool closed = false; // the peer closed the connection
    bool socketError = false;
    int errorNumber = 0;
  };

  // Runs the message loop until done() holds or the wait is canceled or
  // timed out; the time-out count runs meanwhile.
  void waitFor(const std::function<bool()> &done);
  void startTimeOut();
  void stopTimeOut();
  SOCKET socketHandle() const { return socket_.get(); }

  Flags flags_;
  std::string serviceName_;

private:
  using LookupBuffer = std::array<char, MAXGETHOSTSTRUCT>;
  struct Lookup {
    HANDLE handle = nullptr;
    std::unique_ptr<LookupBuffer> buffer;
  };

  bool handleMessage(components::TMessage &message);
  void lookupAnswered(UINT message, WPARAM wParam, LPARAM lParam);
  void socketEvent(WPARAM wParam, LPARAM lParam);
  void tick();
  void abandonLookup();
  bool takeAnswer(bool answered);
  const char *startLookup(UINT message, const char *name, const char *protocol);
  void startWinsock();
  void ResolveHost();
  void ResolveService();
  void CreateSocket();

  std::string server_;
  int timeOut_ = 60;
  std::uint16_t defaultPort_ = 25;
  base::UniqueSocket socket_;
  std::uint32_t address_ = 0; // network order
  std::string addressText_;
  std::uint16_t port_ = 0; // host order
  components::TTimer *timer_;
  int ticksLeft_ = 0;
  Lookup pending_;
  // Lookups given up (cancelled or timed out) whose answers have not come
  // yet: their buffers must outlive them.
  std::vector<Lookup> abandoned_;
  int winsockStarts_ = 0;
  components::TStringList transcript_;
  WSADATA winsockData_{};
  std::unique_ptr<components::TUtilityWindow> window_;
};

} // namespace billpost

#endif
