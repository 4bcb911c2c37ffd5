// The parser over a caller's zero-terminated character buffer. Positions
// are 0-based indices; replacements rewrite the buffer in place and never
// write past the capacity the caller gives.
#ifndef SPELLING_BUFFER_PARSER_H
#define SPELLING_BUFFER_PARSER_H

#include "spelling/core/parser.h"

#include <cstddef>

namespace spelling {

class TBufferParser : public TParser {
public:
  // buffer holds a zero-terminated text in capacity bytes; the text is taken
  // to end at the capacity when no terminator comes first.
  TBufferParser(char *buffer, std::size_t capacity);

  void NextWord(std::string &word) override;
  // Throws EParserError, changing nothing, when the new text and its
  // terminator would not fit the buffer.
  void ReplaceWord(const std::string &text) override;
  void Restart() override;
  bool DeleteSpace() override;
  void InsertSpace() override;

protected:
  bool hasCharAt(int position) const override;
  char charAt(int position) const override;
  void replaceText(int position, int count, const std::string &text) override;
  // The buffer parser recognises "http:" but not "ftp:" or "news:".
  bool knowsAllSchemes() const override { return false; }

private:
  char *buffer_;
  std::size_t capacity_;
  std::size_t textLength_;
};

} // namespace spelling

#endif
