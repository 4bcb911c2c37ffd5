// The word parser base. A parser walks one text source word by word for the
// check loop: it finds the next word, replaces it, and keeps one undo record
// per word shown to the user. The base holds the state every parser shares
// and the walk over flat text (a buffer, a string, a single-line edit);
// a parser supplies the text through the three hooks of its flat-text
// interface (hasCharAt, charAt, replaceText) and overrides the operations
// that touch a control. Line-based parsers (memo, rich edit, edit windows)
// override NextWord and Restart with a walk over lines.
#ifndef SPELLING_PARSER_H
#define SPELLING_PARSER_H

#include "platform/components/core/event.h"
#include "platform/components/core/exception.h"
#include "spelling/core/parser-lines.h"
#include "spelling/core/spell-options.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace spelling {

// The word characters a parser starts with, and the ones the check uses when
// the dictionaries give none.
constexpr const char *DefaultWordChars =
    "abcdefghijklmnopqrstuvwxyz'ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890&";

// Undo codes that make PopUndo put spaces back: a repeated word deleted with
// one following space (5) or with the spaces on both of its sides (105).
constexpr int UndoDeletedOneSpace = 5;
constexpr int UndoDeletedTwoSpaces = 105;

// What a word looked like when it was shown, and what replaced it.
struct TUndo {
  int Code = -1; // the command that handled the word; -1 until tagged
  int Column = 1;
  int Line = 0;
  int Position = 0;
  int Length = 0;
  std::string Word;
  std::string Replacement;
  // Whether the user replaced the word: a word changed to nothing has an
  // empty replacement, and undo must still put it back.
  bool Replaced = false;
};

// Screen rectangle of a control or a word; Left is -1 when the parser has
// no control to measure.
struct TParserRect {
  int Left = -1;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// A replacement that does not fit the caller's buffer.
class EParserError : public components::Exception {
public:
  using Exception::Exception;
};

class TParser : public components::TObject {
public:
  TParser(const TParser &) = delete;
  TParser &operator=(const TParser &) = delete;
  ~TParser() override;

  virtual void SetHTMLMode(bool on);
  virtual void SetWordCharacters(const std::string &chars);
  virtual void SetRange(int start, int end);
  virtual void SetRangeXY(int start, int end);
  virtual void StartAtCaret();
  virtual void StopAtSelectionEnd();
  // Reads the next word into word, or sets AtEnd (word is then empty).
  virtual void NextWord(std::string &word);
  virtual void SelectWord();
  // Replaces the current word's text; afterwards Length is the text's length.
  virtual void ReplaceWord(const std::string &text);
  virtual void GetControlRect(TParserRect &rect);
  virtual void GetWordRect(TParserRect &rect);
  virtual void ShowWord();
  // Moves Position back to the start of the word it stands in.
  virtual void Restart();
  virtual void BeginCheck();
  // Deletes the space at Position; false (nothing changed) when there is none.
  virtual bool DeleteSpace();
  // Inserts a space at Position.
  virtual void InsertSpace();
  virtual void GetWord(std::string &text);
  virtual void SetUndoKind(int code);
  virtual void RecordReplacement(const std::string &text);
  virtual void RestoreUndoSelection(const TUndo &record);
  virtual void PushUndo();
  // Goes back to the word shown before the current one, restoring its text;
  // returns its record (the caller frees it), or none when CanUndo is false.
  virtual std::unique_ptr<TUndo> PopUndo();
  virtual bool CanUndo() const;

  const std::string &WordChars() const { return wordChars_; }
  bool IsWordChar(char c) const { return isWordChar_[static_cast<unsigned char>(c)]; }
  int UndoDepth() const { return undoDepth_; }
  void SetUndoDepth(int depth);
  bool HTMLMode() const { return htmlMode_; }
  bool InternetMode() const { return internetMode_; }
  void SetInternetMode(bool on) { internetMode_ = on; }
  bool QuotedMode() const { return quotedMode_; }
  void SetQuotedMode(bool on) { quotedMode_ = on; }
  const std::string &QuoteChars() const { return quoteChars_; }
  void SetQuoteChars(const std::string &chars) { quoteChars_ = chars; }

