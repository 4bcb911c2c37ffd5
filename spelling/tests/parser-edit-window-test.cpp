// The edit-window parser over a plain edit window of the platform whose
// messages are recorded: the word and line-finished messages it sends, in
// order, lines cut at 4,096 characters, and the selected text read line by
// line.
#include "parser-controls-test-support.h"

#include "spelling/win32/edit-window-parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace spelling;
using parser_test::expectedWords;
using parser_test::SeenWord;
using parser_test::walkSelecting;

namespace {

struct Notice {
  UINT msg;
  long long wParam, lParam;
  bool operator==(const Notice &o) const {
    return msg == o.msg && wParam == o.wParam && lParam == o.lParam;
  }
};

std::ostream &operator<<(std::ostream &out, const Notice &n) {
  return out << std::hex << "0x" << n.msg << std::dec << "(" << n.wParam << ", " << n.lParam << ")";
}

// An editor window: the platform's multi-line edit, subclassed to record
// the parser's two messages.
class RecordingEditor {
public:
  RecordingEditor() {
    window_ =
        CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 0,
                        0, 400, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetPropA(window_, "RecordingEditor", this);
    editProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordingProc)));
  }
  ~RecordingEditor() {
    RemovePropA(window_, "RecordingEditor");
    DestroyWindow(window_);
  }
  RecordingEditor(const RecordingEditor &) = delete;
  RecordingEditor &operator=(const RecordingEditor &) = delete;

  HWND window() const { return window_; }
  void setText(const std::string &text) { SetWindowTextA(window_, text.c_str()); }
  std::vector<Notice> notices;

private:
  static LRESULT CALLBACK recordingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto *self = static_cast<RecordingEditor *>(GetPropA(window, "RecordingEditor"));
    if (msg == WM_PARSER_WORD || msg == WM_PARSER_LINE_DONE) {
      self->notices.push_back(Notice{msg, static_cast<long long>(static_cast<int>(wParam)),
                                     static_cast<long long>(lParam)});
      return 0;
    }
    return CallWindowProcA(self->editProc_, window, msg, wParam, lParam);
  }

  HWND window_;
  WNDPROC editProc_;
};

Notice wordNotice(int column, int line) { return Notice{0x1634, column, line}; }
Notice lineNotice(int line) { return Notice{0x1635, 0, line}; }

} // namespace

TEST(EditWindowParser, SendsWordAndLineMessagesInOrder) {
  RecordingEditor editor;
  editor.setText("one two\r\nthree\r\n\r\nmail me@example.org\r\nfour");
  TWinAPIEditorSpellParser parser(editor.window());
  parser.BeginCheck();
  std::vector<SeenWord> words = walkSelecting(parser);
  EXPECT_EQ(words, expectedWords({{"one", false},
                                  {"two", false},
                                  {"three", false},
                                  {"mail", false},
                                  {"me@example.org", true},
                                  {"four", false}}));
  // The address is read but not announced; the end comes as (-1, -1)
  // after the last line is left.
  std::vector<Notice> expected = {wordNotice(1, 0), wordNotice(5, 0),  lineNotice(0),
                                  wordNotice(1, 1), lineNotice(1),     lineNotice(2),
                                  wordNotice(1, 3), lineNotice(3),     wordNotice(1, 4),
                                  lineNotice(4),    wordNotice(-1, -1)};
  EXPECT_EQ(editor.notices, expected);

  // BeginCheck lets the same parser run again from where it is set.
  editor.notices.clear();
  parser.SetRange(0, parser.RangeEnd());
  parser.BeginCheck();
  std::string first;
  parser.NextWord(first);
  EXPECT_EQ(first, "one");
  EXPECT_EQ(editor.notices, std::vector<Notice>{wordNotice(1, 0)});
}

TEST(EditWindowParser, EmptyWindowEndsAtOnce) {
  RecordingEditor editor;
  TWinAPIEditorSpellParser parser(editor.window());
  std::string word;
  parser.NextWord(word);
  EXPECT_TRUE(parser.AtEnd());
  EXPECT_EQ(editor.notices, std::vector<Notice>{wordNotice(-1, -1)});
}

TEST(EditWindowParser, LinesAreReadCutAtTheBufferSize) {
  RecordingEditor editor;
  const int size = TWinAPIEditorSpellParser::LineBufferSize;
  // A word that straddles the cut is read up to it; a word past it is not
  // read at all; the next line is read in full.
  std::string longLine =
      "start" + std::string(static_cast<std::size_t>(size - 8), ' ') + "straddling beyond";
  editor.setText(longLine + "\r\nnext line");
  TWinAPIEditorSpellParser parser(editor.window());
  std::vector<std::string> words;
  std::string word;
  for (parser.NextWord(word); !parser.AtEnd(); parser.NextWord(word))
    words.push_back(word);
  EXPECT_EQ(words, (std::vector<std::string>{"start", "str", "next", "line"}));
}

TEST(EditWindowParser, SelectedTextAcrossLinesIsJoinedByLineBreaks) {
  RecordingEditor editor;
  editor.setText("alpha beta\r\ngamma\r\ndelta");
  TWinAPIEditorSpellParser parser(editor.window());
  SendMessageA(editor.window(), EM_SETSEL, 6, 14);
  std::string text;
  parser.GetWord(text);
  EXPECT_EQ(text, "beta\r\nga");
  SendMessageA(editor.window(), EM_SETSEL, 0, -1);
  parser.GetWord(text);
  EXPECT_EQ(text, "alpha beta\r\ngamma\r\ndelta");
}

TEST(EditWindowParser, ReplaceThenUndoRestoresTheWindowExactly) {
  RecordingEditor editor;
  const std::string text = "Teh first line\r\nwierd second\r\n\r\nlast teh";
  editor.setText(text);
  TWinAPIEditorSpellParser parser(editor.window());
  std::string word;
  for (parser.NextWord(word); !parser.AtEnd(); parser.NextWord(word)) {
    parser.SelectWord();
    parser.PushUndo();
    if (word == "Teh" || word == "teh")
      parser.ReplaceWord("The");
    else if (word == "wierd")
      parser.ReplaceWord("weird and odd");
    else if (word == "second") {
      // Deleted as the check deletes a repeated word: one space for it,
      // then that space and the next one, if any.
      parser.ReplaceWord(" ");
      parser.SetLength(0);
      EXPECT_TRUE(parser.DeleteSpace());
      EXPECT_FALSE(parser.DeleteSpace());
      parser.SetUndoKind(UndoDeletedOneSpace);
    }
  }
  char changed[256] = {};
  GetWindowTextA(editor.window(), changed, sizeof changed);
  EXPECT_STREQ(changed, "The first line\r\nweird and odd \r\n\r\nlast The");
  parser.PushUndo();
  // Each undo goes back to the word shown before, which is shown again.
  parser.SetReplacing(true);
  while (parser.CanUndo()) {
    parser.PopUndo();
    parser.NextWord(word);
    parser.SelectWord();
    parser.PushUndo();
  }
  char restored[256] = {};
  GetWindowTextA(editor.window(), restored, sizeof restored);
  EXPECT_EQ(std::string(restored), text);
}
