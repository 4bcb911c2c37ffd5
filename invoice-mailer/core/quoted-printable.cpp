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

namespace {

// Hands out the source byte by byte but reads it a block at a time: an
// unbuffered file stream would otherwise cost one system call per byte
// (tens of seconds for a 10 MiB text). It keeps the position a byte-wise
// reader would have and leaves the stream there.
class ReadAhead {
public:
  explicit ReadAhead(components::TStream &stream)
      : stream_(stream), position_(stream.Position()), size_(stream.Size()) {}
  ~ReadAhead() { stream_.SetPosition(position_); }
  ReadAhead(const ReadAhead &) = delete;
  ReadAhead &operator=(const ReadAhead &) = delete;

  bool peek(std::uint8_t &c) {
    if (at_ == length_ && !fill())
      return false;
    c = buffer_[at_];
    return true;
  }
  bool next(std::uint8_t &c) {
    if (!peek(c))
      return false;
    ++at_;
    ++position_;
    return true;
  }
  bool atEnd() const { return position_ >= size_; }

private:
  bool fill() {
    length_ = stream_.Read(buffer_, sizeof buffer_);
    at_ = 0;
    return length_ > 0;
  }

  components::TStream &stream_;
  std::int64_t position_;
  std::int64_t size_;
  std::uint8_t buffer_[8192];
  std::size_t at_ = 0;
  std::size_t length_ = 0;
};

// Reads one paragraph, letting the application process its messages after
// every byte.
std::string readParagraph(ReadAhead &source, const EncoderControl &control) {
  std::string paragraph;
  std::uint8_t c = 0;
  while (source.next(c)) {
    control.processMessages();
    bool lastByte = source.atEnd();
    if (lastByte || !isLineEnd(c)) {
      if (paragraph.size() >= TQuotedPrintable::MaxParagraph)
        throw EMIMEError("Paragraph is too large");
      paragraph += static_cast<char>(c);
      if (lastByte)
        break;
      continue;
    }
    // A CR directly followed by LF is one line end; anything else stays.
    std::uint8_t next = 0;
    if (c == '\r' && source.peek(next) && next == '\n')
      source.next(next);
    break;
  }
  return paragraph;
}

} // namespace

void TQuotedPrintable::Encode() {
  output_.Clear();
  Stop = false;
  ReadAhead source(source_);
  do {
    std::vector<std::string> lines = WrapParagraph(readParagraph(source, *this));
    if (lines.empty())
      output_.Add("");
    for (std::string &line : lines)
      output_.Add(std::move(line));
  } while (!source.atEnd() && !Stop);
}

} // namespace billpost
