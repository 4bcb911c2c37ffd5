// Message layout and SMTP reply lines, platform-free.
#include "invoice-mailer/core/message-layout.h"
#include "invoice-mailer/core/smtp-reply.h"

#include "invoice-mailer/core/mail-errors.h"

#include <gtest/gtest.h>

using namespace billpost;

namespace {

using Lines = std::vector<std::string>;

TEST(MessageLayout, AddressTextsSplitAtTheFirstBar) {
  SplitAddressResult parts = SplitAddress("jane@example.com |Jane | Doe");
  EXPECT_EQ(parts.address, "jane@example.com");
  EXPECT_EQ(parts.name, "Jane | Doe");
  EXPECT_EQ(SplitAddress("bare@example.com").name, "");
  EXPECT_EQ(SplitAddress("bare@example.com").address, "bare@example.com");
  EXPECT_EQ(SenderDomain("me@mail.example.org |Me"), "mail.example.org");
  EXPECT_EQ(SenderDomain("nobody |No one"), "");
  EXPECT_EQ(SenderDomain(""), "");
}

TEST(MessageLayout, HeaderWithThreeCopiesReceiptAndPriority) {
  MessageHeader header;
  header.from = "me@127.0.0.1 |Sender";
  header.recipient = "you@127.0.0.1 |Recipient";
  header.cc = {"c1@127.0.0.1 |One", "c2@127.0.0.1 |Two", "c3@127.0.0.1 |Three"};
  header.subject = "Invoice 2004";
  header.returnReceipt = true;
  header.priority = ptHigh;
  header.hasAttachments = true;
  header.boundary = "01234567";
  Lines expected = {"From:     Sender<me@127.0.0.1>",
                    "To:       Recipient<you@127.0.0.1>",
                    "CC:       One<c1@127.0.0.1>,",
                    "          Two<c2@127.0.0.1>,",
                    "          Three<c3@127.0.0.1>",
                    "Return-Receipt-To: <me@127.0.0.1>",
                    "X-Priority: 1",
                    "Subject:  Invoice 2004",
                    "Mime-Version: 1.0",
                    "Content-Type: multipart/mixed; boundary=\"01234567\"",
                    "X-Encoding: MIME",
                    "",
                    "This is a multi-part message in MIME format.",
                    "",
                    "--01234567",
                    "Content-Type: text/plain; charset=\"us-ascii\"",
                    "Content-Transfer-Encoding: 7bit"};
  EXPECT_EQ(HeaderLines(header), expected);
}

TEST(MessageLayout, PlainMimeAndUuencodedHeaders) {
  MessageHeader header;
  header.from = "me@x.org";
  header.recipient = "you@y.org";
  header.priority = ptLow;
  Lines plain = {"From:     <me@x.org>",
                 "To:       <you@y.org>",
                 "X-Priority: 5",
                 "Mime-Version: 1.0",
                 "Content-Type: text/plain; charset=\"us-ascii\"",
                 "Content-Transfer-Encoding: 7bit"};
  EXPECT_EQ(HeaderLines(header), plain);
  header.charSet = csISO8859;
  EXPECT_EQ(HeaderLines(header).back(), "Content-Transfer-Encoding: quoted-printable");
  header.encoding = etUU;
  header.hasAttachments = true;
  header.priority = ptNormal;
  Lines uu = {"From:     <me@x.org>", "To:       <you@y.org>", "X-Encoding:      UUENCODE"};
  EXPECT_EQ(HeaderLines(header), uu);
}

TEST(MessageLayout, ValuesCannotAddLines) {
  MessageHeader header;
  header.from = "me@x.org\r\nRCPT TO:<evil@x.org> |Me";
  header.recipient = "you@y.org |You\r\nBcc: evil@x.org";
  header.subject = "Hi\nX-Injected: 1";
  for (const std::string &line : HeaderLines(header))
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
  EXPECT_EQ(HeaderLines(header)[1], "To:       \"You  Bcc: evil@x.org\"<you@y.org>");
}

TEST(MessageLayout, DisplayNamesWithCommasStayOneAddress) {
  EXPECT_EQ(MailboxText("doe@x.org |Doe, John"), "\"Doe, John\"<doe@x.org>");
  EXPECT_EQ(MailboxText("q@x.org |Say \"hi\", \\o/"), "\"Say \\\"hi\\\", \\\\o/\"<q@x.org>");
  EXPECT_EQ(MailboxText("plain@x.org |Plain Name"), "Plain Name<plain@x.org>");
}

TEST(MessageLayout, MimeParts) {
  Lines binary =
      MimePartLines("11223344", "application/octet-stream", "C:\\files\\Data.BIN", {"AAEC"}, false);
  Lines expectedBinary = {"--11223344",
                          "Content-Type: application/octet-stream; name=\"Data.BIN\"",
                          "Content-Transfer-Encoding: base64",
                          "Content-Disposition: attachment; filename=\"Data.BIN\"",
                          "",
                          "AAEC",
                          ""};
  EXPECT_EQ(binary, expectedBinary);
  Lines text = MimePartLines("11223344", "text/html", "/tmp/page.htm", {"<p>=3D</p>"}, true);
  Lines expectedText = {"--11223344",
                        "Content-Type: text/html; name=\"page.htm\"",
                        "Content-Transfer-Encoding: quoted-printable",
                        "",
                        "<p>=3D</p>",
                        "",
                        "--11223344--"};
  EXPECT_EQ(text, expectedText);
  EXPECT_TRUE(IsTextType("TEXT/plain"));
  EXPECT_FALSE(IsTextType("text"));
}

TEST(MessageLayout, UuencodedParts) {
  Lines first = UUPartLines("C:\\Files\\Report.TXT", {"#86)C"}, false);
  Lines expectedFirst = {"begin 600 report.txt", "#86)C", "`", "end", ""};
  EXPECT_EQ(first, expectedFirst);
  EXPECT_EQ(UUPartLines("a.bin", {}, true), (Lines{"begin 600 a.bin", "`", "end"}));
}

TEST(MessageLayout, DotStuffing) {
  EXPECT_EQ(DotStuffed("."), "..");
  EXPECT_EQ(DotStuffed(".x"), "..x");
  EXPECT_EQ(DotStuffed("x."), "x.");
  EXPECT_EQ(DotStuffed(""), "");
}

TEST(SmtpReply, LinesAndTheirEnd) {
  EXPECT_EQ(ReplyLines("250-first\r\n250 second\r\n"), (Lines{"250-first", "250 second"}));
  EXPECT_EQ(ReplyLines("a\nb\rc"), (Lines{"a", "b", "c"}));
  EXPECT_FALSE(IsFinalReplyLine("250-first"));
  EXPECT_TRUE(IsFinalReplyLine("250 second"));
  EXPECT_FALSE(IsFinalReplyLine("250-"));
  // The code alone is a whole reply.
  EXPECT_TRUE(IsFinalReplyLine("250 "));
  EXPECT_TRUE(IsFinalReplyLine("250"));
  EXPECT_FALSE(IsFinalReplyLine("25 "));
  EXPECT_FALSE(IsFinalReplyLine("25"));
  EXPECT_FALSE(IsFinalReplyLine("abc"));
}

TEST(SmtpReply, AcceptedAndRefusedCodes) {
  EXPECT_NO_THROW(CheckReply("250 OK"));
  EXPECT_NO_THROW(CheckReply("220 ready"));
  EXPECT_NO_THROW(CheckReply("354 End data with <CR><LF>.<CR><LF>"));
  struct Case {
    const char *line, *message;
  } refused[] = {{"550 No such user", " No such user"},
                 {"334 VXNlcm5hbWU6", " VXNlcm5hbWU6"},
                 {"421 closing", " closing"},
                 {"500", ""}};
  for (const Case &c : refused) {
    try {
      CheckReply(c.line);
      ADD_FAILURE() << c.line << " was accepted";
    } catch (const EMailError &error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

} // namespace
