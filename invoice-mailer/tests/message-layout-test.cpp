// Message layout and SMTP reply lines, platform-free.
#include "invoice-mailer/core/message-layout.h"
#include "invoice-mailer/core/smtp-data.h"
#include "invoice-mailer/core/smtp-reply.h"
#include "invoice-mailer/core/encoded-words.h"
#include "invoice-mailer/core/smtp-greeting.h"
#include "invoice-mailer/core/origination.h"

#include "invoice-mailer/core/mail-errors.h"

#include <gtest/gtest.h>

#include <random>

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

TEST(MessageLayout, EightBitHeaderTextGoesAsEncodedWords) {
  EXPECT_EQ(MailboxText("rene@x.org |Ren\xE9 M\xFCller"),
            "=?iso-8859-1?Q?Ren=E9_M=FCller?= <rene@x.org>");
  // Specials of a display name are escaped inside the word, not quoted.
  EXPECT_EQ(MailboxText("d@x.org |D\xF6"
                        "e, \"J\""),
            "=?iso-8859-1?Q?D=F6e=2C_=22J=22?= <d@x.org>");
  MessageHeader header;
  header.from = "me@x.org";
  header.recipient = "you@y.org";
  header.subject = "Rechnung f\xFCr Juli " + std::string(40, '\xE4');
  Lines lines = HeaderLines(header);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[2].rfind("Subject:  =?iso-8859-1?Q?Rechnung_f=FCr_Juli_", 0), 0u) << lines[2];
  // Folded: each further word on a continuation line; no line passes 78.
  std::size_t words = 0;
  for (const std::string &line : lines) {
    EXPECT_LE(line.size(), 78u) << line;
    EXPECT_FALSE(HasEightBit(line)) << line;
    if (line.rfind(" =?iso-8859-1?Q?", 0) == 0)
      ++words;
  }
  EXPECT_GE(words, 1u);
  // ASCII header text stays as it is.
  header.subject = "Invoice 07-2004";
  EXPECT_EQ(HeaderLines(header)[2], "Subject:  Invoice 07-2004");
}

TEST(MessageLayout, EncodedWordsKeepTo75Characters) {
  for (const std::string &text : {std::string(100, '\xE9'), std::string(200, 'a'), std::string()}) {
    std::vector<std::string> words = EncodedWords(text, "iso-8859-1");
    ASSERT_FALSE(words.empty());
    for (const std::string &word : words) {
      EXPECT_LE(word.size(), 75u) << word;
      EXPECT_EQ(word.rfind("=?iso-8859-1?Q?", 0), 0u) << word;
      EXPECT_EQ(word.substr(word.size() - 2), "?=");
    }
  }
}

TEST(MessageLayout, LongEightBitNamesGoAsBase64Words) {
  std::vector<std::string> words = EncodedPhrase(std::string(44, '\xE9'), "iso-8859-1");
  ASSERT_EQ(words.size(), 2u);
  std::string full;
  for (int i = 0; i < 14; ++i)
    full += "6enp"; // base64 of three e acute
  EXPECT_EQ(words[0], "=?iso-8859-1?B?" + full + "?=");
  EXPECT_EQ(words[1], "=?iso-8859-1?B?6ek=?=");
  EXPECT_LE(words[0].size(), 75u);
  EXPECT_EQ(EncodedPhrase("Ren\xE9", "iso-8859-1"),
            std::vector<std::string>{"=?iso-8859-1?Q?Ren=E9?="});
}

