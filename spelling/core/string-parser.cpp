// The string parser: the flat walk over a caller's string, 1-based.
#include "spelling/core/string-parser.h"

#include <algorithm>
#include <limits>

namespace spelling {

TStringParser::TStringParser(std::string &text) : TParser(1), text_(text) {
  setRangeEnd(
      static_cast<int>(std::min<std::size_t>(text.size(), std::numeric_limits<int>::max() / 2)));
}

void TStringParser::NextWord(std::string &word) { nextFlatWord(word); }

void TStringParser::ReplaceWord(const std::string &text) {
  replaceText(position_, length_, text);
  TParser::ReplaceWord(text);
  length_ = static_cast<int>(text.size());
}

void TStringParser::Restart() { restartFlat(); }
bool TStringParser::DeleteSpace() { return deleteFlatSpace(); }
void TStringParser::InsertSpace() { insertFlatSpace(); }

bool TStringParser::hasCharAt(int position) const {
  return position >= 1 && static_cast<std::size_t>(position) <= text_.size();
}

char TStringParser::charAt(int position) const { return text_[position - 1]; }

void TStringParser::replaceText(int position, int count, const std::string &text) {
  if (position < 1 || count < 0 || static_cast<std::size_t>(position) > text_.size() + 1)
    throw EParserError("Replacement outside the text of the string.");
  std::size_t at = static_cast<std::size_t>(position - 1);
  text_.replace(at, std::min(static_cast<std::size_t>(count), text_.size() - at), text);
}

} // namespace spelling
