// The buffer parser: the flat walk over a caller's fixed-size buffer.
#include "spelling/core/buffer-parser.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace spelling {

namespace {

std::size_t boundedLength(const char *buffer, std::size_t capacity) {
  const void *terminator = std::memchr(buffer, '\0', capacity);
  if (!terminator)
    return capacity;
  return static_cast<std::size_t>(static_cast<const char *>(terminator) - buffer);
}

} // namespace

TBufferParser::TBufferParser(char *buffer, std::size_t capacity)
    : TParser(0), buffer_(buffer), capacity_(buffer ? capacity : 0),
      textLength_(buffer ? boundedLength(buffer, capacity) : 0) {
  // Positions are ints; a text longer than they reach is walked in part.
  if (textLength_ > static_cast<std::size_t>(std::numeric_limits<int>::max() / 2))
    textLength_ = std::numeric_limits<int>::max() / 2;
  setRangeEnd(static_cast<int>(textLength_) - 1);
}

void TBufferParser::NextWord(std::string &word) { nextFlatWord(word); }

void TBufferParser::ReplaceWord(const std::string &text) {
  replaceText(position_, length_, text);
  TParser::ReplaceWord(text);
  length_ = static_cast<int>(text.size());
}

void TBufferParser::Restart() { restartFlat(); }
bool TBufferParser::DeleteSpace() { return deleteFlatSpace(); }
void TBufferParser::InsertSpace() { insertFlatSpace(); }

bool TBufferParser::hasCharAt(int position) const {
  return position >= 0 && static_cast<std::size_t>(position) < textLength_;
}

char TBufferParser::charAt(int position) const { return buffer_[position]; }

void TBufferParser::replaceText(int position, int count, const std::string &text) {
  if (position < 0 || count < 0 || static_cast<std::size_t>(position) > textLength_)
    throw EParserError("Replacement outside the text of the buffer.");
  std::size_t at = static_cast<std::size_t>(position);
  std::size_t removed = std::min(static_cast<std::size_t>(count), textLength_ - at);
  std::size_t newLength = textLength_ - removed + text.size();
  // Room for the new text and its terminator, counted without overflow.
  if (text.size() > capacity_ || newLength >= capacity_)
    throw EParserError("The replacement does not fit the buffer.");
  std::memmove(buffer_ + at + text.size(), buffer_ + at + removed, textLength_ - at - removed);
  std::memcpy(buffer_ + at, text.data(), text.size());
  buffer_[newLength] = '\0';
  textLength_ = newLength;
}

} // namespace spelling