TEST(MessageLayout, BodiesThatCannotGoAs7bit) {
  struct Case {
    Lines body;
    bool quotedPrintable;
  } cases[] = {
      {{"plain", "", std::string(998, 'x')}, false},
      {{"plain", std::string(999, 'x')}, true},
      {{std::string(5000, 'x')}, true},
      {{"Caf\xE9"}, true},
      {{}, false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(BodyNeedsQuotedPrintable(c.body), c.quotedPrintable) << c.body.back().size();
  MessageHeader header;
  header.quotedPrintableBody = true;
  Lines lines = HeaderLines(header);
  EXPECT_EQ(lines[lines.size() - 2], "Content-Type: text/plain; charset=\"us-ascii\"");
  EXPECT_EQ(lines.back(), "Content-Transfer-Encoding: quoted-printable");
}

// A body with 8-bit characters never goes declared as us-ascii; a 7-bit
// body stays as it is asked for.
TEST(MessageLayout, BodyCharsetAndTransferEncoding) {
  struct Case {
    TCharSet asked;
    Lines body;
    TCharSet charSet;
    const char *contentType, *transfer;
  } cases[] = {
      {csUSASCII, {"Total Due: 12.50"}, csUSASCII, "us-ascii", "7bit"},
      {csUSASCII,
       {"Caf\xE9 M\xFCller GmbH", "Gr\xF6\xDF"
                                  "e"},
       csISO8859,
       "iso-8859-1",
       "quoted-printable"},
      {csUSASCII, {"plain", "\xA0"}, csISO8859, "iso-8859-1", "quoted-printable"},
      {csISO8859, {"plain"}, csISO8859, "iso-8859-1", "quoted-printable"},
      {csUSASCII, {}, csUSASCII, "us-ascii", "7bit"},
  };
  for (const Case &c : cases) {
    MessageHeader header;
    header.charSet = BodyCharSet(c.asked, c.body);
    EXPECT_EQ(header.charSet, c.charSet) << c.contentType;
    header.quotedPrintableBody = header.charSet == csUSASCII && BodyNeedsQuotedPrintable(c.body);
    Lines lines = HeaderLines(header);
    EXPECT_EQ(lines[lines.size() - 2],
              "Content-Type: text/plain; charset=\"" + std::string(c.contentType) + "\"");
    EXPECT_EQ(lines.back(), "Content-Transfer-Encoding: " + std::string(c.transfer));
  }
}

TEST(MessageLayout, DateAndMessageIdComeFirst) {
  MessageHeader header;
  header.date = "Thu, 10 Dec 2026 14:37:02 +0100";
  header.messageId = "<1.2.3@example.com>";
  header.from = "me@example.com";
  header.recipient = "you@example.com";
  Lines lines = HeaderLines(header);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Date: Thu, 10 Dec 2026 14:37:02 +0100");
  EXPECT_EQ(lines[1], "Message-ID: <1.2.3@example.com>");
  EXPECT_EQ(lines[2], "From:     <me@example.com>");
}

TEST(Origination, DatesInTheMessageFormat) {
  struct Case {
    CivilTime time;
    int offset;
    const char *text;
  } cases[] = {
      {{2026, 12, 10, 14, 37, 2, 4}, 60, "Thu, 10 Dec 2026 14:37:02 +0100"},
      {{1998, 3, 1, 0, 0, 0, 0}, 0, "Sun, 1 Mar 1998 00:00:00 +0000"},
      {{2004, 7, 31, 23, 59, 59, 6}, -210, "Sat, 31 Jul 2004 23:59:59 -0330"},
      {{2000, 1, 3, 9, 5, 7, 1}, 345, "Mon, 3 Jan 2000 09:05:07 +0545"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(DateText(c.time, c.offset), c.text);
}

TEST(Origination, MessageIdsCarryAUsableDomain) {
  struct Case {
    const char *sender, *host, *domain;
  } cases[] = {
      {"example.com", "desk", "example.com"},
      {"[127.0.0.1]", "desk", "[127.0.0.1]"},
      {"", "desk", "desk"},
      {"exa mple.com", "desk.local", "desk.local"},
      {"a..b", "", "localhost"},
      {"", "Desk\xE9", "localhost"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(MessageIdDomain(c.sender, c.host), c.domain) << c.sender << " " << c.host;
  EXPECT_EQ(MessageIdText(0x1dc69f0a3b2c100ull, 0x1f4, 1, "example.com"),
            "<1dc69f0a3b2c100.1f4.1@example.com>");
  EXPECT_NE(MessageIdText(5, 7, 1, "x"), MessageIdText(5, 7, 2, "x"));
}

TEST(SmtpGreeting, HeloIsNeverEmpty) {
  struct Case {
    bool useDomain;
    const char *domain, *host, *address, *expected;
  } cases[] = {
      {true, "billing.example.com", "desk-7", "10.0.0.5", "billing.example.com"},
      {true, "", "desk-7", "10.0.0.5", "desk-7"},
      {false, "billing.example.com", "desk-7", "10.0.0.5", "desk-7"},
      {false, "", "", "10.0.0.5", "[10.0.0.5]"},
      // A Windows machine name that is no host name.
      {true, "", "DESK_7", "10.0.0.5", "[10.0.0.5]"},
      {true, "", "my desk", "", "[127.0.0.1]"},
      {true, "[127.0.0.1]", "desk-7", "10.0.0.5", "[127.0.0.1]"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(HeloArgument(c.useDomain, c.domain, c.host, c.address), c.expected)
        << c.domain << "|" << c.host;
}

TEST(SmtpGreeting, AddressLiteralServersLoseTheirBrackets) {
  EXPECT_EQ(ServerHost("[127.0.0.1]"), "127.0.0.1");
  EXPECT_EQ(ServerHost("mail.example.com"), "mail.example.com");
  EXPECT_EQ(ServerHost("127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(ServerHost("["), "[");
  EXPECT_EQ(ServerHost(""), "");
}

TEST(MessageLayout, MimeParts) {
  Lines binary =
      MimePartLines("11223344", "application/octet-stream", "C:\\files\\Data.BIN", {"AAEC"}, false);
  Lines expectedBinary = {"--11223344",
                          "Content-Type: application/octet-stream; name=\"Data.BIN\"",
                          "Content-Transfer-Encoding: base64",
                          "Content-Disposition: attachment; filename=\"Data.BIN\"",
                          "",
                          "AAEC"};
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

TEST(SmtpData, LineBreaksInsideALineBecomeLines) {
  struct Case {
    Lines text, lines;
  } cases[] = {
      {{"one", "", "two"}, {"one", "", "two"}},
      {{"a\r\n.\r\nb"}, {"a", ".", "b"}},
      {{"a\nb\rc"}, {"a", "b", "c"}},
      {{"a\r\rb"}, {"a", "", "b"}},
      {{"end\r\n"}, {"end"}},
      {{"\n."}, {"", "."}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SplitLineBreaks(c.text), c.lines) << c.text[0];
  EXPECT_EQ(DataLine(".\r\n."), "..  .");
  EXPECT_EQ(DataLine("a\rb"), "a b");
}

// Whatever the text, the data on the wire ends only at the closing ".",
// and a reader that takes one "." off each line that starts with one (as
// servers do) gets the text's lines back.
TEST(SmtpData, NoTextEndsTheDataEarly) {
  std::mt19937 random(31);
  const std::string pieces[] = {".", "..", "\r", "\n", "\r\n", "x", " ", ".\r\n."};
  for (int round = 0; round < 2000; ++round) {
    Lines text(1 + random() % 4);
    for (std::string &line : text)
      for (unsigned n = random() % 6; n > 0; --n)
        line += pieces[random() % 8];
    Lines lines = SplitLineBreaks(text);
    std::string wire;
    for (const std::string &line : lines)
      wire += DataLine(line) + "\r\n";
    wire += ".\r\n";
    std::string framed = "\r\n" + wire;
    ASSERT_EQ(framed.find("\r\n.\r\n"), framed.size() - 5) << wire;
    Lines read;
    std::size_t start = 0;
    for (std::size_t end; (end = wire.find("\r\n", start)) != wire.size() - 2; start = end + 2) {
      std::string line = wire.substr(start, end - start);
      ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos);
      read.push_back(line[0] == '.' ? line.substr(1) : line);
    }
    ASSERT_EQ(read, lines) << wire;
  }
}

TEST(SmtpData, ProgressAtEachLine) {
  struct Case {
    std::size_t index, count;
    int percent;
  } cases[] = {{0, 0, 0},  {0, 1, 0},  {0, 2, 0},  {1, 2, 100}, {1, 3, 50},
               {1, 8, 14}, {1, 9, 12}, {3, 9, 38}, {8, 9, 100}};
  for (const Case &c : cases)
    EXPECT_EQ(DataProgress(c.index, c.count), c.percent) << c.index << " of " << c.count;
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

// Replies as the socket may hand them over: split anywhere, several lines
// in one chunk, the code alone; refusals end the reply at once.
TEST(SmtpReply, CollectedChunkByChunk) {
  using State = ReplyCollector::TState;
  struct Case {
    std::vector<std::string> chunks;
    std::vector<State> states;
    Lines lines;
    std::string refusal;
  } cases[] = {
      {{"22", "0 fake", " ready\r\n"},
       {ReplyCollector::rsIncomplete, ReplyCollector::rsIncomplete, ReplyCollector::rsAccepted},
       {"220 fake ready"},
       ""},
      {{"250-fake greets\r\n250-SIZE 1000\r\n", "250 HELP\r\n"},
       {ReplyCollector::rsIncomplete, ReplyCollector::rsAccepted},
       {"250-fake greets", "250-SIZE 1000", "250 HELP"},
       ""},
      {{"250\r\n"}, {ReplyCollector::rsAccepted}, {"250"}, ""},
      {{"221 \r\n"}, {ReplyCollector::rsAccepted}, {"221 "}, ""},
      {{"250-\r\n", "250 ok\n"},
       {ReplyCollector::rsIncomplete, ReplyCollector::rsAccepted},
       {"250-", "250 ok"},
       ""},
      {{"35", "4 go ahead\r\n"},
       {ReplyCollector::rsIncomplete, ReplyCollector::rsAccepted},
       {"354 go ahead"},
       ""},
      {{"550 5.1.1 <nobody@localhost>: User unknown\r\n"},
       {ReplyCollector::rsRefused},
       {"550 5.1.1 <nobody@localhost>: User unknown"},
       " 5.1.1 <nobody@localhost>: User unknown"},
      {{"451-first\r\n"}, {ReplyCollector::rsRefused}, {"451-first"}, "-first"},
  };
  for (const Case &c : cases) {
    ReplyCollector reply;
    std::vector<State> states;
    for (const std::string &chunk : c.chunks)
      states.push_back(reply.Add(chunk));
    EXPECT_EQ(states, c.states) << c.chunks[0];
    EXPECT_EQ(reply.Lines(), c.lines) << c.chunks[0];
    EXPECT_EQ(reply.RefusalText(), c.refusal) << c.chunks[0];
  }
}

TEST(SmtpReply, EndlessReplyIsTooLong) {
  ReplyCollector reply;
  std::string line = "250-" + std::string(1000, 'x') + "\r\n";
  ReplyCollector::TState state = ReplyCollector::rsIncomplete;
  int chunks = 0;
  while (state == ReplyCollector::rsIncomplete && chunks < 100) {
    state = reply.Add(line);
    ++chunks;
  }
  EXPECT_EQ(state, ReplyCollector::rsTooLong);
  EXPECT_EQ(chunks, static_cast<int>(ReplyCollector::MaxReplyBytes / line.size()) + 1);
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
