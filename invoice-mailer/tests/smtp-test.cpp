// The mail component before it speaks to a server: properties, the
// boundary, and the encoding steps of a send (cancel, a missing
// attachment). The dialogue itself is proved end to end by
// smtp-end-to-end.py.
#include "invoice-mailer/win32/smtp.h"

#include "invoice-mailer/core/mail-errors.h"
#include "invoice-mailer/tests/loopback.h"
#include "platform/components/core/string-list.h"
#include "testing/test-files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

using namespace billpost;

namespace {

// A file of pseudo-random bytes in this test's scratch folder.
std::string scratchBytes(const std::string &name, std::size_t size) {
  std::string bytes(size, '\0');
  unsigned state = 12345;
  for (char &c : bytes)
    c = static_cast<char>((state = state * 1103515245u + 12345u) >> 16);
  std::string path = testing_support::scratchFile("smtp", name);
  testing_support::writeFile(path, bytes);
  return path;
}

components::TStringList listOf(std::initializer_list<std::string> lines) {
  components::TStringList list;
  for (const std::string &line : lines)
    list.Add(line);
  return list;
}

TEST(SMTP, DefaultsAndCharacterSetRules) {
  TSMTP mail(nullptr);
  EXPECT_EQ(mail.TimeOut(), 60);
  EXPECT_EQ(mail.DefaultPort(), 25);
  EXPECT_EQ(mail.Encoding(), etMIME);
  EXPECT_EQ(mail.CharSet(), csUSASCII);
  EXPECT_EQ(mail.Priority(), ptNormal);
  EXPECT_TRUE(mail.UseDomainAddress());
  EXPECT_FALSE(mail.ReturnReceipt());
  mail.SetCharSet(csISO8859);
  EXPECT_EQ(mail.CharSet(), csISO8859);
  mail.SetEncoding(etUU);
  EXPECT_EQ(mail.CharSet(), csUSASCII);
  mail.SetCharSet(csISO8859);
  EXPECT_EQ(mail.CharSet(), csUSASCII) << "a character set is chosen only for MIME";
}

TEST(SMTP, BoundaryIsMadeOnceOfEightDigitsUpToEight) {
  TSMTP mail(nullptr);
  std::string boundary = mail.Boundary();
  ASSERT_EQ(boundary.size(), 8u);
  EXPECT_EQ(boundary.find_first_not_of("012345678"), std::string::npos);
  mail.ResetFlags();
  EXPECT_EQ(mail.Boundary(), boundary);
}

TEST(SMTP, CancelWhileEncodingStopsTheSend) {
  std::string big = scratchBytes("cancel.bin", 2 * 1024 * 1024);
  TSMTP mail(nullptr);
  mail.SetAttachments(listOf({big}));
  std::vector<SmtpStatus> statuses;
  mail.OnStatusChange = [&](components::TObject *) { statuses.push_back(mail.Status()); };
  mail.OnProgress = [&](components::TObject *) {
    if (mail.Status() == SmtpStatus::Encoding && mail.Progress() >= 20)
      mail.Cancel();
  };
  try {
    mail.SendMail();
    FAIL() << "the send went on";
  } catch (const ECanceledError &error) {
    EXPECT_STREQ(error.what(), "Operation has been canceled");
  }
  EXPECT_EQ(mail.Status(), SmtpStatus::Canceled);
  EXPECT_EQ(statuses, (std::vector<SmtpStatus>{SmtpStatus::Encoding, SmtpStatus::Canceled}));
  EXPECT_TRUE(mail.Transcript().Count() == 0) << "nothing was sent";
}

// A cancel that comes through the message queue (a click, a timer) while
// an attachment is encoded reaches the encoder: the queue is looked at
// from the first line on, however seldom later.
TEST(SMTP, CancelFromTheQueueStopsTheEncoder) {
  std::string big = scratchBytes("queued-cancel.bin", 2 * 1024 * 1024);
  for (TEncoding encoding : {etMIME, etUU}) {
    TSMTP mail(nullptr);
    mail.SetEncoding(encoding);
    mail.SetAttachments(listOf({big}));
    // A status handler of its own: the status change itself then leaves
    // the queue alone.
    std::vector<SmtpStatus> statuses;
    mail.OnStatusChange = [&](components::TObject *) { statuses.push_back(mail.Status()); };
    loopback::WindowSpy spy(mail.Handle());
    std::vector<SmtpStatus> cancelledIn;
    spy.PostAction([&] {
      cancelledIn.push_back(mail.Status());
      mail.Cancel();
    });
    EXPECT_THROW(mail.SendMail(), ECanceledError);
    EXPECT_EQ(cancelledIn, std::vector<SmtpStatus>{SmtpStatus::Encoding});
    EXPECT_EQ(statuses, (std::vector<SmtpStatus>{SmtpStatus::Encoding, SmtpStatus::Canceled}));
    EXPECT_EQ(mail.Transcript().Count(), 0) << "nothing was sent";
  }
}

TEST(SMTP, MissingAttachmentFailsTheSend) {
  std::string present = scratchBytes("present.bin", 10);
  for (TEncoding encoding : {etMIME, etUU}) {
    TSMTP mail(nullptr);
    mail.SetEncoding(encoding);
    mail.SetAttachments(listOf({present, "C:\\no\\such\\folder\\missing.pdf"}));
    try {
      mail.SendMail();
      FAIL() << "a message without its attachment went on";
    } catch (const EMailError &error) {
      std::string message = error.what();
      EXPECT_EQ(message.find("The attachment(s) could not be encoded: "), 0u) << message;
      EXPECT_NE(message.find("missing.pdf"), std::string::npos) << message;
    }
  }
}

} // namespace
