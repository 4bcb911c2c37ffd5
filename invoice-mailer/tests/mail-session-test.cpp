// The socket session under Wine against listeners on loopback: lookups,
// the services file, refused and silent peers, time-outs, cancelling, and
// lookup answers that come too late.
#include "invoice-mailer/tests/loopback.h"
#include "invoice-mailer/win32/mail-base.h"

#include "invoice-mailer/core/mail-errors.h"
#include "invoice-mailer/win32/winsock-error-text.h"
#include "platform/components/win32/application.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

using billpost::TMailBase;
using billpost::WinsockErrorText;

namespace {

// A service name the services file does not hold.
const char NoService[] = "billpost-no-such-service";

// The session with a chosen service name, server and default port (0: the
// session's own), and a wait for the peer's first bytes, as the SMTP client
// waits for a greeting.
class Session : public TMailBase {
public:
  explicit Session(std::string service = "smtp", std::string server = "",
                   std::uint16_t defaultPort = 0)
      : TMailBase(nullptr) {
    serviceName_ = std::move(service);
    SetServer(std::move(server));
    if (defaultPort != 0)
      SetDefaultPort(defaultPort);
  }
  void AwaitData() {
    waitFor([this] { return flags_.readReady || flags_.socketError; });
    if (flags_.canceled)
      throw billpost::ECanceledError();
    if (flags_.timedOut)
      throw billpost::ETimedOutError();
  }
};

// The message of the exception f throws, or "" when it throws none.
template <typename Error> std::string messageOf(const std::function<void()> &f) {
  try {
    f();
  } catch (const Error &error) {
    return error.what();
  }
  return "";
}

class MailSession : public ::testing::Test {
protected:
  loopback::WinsockUser winsock;
};

TEST_F(MailSession, DottedServerMakesNoLookup) {
  loopback::Listener listener;
  Session session(NoService, "127.0.0.1", listener.Port());
  loopback::WindowSpy spy(session.Handle());
  session.Connect();
  session.ConnectSocket();
  EXPECT_EQ(spy.Count(billpost::WM_HOSTLOOKUP), 0);
  EXPECT_FALSE(session.HostLookupDone());
  EXPECT_EQ(session.ResolvedAddressText(), "127.0.0.1");
  EXPECT_TRUE(session.Connected());
  EXPECT_TRUE(listener.AcceptOne(2000));
  EXPECT_EQ(session.Disconnect(), 0);
  EXPECT_EQ(session.Disconnect(), -1);
}

// The server taken from "to@[127.0.0.1]": the address within the brackets,
// used as it is; the connected socket tells the local address for HELO.
TEST_F(MailSession, AddressLiteralServerIsUsedAsItsAddress) {
  loopback::Listener listener;
  Session session(NoService, "[127.0.0.1]", listener.Port());
  loopback::WindowSpy spy(session.Handle());
  session.Connect();
  EXPECT_EQ(spy.Count(billpost::WM_HOSTLOOKUP), 0);
  EXPECT_EQ(session.ResolvedAddressText(), "127.0.0.1");
  EXPECT_EQ(session.LocalAddressText(), "");
  session.ConnectSocket();
  EXPECT_TRUE(session.Connected());
  EXPECT_EQ(session.LocalAddressText(), "127.0.0.1");
  EXPECT_FALSE(session.LocalHostName().empty());
  EXPECT_TRUE(listener.AcceptOne(2000));
}

TEST_F(MailSession, LocalhostResolvesThroughTheAsynchronousLookup) {
  loopback::Listener listener;
  Session session(NoService, "localhost", listener.Port());
  loopback::WindowSpy spy(session.Handle());
  session.Connect();
  EXPECT_EQ(spy.Count(billpost::WM_HOSTLOOKUP), 1);
  EXPECT_TRUE(session.HostLookupDone());
  EXPECT_EQ(session.ResolvedAddressText(), "127.0.0.1");
  session.ConnectSocket();
  EXPECT_TRUE(listener.AcceptOne(2000));
}

TEST_F(MailSession, UnknownHostGivesTheSocketErrorText) {
  Session session("smtp", "no-such-host.invalid");
  std::string message = messageOf<billpost::ESocketError>([&] { session.Connect(); });
  EXPECT_TRUE(message == WinsockErrorText(WSAHOST_NOT_FOUND) ||
              message == WinsockErrorText(WSANO_DATA))
      << message;
  EXPECT_TRUE(session.HostLookupDone());
}

TEST_F(MailSession, EmptyServerIsRefusedWithoutLookup) {
  Session session;
  loopback::WindowSpy spy(session.Handle());
  EXPECT_EQ(messageOf<billpost::EMailError>([&] { session.Connect(); }),
            "Error resolving remote host");
  EXPECT_EQ(spy.Count(billpost::WM_HOSTLOOKUP), 0);
}

TEST_F(MailSession, EmptyServiceNameFailsBeforeAnySocket) {
  Session session("", "127.0.0.1");
  EXPECT_EQ(messageOf<billpost::EMailError>([&] { session.Connect(); }),
            "Service name is not specified");
  EXPECT_EQ(session.Disconnect(), -1);
}

TEST_F(MailSession, RefusedConnectionFailsAtOnce) {
  Session session(NoService, "127.0.0.1", loopback::ClosedPort());
  session.Connect();
  DWORD start = GetTickCount();
  std::string message = messageOf<billpost::ESocketError>([&] { session.ConnectSocket(); });
  DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(message, WinsockErrorText(WSAECONNREFUSED));
  EXPECT_EQ(message, "Winsock Error No. 10061");
  // The time-out is 60 s; a refusal must not wait for it.
  EXPECT_LT(elapsed, 2000u);
}

TEST_F(MailSession, ServicesFileDecidesTheSmtpPort) {
  loopback::Listener listener;
  loopback::SmtpServiceOverride services(listener.Port());
  Session session("smtp", "127.0.0.1", 1);
  session.Connect();
  EXPECT_TRUE(session.ServiceLookupDone());
  EXPECT_EQ(session.ResolvedPort(), listener.Port());
  session.ConnectSocket();
  EXPECT_TRUE(listener.AcceptOne(2000));
}

TEST_F(MailSession, UnknownServiceFallsBackToTheDefaultPort) {
  loopback::Listener listener;
  Session session(NoService, "127.0.0.1", listener.Port());
  session.Connect();
  EXPECT_TRUE(session.ServiceLookupDone());
  EXPECT_EQ(session.ResolvedPort(), listener.Port());
  // The failed lookup's error must not end the connect wait.
  session.ConnectSocket();
  EXPECT_TRUE(listener.AcceptOne(2000));
}

TEST_F(MailSession, SilentServerTimesOut) {
  loopback::Listener listener;
  Session session(NoService, "127.0.0.1", listener.Port());
  session.SetTimeOut(2);
  session.Connect();
  session.ConnectSocket();
  DWORD start = GetTickCount();
  EXPECT_EQ(messageOf<billpost::ETimedOutError>([&] { session.AwaitData(); }),
            "Operation timed out");
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 1000u);
  EXPECT_LT(elapsed, 5000u);
}

