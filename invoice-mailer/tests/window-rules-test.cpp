// The main window's rules that need no window: the mail host of an
// address, the address checks, and the panels and enabling for each state.
#include "invoice-mailer/core/mail-address.h"
#include "invoice-mailer/core/main-window-state.h"

#include <gtest/gtest.h>

namespace billpost {
namespace {

TEST(MailAddress, HostIsTheTextAfterTheFirstAt) {
  struct Case {
    const char *address, *host;
  } cases[] = {
      {"inbox@localhost", "localhost"},
      {"someone@example.com", "example.com"},
      // No online service gets "mail." in front.
      {"member@aol.com", "aol.com"},
      {"member@compuserve.com", "compuserve.com"},
      {"a@b@c", "b@c"},
      {"nobody", ""},
      {"a.b@", ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(MailHostOf(c.address), c.host) << c.address;
}

TEST(MailAddress, ChecksOfTheFields) {
  struct Case {
    const char *address;
    bool looks, deliverable;
  } cases[] = {
      {"inbox@localhost", false, true}, // no dot: the field check objects, sending would not
      {"bill@example.com", true, true},
      {"a.b@", true, false}, // nothing after "@": never looked up
      {"abc", false, false},
      {"@example.com", true, false},
      {"a b@example.com", true, false},
      {"a@exa mple.com", true, false},
      {"a@.example.com", true, false},
      {"a@example.com.", true, false},
      {"x@y@example.com", true, false},
      {"inbox@127.0.0.1", true, true},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(LooksLikeAddress(c.address), c.looks) << c.address;
    EXPECT_EQ(DeliverableAddress(c.address), c.deliverable) << c.address;
  }
  EXPECT_TRUE(AddressesOfferSend("a@b", "c@d"));
  EXPECT_FALSE(AddressesOfferSend("ab", "c@d"));
  EXPECT_FALSE(AddressesOfferSend("a@b", ""));
}

TEST(MainWindowState, PanelsAndEnabling) {
  MainWindowState fresh;
  MainWindowControls c = ControlsFor(fresh);
  EXPECT_EQ(c.shown, MainPanel::InvoiceFile);
  EXPECT_TRUE(c.openLog && c.exitProgram);
  // Address Invoice is offered before there is anything to mail.
  EXPECT_TRUE(c.address);
  EXPECT_FALSE(c.search || c.view || c.timer || c.mailButton || c.send || c.exportText);

  // Addressing without an open log falls back to the invoice file panel.
  MainWindowState noLog;
  noLog.wanted = MainPanel::Addressing;
  EXPECT_EQ(ControlsFor(noLog).shown, MainPanel::InvoiceFile);

  MainWindowState found;
  found.logsOpen = found.found = found.textHasLines = true;
  c = ControlsFor(found);
  EXPECT_TRUE(c.search && c.view && c.timer && c.mailButton && c.attach && c.exportText);
  EXPECT_FALSE(c.send);

  // Addressing: Search and View go, Send needs both addresses.
  MainWindowState addressing = found;
  addressing.wanted = MainPanel::Addressing;
  c = ControlsFor(addressing);
  EXPECT_EQ(c.shown, MainPanel::Addressing);
  EXPECT_FALSE(c.search || c.view || c.send || c.mailButton);
  addressing.toHasAt = true;
  EXPECT_FALSE(ControlsFor(addressing).send);
  addressing.fromHasAt = true;
  c = ControlsFor(addressing);
  EXPECT_TRUE(c.send && c.mailButton);
  addressing.attachmentSelected = true;
  EXPECT_TRUE(ControlsFor(addressing).detach);

  // A running send disables every command and closing, and keeps the panel.
  addressing.busy = true;
  c = ControlsFor(addressing);
  EXPECT_EQ(c.shown, MainPanel::Addressing);
  EXPECT_FALSE(c.openLog || c.exitProgram || c.send || c.mailButton || c.address || c.attach ||
               c.detach || c.search || c.view || c.exportText);
}

} // namespace
} // namespace billpost
