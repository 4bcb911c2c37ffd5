// Message layout: header lines padded to the ten-character label column,
// MIME and uuencoded attachment parts.
#include "invoice-mailer/core/message-layout.h"

#include "invoice-mailer/core/encoded-words.h"

#include <algorithm>
#include <cctype>

namespace billpost {

namespace {
const std::string labelIndent(10, ' ');

std::string quoted(const std::string &text) { return "\"" + text + "\""; }

// The file name without its folder (either separator).
std::string baseName(const std::string &path) {
  std::size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool needsQuoting(const std::string &name) {
  return name.find_first_of("()<>[]:;@\\,.\"") != std::string::npos;
}
} // namespace

SplitAddressResult SplitAddress(const std::string &text) {
  std::size_t bar = text.find('|');
  std::string address = text.substr(0, bar);
  while (!address.empty() && address.back() == ' ')
    address.pop_back();
  std::string name = bar == std::string::npos ? std::string() : text.substr(bar + 1);
  return {OneLine(address), OneLine(name)};
}

std::string SenderDomain(const std::string &from) {
  std::string address = SplitAddress(from).address;
  std::size_t at = address.find('@');
  return at == std::string::npos ? std::string() : address.substr(at + 1);
}

std::string OneLine(const std::string &value) {
  std::string line = value;
  std::replace(line.begin(), line.end(), '\r', ' ');
  std::replace(line.begin(), line.end(), '\n', ' ');
  return line;
}

const char *const HeaderCharset = "iso-8859-1";

bool BodyNeedsQuotedPrintable(const std::vector<std::string> &lines) {
  for (const std::string &line : lines)
    if (line.size() > MaxMessageLine || HasEightBit(line))
      return true;
  return false;
}

TCharSet BodyCharSet(TCharSet asked, const std::vector<std::string> &lines) {
  if (asked == csISO8859)
    return asked;
  for (const std::string &line : lines)
    if (HasEightBit(line))
      return csISO8859;
  return asked;
}

std::string MailboxText(const std::string &addressText) {
  SplitAddressResult parts = SplitAddress(addressText);
  std::string name = parts.name;
  if (HasEightBit(name)) {
    std::string words;
    for (const std::string &word : EncodedPhrase(name, HeaderCharset))
      words += (words.empty() ? "" : " ") + word;
    name = words + " ";
  } else if (needsQuoting(name)) {
    std::string escaped;
    for (char c : name) {
      if (c == '"' || c == '\\')
        escaped += '\\';
      escaped += c;
    }
    name = quoted(escaped);
  }
  return name + "<" + parts.address + ">";
}

std::vector<std::string> HeaderLines(const MessageHeader &header) {
  std::vector<std::string> lines;
  if (!header.date.empty())
    lines.push_back("Date: " + OneLine(header.date));
  if (!header.messageId.empty())
    lines.push_back("Message-ID: " + OneLine(header.messageId));
  lines.push_back("From:     " + MailboxText(header.from));
  lines.push_back("To:       " + MailboxText(header.recipient));
  for (std::size_t i = 0; i < header.cc.size(); ++i) {
    std::string line = (i == 0 ? "CC:       " : labelIndent) + MailboxText(header.cc[i]);
    if (i + 1 < header.cc.size())
      line += ",";
    lines.push_back(line);
  }
  if (header.returnReceipt)
    lines.push_back("Return-Receipt-To: <" + SplitAddress(header.from).address + ">");
  if (header.priority == ptLow)
    lines.push_back("X-Priority: 5");
  if (header.priority == ptHigh)
    lines.push_back("X-Priority: 1");
  std::string subject = OneLine(header.subject);
  if (HasEightBit(subject)) {
    // The first word shares its line with the label; no line passes 78.
    std::vector<std::string> words = EncodedWords(subject, HeaderCharset, 78 - 10);
    for (std::size_t i = 0; i < words.size(); ++i)
      lines.push_back((i == 0 ? "Subject:  " : " ") + words[i]);
  } else if (!subject.empty()) {
    lines.push_back("Subject:  " + subject);
  }
  if (header.encoding == etUU) {
    if (header.hasAttachments)
      lines.push_back("X-Encoding:      UUENCODE");
    return lines;
  }
  lines.push_back("Mime-Version: 1.0");
  if (header.hasAttachments) {
    lines.push_back("Content-Type: multipart/mixed; boundary=" + quoted(header.boundary));
    lines.push_back("X-Encoding: MIME");
    lines.push_back("");
    lines.push_back("This is a multi-part message in MIME format.");
    lines.push_back("");
    lines.push_back("--" + header.boundary);
  }
  bool iso = header.charSet == csISO8859;
  lines.push_back("Content-Type: text/plain; charset=" + quoted(iso ? "iso-8859-1" : "us-ascii"));
  lines.push_back(iso || header.quotedPrintableBody ? "Content-Transfer-Encoding: quoted-printable"
                                                    : "Content-Transfer-Encoding: 7bit");
  return lines;
}

bool IsTextType(const std::string &contentType) {
  std::string head = contentType.substr(0, 5);
  std::transform(head.begin(), head.end(), head.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return head == "TEXT/";
}

std::vector<std::string> MimePartLines(const std::string &boundary, const std::string &contentType,
                                       const std::string &fileName,
                                       const std::vector<std::string> &encoded, bool last) {
  std::string name = OneLine(baseName(fileName));
  std::vector<std::string> lines;
  lines.push_back("--" + boundary);
  lines.push_back("Content-Type: " + OneLine(contentType) + "; name=" + quoted(name));
  if (IsTextType(contentType)) {
    lines.push_back("Content-Transfer-Encoding: quoted-printable");
  } else {
    lines.push_back("Content-Transfer-Encoding: base64");
    lines.push_back("Content-Disposition: attachment; filename=" + quoted(name));
  }
  lines.push_back("");
  lines.insert(lines.end(), encoded.begin(), encoded.end());
  // The line end before a boundary belongs to the boundary, so one empty
  // line ends the data: the sender writes it before the next part, and it
  // is written here before the closing boundary. A second one would add a
  // line end to a quoted-printable part's data.
  if (last) {
    lines.push_back("");
    lines.push_back("--" + boundary + "--");
  }
  return lines;
}

std::vector<std::string> UUPartLines(const std::string &fileName,
                                     const std::vector<std::string> &encoded, bool last) {
  std::string name = OneLine(baseName(fileName));
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  std::vector<std::string> lines;
  lines.push_back("begin 600 " + name);
  lines.insert(lines.end(), encoded.begin(), encoded.end());
  lines.push_back("`");
  lines.push_back("end");
  if (!last)
    lines.push_back("");
  return lines;
}

} // namespace billpost