TEST_F(MailSession, CancelEndsALookupWait) {
  Session session("smtp", "localhost");
  // The answer is held back, so only the cancel can end the wait.
  loopback::WindowSpy spy(session.Handle(), billpost::WM_HOSTLOOKUP);
  spy.PostAction([&] { session.Cancel(); });
  EXPECT_EQ(messageOf<billpost::ECanceledError>([&] { session.Connect(); }),
            "Operation has been canceled");
}

TEST_F(MailSession, LateHostAnswerIsIgnored) {
  loopback::Listener listener;
  Session session(NoService, "localhost", listener.Port());
  session.SetTimeOut(1);
  {
    loopback::WindowSpy spy(session.Handle(), billpost::WM_HOSTLOOKUP);
    EXPECT_EQ(messageOf<billpost::ETimedOutError>([&] { session.Connect(); }),
              "Operation timed out");
    // Let the real answer arrive, then hand it over late, turned into a
    // failure: were it taken, the next connection would fail with it.
    EXPECT_TRUE(components::Application->WaitUntil([&] { return !spy.HeldBack().empty(); }, 5000));
    ASSERT_EQ(spy.HeldBack().size(), 1u);
    auto late = spy.HeldBack()[0];
    spy.StopHolding();
    PostMessageA(session.Handle(), late.msg, late.wParam, WSAMAKEASYNCREPLY(0, WSAHOST_NOT_FOUND));
  }
  session.SetTimeOut(60);
  session.ResetFlags();
  session.Connect();
  EXPECT_EQ(session.ResolvedAddressText(), "127.0.0.1");
  session.ConnectSocket();
  EXPECT_TRUE(listener.AcceptOne(2000));
}

TEST_F(MailSession, ServiceLookupTimeOutLeavesTheConnectItsOwnWait) {
  loopback::Listener listener;
  Session session("smtp", "127.0.0.1", listener.Port());
  session.SetTimeOut(1);
  loopback::WindowSpy spy(session.Handle(), billpost::WM_SERVICELOOKUP);
  session.Connect();
  EXPECT_FALSE(session.ServiceLookupDone());
  EXPECT_EQ(session.ResolvedPort(), listener.Port());
  session.ConnectSocket();
  EXPECT_TRUE(session.Connected());
  EXPECT_TRUE(listener.AcceptOne(2000));
}

TEST(WinsockErrorText, NumbersWithoutTheTextLibrary) {
  EXPECT_EQ(WinsockErrorText(0), "");
  EXPECT_EQ(WinsockErrorText(10061), "Winsock Error No. 10061");
  EXPECT_EQ(WinsockErrorText(11001), "Winsock Error No. 11001");
}

} // namespace
