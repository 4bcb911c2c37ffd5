// The parser over a caller's string variable. Positions are 1-based
// indices; replacements edit the caller's string.
#ifndef SPELLING_STRING_PARSER_H
#define SPELLING_STRING_PARSER_H

#include "spelling/core/parser.h"

namespace spelling {

class TStringParser : public TParser {
public:
  // text must outlive the parser.
  explicit TStringParser(std::string &text);

  void NextWord(std::string &word) override;
  void ReplaceWord(const std::string &text) override;
  void Restart() override;
  bool DeleteSpace() override;
  void InsertSpace() override;

protected:
  bool hasCharAt(int position) const override;
  char charAt(int position) const override;
  void replaceText(int position, int count, const std::string &text) override;

private:
  std::string &text_;
};

} // namespace spelling

#endif
