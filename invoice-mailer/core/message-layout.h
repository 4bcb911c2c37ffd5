// The layout of a message as the mail client sends it: address texts, the
// header lines, and the lines of each attachment part in the MIME and the
// uuencoded layouts. Every line returned is free of CR and LF, so no value
// can add a line to the protocol.
#ifndef BILLPOST_MESSAGE_LAYOUT_H
#define BILLPOST_MESSAGE_LAYOUT_H

#include <string>
#include <vector>

namespace billpost {

enum TEncoding { etUU, etMIME };
enum TCharSet { csUSASCII, csISO8859 };
enum TPriority { ptLow, ptNormal, ptHigh };

// An address text: address, "|", display name. The address is the text
// before the first "|" without trailing blanks; the name is the rest.
struct SplitAddressResult {
  std::string address;
  std::string name;
};
SplitAddressResult SplitAddress(const std::string &text);

// The text after the first "@" of the address part; empty without one.
std::string SenderDomain(const std::string &from);

// A header or command value on one line: CR and LF become blanks.
std::string OneLine(const std::string &value);

// name + "<" + address + ">", the name quoted when it holds characters
// that would otherwise split it or make it an address (a comma, say), and
// written as encoded words when it holds 8-bit characters.
std::string MailboxText(const std::string &addressText);

// The charset of 8-bit header text: the program's text is Latin-1.
extern const char *const HeaderCharset;

// The longest line the message format allows, without its CR LF.
constexpr std::size_t MaxMessageLine = 998;

// True when body lines cannot go as they are under a 7bit declaration: a
// line longer than the limit, or a byte from 128 up.
bool BodyNeedsQuotedPrintable(const std::vector<std::string> &lines);

// The charset a body goes in: the one asked for, except that a body with
// 8-bit characters asked for as us-ascii goes as iso-8859-1, the charset of
// the program's text, since us-ascii has no such characters and readers
// would show each as a replacement mark.
TCharSet BodyCharSet(TCharSet asked, const std::vector<std::string> &lines);

struct MessageHeader {
  std::string date;      // DateText; no line when empty
  std::string messageId; // MessageIdText; no line when empty
  std::string from;
  std::string recipient;
  std::vector<std::string> cc;
  std::string subject;
  bool returnReceipt = false;
  TPriority priority = ptNormal;
  TEncoding encoding = etMIME;
  TCharSet charSet = csUSASCII; // the body's, as BodyCharSet answers it
  // A us-ascii body that must go quoted-printable (BodyNeedsQuotedPrintable).
  bool quotedPrintableBody = false;
  bool hasAttachments = false;
  std::string boundary;
};

// The header lines, in order; blind copies are never among them. A subject
// with 8-bit characters goes as encoded words, folded onto continuation
// lines.
std::vector<std::string> HeaderLines(const MessageHeader &header);

// The lines of one MIME attachment part; a type beginning "text/" (any
// case) goes as quoted-printable, any other as base64. The last part
// closes the multipart after an empty line; the sender writes an empty line
// before each part.
std::vector<std::string> MimePartLines(const std::string &boundary, const std::string &contentType,
                                       const std::string &fileName,
                                       const std::vector<std::string> &encoded, bool last);
bool IsTextType(const std::string &contentType);

// The lines of one uuencoded attachment; all but the last end with an
// empty line.
std::vector<std::string> UUPartLines(const std::string &fileName,
                                     const std::vector<std::string> &encoded, bool last);

} // namespace billpost

#endif
