// Quoted-printable paragraphs and their wrapping.
//
// Wrapping: a paragraph is cut into lines of at most 65 source characters
// whose escaped text, with the soft break "=", takes at most 76
// characters. Within that reach the line is cut before its last blank (the
// blank begins the next line), or at the reach when there is none. A blank
// at the very start of the rest cannot end a line (the line would be empty
// and the wrap would never advance), so the search stops above it.
//
// Paragraphs of an attachment: the bytes up to and including a line end
// (CR LF, CR or LF). The line end is data like any other byte, so the
// decoded text is the source whatever a decoder makes of hard breaks, and
// a source that ends without a line end gains none.
#include "invoice-mailer/core/quoted-printable.h"

#include "invoice-mailer/core/mail-errors.h"
#include "platform/components/core/stream.h"
#include "invoice-mailer/core/read-ahead-stream.h"
#include "platform/components/core/string-list.h"

namespace billpost {

namespace {

bool isLineEnd(std::uint8_t c) { return c == '\r' || c == '\n'; }

bool mustEscape(unsigned char c) { return c < 32 || c == '=' || c >= 127; }

void appendEscaped(std::string &out, unsigned char c) {
  static const char hex[] = "0123456789ABCDEF";
  out += '=';
  out += hex[c >> 4];
  out += hex[c & 15];
}

std::size_t escapedWidth(unsigned char c) { return mustEscape(c) ? 3 : 1; }

// The escaped text of paragraph[begin, end); a blank at its end is escaped
// when the line ends with a hard break.
std::string escaped(const std::string &paragraph, std::size_t begin, std::size_t end,
                    bool hardBreak) {
  std::string out;
  out.reserve((end - begin) * 3);
  for (std::size_t i = begin; i < end; ++i) {
    auto c = static_cast<unsigned char>(paragraph[i]);
    if (mustEscape(c) || (hardBreak && i + 1 == end && c == ' '))
      appendEscaped(out, c);
    else
      out += static_cast<char>(c);
  }
  return out;
}

} // namespace

std::vector<std::string> TQuotedPrintable::WrapParagraph(const std::string &paragraph,
                                                         TLastBreak lastBreak) {
  // Room for the escaped text of a line followed by the soft break.
  constexpr std::size_t softRoom = MaxLineLength - 1;
  std::vector<std::string> lines;
  std::size_t start = 0;
  const std::size_t size = paragraph.size();
  while (start < size) {
    // The reach: as many characters as fit both limits.
    std::size_t reach = start;
    std::size_t width = 0;
    while (reach < size && reach - start < WrapWidth &&
           width + escapedWidth(static_cast<unsigned char>(paragraph[reach])) <= softRoom) {
      width += escapedWidth(static_cast<unsigned char>(paragraph[reach]));
      ++reach;
    }
    if (reach == size) {
      // The rest fits: the paragraph's last line.
      bool hard = lastBreak == lbHard;
      std::string line = escaped(paragraph, start, size, hard);
      if (line.size() + (hard ? 0 : 1) <= MaxLineLength) {
        lines.push_back(hard ? line : line + "=");
        break;
      }
      // An escaped blank at the end would pass the limit: leave it to a
      // line of its own.
      --reach;
    }
    std::size_t cut = reach;
    while (cut > start && paragraph[cut] != ' ')
      --cut;
    std::size_t next = cut > start ? cut : reach;
    lines.push_back(escaped(paragraph, start, next, false) + "=");
    start = next;
  }
  return lines;
}

std::vector<std::string> TQuotedPrintable::EncodeLines(const std::vector<std::string> &lines) {
  std::vector<std::string> encoded;
  for (const std::string &line : lines) {
    if (line.empty()) {
      encoded.emplace_back();
      continue;
    }
    for (std::string &piece : WrapParagraph(line, lbHard))
      encoded.push_back(std::move(piece));
  }
  return encoded;
}

namespace {

// Hands out the source byte by byte with one byte of look-ahead, so that a
// lone CR can be told from the pair CR LF.
class ByteReader {
public:
  explicit ByteReader(components::TStream &source) : source_(source) {}

  bool next(std::uint8_t &c) {
    if (pending_ >= 0) {
      c = static_cast<std::uint8_t>(pending_);
      pending_ = -1;
      return true;
    }
    return source_.Read(&c, 1) == 1;
  }
  void giveBack(std::uint8_t c) { pending_ = c; }

private:
  ReadAheadStream source_;
  int pending_ = -1;
};

// Reads one paragraph with its line end, letting the application process
// its messages after every byte.
std::string readParagraph(ByteReader &source, const EncoderControl &control) {
  std::string paragraph;
  std::uint8_t c = 0;
  std::size_t textBytes = 0;
  while (source.next(c)) {
    control.processMessages();
    paragraph += static_cast<char>(c);
    if (isLineEnd(c)) {
      std::uint8_t following = 0;
      if (c == '\r' && source.next(following)) {
        if (following == '\n')
          paragraph += '\n';
        else
          source.giveBack(following);
      }
      break;
    }
    if (++textBytes > TQuotedPrintable::MaxParagraph)
      throw EMIMEError("Paragraph is too large");
  }
  return paragraph;
}

} // namespace

void TQuotedPrintable::Encode() {
  output_.Clear();
  Stop = false;
  ByteReader source(source_);
  while (!Stop) {
    std::string paragraph = readParagraph(source, *this);
    if (paragraph.empty())
      break;
    for (std::string &line : WrapParagraph(paragraph, lbSoft))
      output_.Add(std::move(line));
  }
}

} // namespace billpost
