// The lines of a multi-line control, as the line-based parsers (memo, rich
// edit, edit windows) walk them. The Windows side answers these from the
// control's line messages; tests answer them from memory.
#ifndef SPELLING_PARSER_LINES_H
#define SPELLING_PARSER_LINES_H

#include <string>

namespace spelling {

class ParserLines {
public:
  virtual ~ParserLines() = default;
  // The number of lines; a control holding one empty line has none.
  virtual int lineCount() = 0;
  // The character index of the line's first character, 0-based.
  virtual int lineStart(int line) = 0;
  // The line's text without its line break.
  virtual std::string lineText(int line) = 0;
  // Told when the walk leaves a line for the next one.
  virtual void lineFinished(int /*line*/) {}
};

} // namespace spelling

#endif
