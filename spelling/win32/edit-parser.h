// The parser over a single-line edit control: the flat walk over the
// control's text, 1-based, with the word selected and replaced in the
// control itself so that the control's own undo can take the change back.
#ifndef SPELLING_WIN32_EDIT_PARSER_H
#define SPELLING_WIN32_EDIT_PARSER_H

#include "platform/components/win32/std-controls.h"
#include "spelling/core/parser.h"

namespace spelling {

class TCustomEditParser : public TParser {
public:
  // edit must outlive the parser; its window is made if need be.
  explicit TCustomEditParser(components::TCustomEdit &edit);

  void StartAtCaret() override;
  void StopAtSelectionEnd() override;
  void NextWord(std::string &word) override;
  void SelectWord() override;
  void ReplaceWord(const std::string &text) override;
  void GetControlRect(TParserRect &rect) override;
  void GetWordRect(TParserRect &rect) override;
  void Restart() override;
  bool DeleteSpace() override;
  void InsertSpace() override;
  void GetWord(std::string &text) override;
  void PushUndo() override;

protected:
  bool hasCharAt(int position) const override;
  char charAt(int position) const override;

private:
  // The user may edit the control while the dialog waits: every operation
  // that reads characters reads the text afresh first, except NextWord,
  // which reads it only once a word has gone to the dialog (reading the
  // whole text for each word would make the walk quadratic in its length).
  void readText();

  components::TCustomEdit &edit_;
  std::string text_;
  bool textMayHaveChanged_ = false;
  int lineHeight_;
};

} // namespace spelling

#endif
