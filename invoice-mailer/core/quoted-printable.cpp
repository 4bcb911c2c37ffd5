// Quoted-printable paragraphs and their wrapping.
//
// Line ends: CR, LF or the pair CR LF end a paragraph. Only that pair is
// taken as one line end, so that the empty lines of LF-only text survive
// (LF LF is two line ends). A line end that is the last byte of the source
// stays in the paragraph as data.
//
// Wrapping: a paragraph longer than 65 characters is cut before the last
// blank within its first 66 characters (the blank begins the next line),
// or after 65 characters when there is none. A blank at the very start of
// the rest cannot end a line (the line would be empty and the wrap would
// never advance), so the search stops above it. A rest of 65 characters or
// fewer is the last line: a soft break at the end of a paragraph would join
// it with the next one when decoded.
#include "invoice-mailer/core/quoted-printable.h"

#include "invoice-mailer/core/mail-errors.h"
#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"

namespace billpost {

namespace {

bool isLineEnd(std::uint8_t c) { return c == '\r' || c == '\n'; }

} // namespace

std::string TQuotedPrintable::EscapeLine(const std::string &line) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(line.size());
  for (char ch : line) {
    auto c = static_cast<unsigned char>(ch);
    if (c < 32 || c == '=' || c >= 128) {
      out += '=';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

std::vector<std::string> TQuotedPrintable::WrapParagraph(const std::string &paragraph) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < paragraph.size()) {
    std::size_t left = paragraph.size() - start;
    if (left <= WrapWidth) {
      lines.push_back(EscapeLine(paragraph.substr(start)));
      break;
    }
    std::size_t cut = start + WrapWidth; // the character 65 places ahead
    while (cut > start && paragraph[cut] != ' ')
      --cut;
    std::size_t next = cut > start ? cut : start + WrapWidth;
    lines.push_back(EscapeLine(paragraph.substr(start, next - start)) + "=");
    start = next;
  }
  return lines;
}

std::string TQuotedPrintable::readParagraph(bool &atEnd) {
  std::string paragraph;
  const std::int64_t size = source_.Size();
  std::uint8_t c = 0;
  while (source_.Read(&c, 1) == 1) {
    processMessages();
    bool lastByte = source_.Position() >= size;
    if (lastByte || !isLineEnd(c)) {
      if (paragraph.size() >= MaxParagraph)
        throw EMIMEError("Paragraph is too large");
      paragraph += static_cast<char>(c);
      if (lastByte)
        break;
      continue;
    }
    // A CR directly followed by LF is one line end; anything else is given back.
    std::uint8_t next = 0;
    if (c == '\r' && source_.Read(&next, 1) == 1 && next != '\n')
      source_.Seek(-1, components::TSeekOrigin::soCurrent);
    break;
  }
  atEnd = source_.Position() >= size;
  return paragraph;
}

void TQuotedPrintable::Encode() {
  output_.Clear();
  Stop = false;
  bool atEnd = false;
  do {
    std::vector<std::string> lines = WrapParagraph(readParagraph(atEnd));
    if (lines.empty())
      output_.Add("");
    for (std::string &line : lines)
      output_.Add(std::move(line));
  } while (!atEnd && !Stop);
}

} // namespace billpost