  bool AtEnd() const { return atEnd_; }
  bool Replacing() const { return replacing_; }
  void SetReplacing(bool on) { replacing_ = on; }
  bool SkipWord() const { return skipWord_; }
  bool NoRepeatCheck() const { return noRepeatCheck_; }

  int Column() const { return column_; }
  int Line() const { return line_; }
  int Position() const { return position_; }
  int Length() const { return length_; }
  // Length 0 makes the next NextWord read the current word again.
  void SetLength(int length) { length_ = length; }
  int RangeEnd() const { return rangeEnd_; }
  const std::string &CurrentWord() const { return currentWord_; }
  int UndoCount() const { return static_cast<int>(undo_.size()); }

protected:
  // firstPosition is the number of the text's first character (0 or 1).
  explicit TParser(int firstPosition);

  // The flat-text interface: positions are in the parser's own numbering.
  virtual bool hasCharAt(int position) const;
  virtual char charAt(int position) const;
  // Replaces count characters at position with text.
  virtual void replaceText(int position, int count, const std::string &text);
  // Whether "ftp:" and "news:" start a URL as "http:" does.
  virtual bool knowsAllSchemes() const { return true; }

  // The walk over flat text, for the parsers that override NextWord,
  // Restart, DeleteSpace and InsertSpace with it.
  void nextFlatWord(std::string &word);
  // The walk over the lines of a control, for the line-based parsers: line
  // is 0-based, column 1-based, and Position the line's first character
  // index plus the column.
  void nextLineWord(ParserLines &lines, std::string &word);
  void restartLine(ParserLines &lines);
  // The walk's view of the lines: a control copies a line whole for each
  // question, so the line the walk stands on is read once and kept, with
  // its first character index and the number of lines, until the text may
  // have changed (forgetLines) or the walk moves to another line.
  int linesCount(ParserLines &lines);
  const std::string &lineTextOf(ParserLines &lines, int line);
  int lineStartOf(ParserLines &lines, int line);
  void forgetLines();
  void setRangeEnd(int end) { rangeEnd_ = end; }
  bool isTerminator(char c) const;
  void restartFlat();
  bool deleteFlatSpace();
  void insertFlatSpace();

  int firstPosition_;
  int column_ = 1;
  int line_ = 1;
  int position_;
  int length_ = 0;
  int rangeEnd_ = 0;
  std::string currentWord_;
  bool atEnd_ = false;
  bool skipWord_ = false;
  bool noRepeatCheck_ = false;

private:
  bool inWalk(int position) const;
  bool isSchemeWord(const std::string &word, bool allSchemes) const;
  bool skipLineTag(ParserLines &lines, int lineCount);
  bool startsInternetWord() const;

  std::string wordChars_;
  bool isWordChar_[256] = {};
  int undoDepth_ = 20;
  bool htmlMode_ = false;
  bool internetMode_ = true;
  bool quotedMode_ = false;
  std::string quoteChars_ = ">";
  bool replacing_ = false;
  // True while the newest undo record belongs to the current word, so that a
  // replacement made without showing the word (change all, auto-correct)
  // never lands in another word's record.
  bool recordIsCurrent_ = false;
  std::deque<TUndo> undo_;
  // What the line walk last read; see lineTextOf.
  struct KeptLine {
    std::optional<int> count;
    int line = -1;            // the line in text, -1 for none
    std::optional<int> start; // the line's first character index
    std::string text;
  } keptLine_;
};

// Passes the options the parser acts on: HTML tags, e-mail addresses and
// URLs, quoted lines.
void applySpellOptions(TParser &parser, TSpellOptions options, const std::string &quoteChars);

// The caller's zero-terminated buffer for the buffer parser, with the number
// of bytes it may hold, terminator included.
struct TParserBuffer {
  char *Text = nullptr;
  std::size_t Capacity = 0;
};

// A parser for a source kind (taken modulo 128): 0 a TParserBuffer, 1 a
// std::string. The control kinds (2 to 5) need a window and are made by the
// Windows side; here they, and unknown kinds, give none.
std::unique_ptr<TParser> CreateParserForSource(int kind, void *source);

} // namespace spelling

#endif
