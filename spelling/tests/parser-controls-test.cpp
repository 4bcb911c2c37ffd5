// The edit, memo and rich-edit parsers over real controls under Wine: the
// same words from the same text in each, the words the control selects,
// replacement and undo that give back the control exactly, the caret and
// the selection as range, scrolling and screen rectangles, and the
// factories.
#include "parser-controls-test-support.h"

#include "platform/components/win32/std-controls.h"
#include "spelling/core/string-parser.h"
#include "spelling/win32/control-parsers.h"
#include "spelling/win32/edit-parser.h"
#include "spelling/win32/edit-window-parser.h"
#include "spelling/win32/memo-parser.h"
#include "spelling/win32/rich-edit-parser.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

using namespace components;
using namespace spelling;
using parser_test::expectedWords;
using parser_test::SeenWord;
using parser_test::walkSelecting;

namespace {

// One line with every kind of word the walk tells apart: apostrophes,
// hyphens, digits, "&", 8-bit letters (not word characters by default),
// an address and URLs cut at their terminators.
const std::string oneLine = "Don't co-op with teh wierd mail me@example.org or see "
                            "http://example.com/a,b (and ftp://x.y) 3rd-party R&D caf\xE9 end";

const std::vector<std::pair<std::string, bool>> oneLineWords = {{"Don't", false},
                                                                {"co", false},
                                                                {"op", false},
                                                                {"with", false},
                                                                {"teh", false},
                                                                {"wierd", false},
                                                                {"mail", false},
                                                                {"me@example.org", true},
                                                                {"or", false},
                                                                {"see", false},
                                                                {"http://example.com/a", true},
                                                                {"b", false},
                                                                {"and", false},
                                                                {"ftp://x.y", true},
                                                                {"3rd", false},
                                                                {"party", false},
                                                                {"R&D", false},
                                                                {"caf", false},
                                                                {"end", false}};

const std::string lines = "First line has teh word\r\n"
                          "\r\n"
                          "> quoted\tline\r\n"
                          "mail me@example.org now\r\n"
                          "last";

const std::vector<std::pair<std::string, bool>> linesWords = {
    {"First", false},         {"line", false},   {"has", false},  {"teh", false},
    {"word", false},          {"quoted", false}, {"line", false}, {"mail", false},
    {"me@example.org", true}, {"now", false},    {"last", false}};

// The rich-edit text as the control streams it out: text and formatting.
DWORD CALLBACK collectStream(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG *written) {
  reinterpret_cast<std::string *>(cookie)->append(reinterpret_cast<char *>(bytes),
                                                  static_cast<std::size_t>(count));
  *written = count;
  return 0;
}

std::string richText(HWND window) {
  std::string rtf;
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
  stream.pfnCallback = collectStream;
  SendMessageA(window, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  return rtf;
}

void makeBold(HWND window, int start, int end) {
  SendMessageA(window, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BOLD;
  format.dwEffects = CFE_BOLD;
  SendMessageA(window, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

class ControlParsers : public ::testing::Test, protected parser_test::FormFixture {};

// Undo Last until nothing is left to undo: each undo goes back to the word
// shown before, which is then shown again, as the check loop does.
void undoAll(TParser &parser) {
  parser.SetReplacing(true);
  std::string word;
  while (parser.CanUndo()) {
    parser.PopUndo();
    parser.NextWord(word);
    parser.SelectWord();
    parser.PushUndo();
  }
}

// What the check does with a repeated word: the word becomes one space,
// then that space and the one after it (if any) are deleted.
const std::string deleteRepeated = "<repeated>";

// Replaces the words in replacements as the check would (shown, then
// changed), then undoes everything through the parser.
void replaceAndUndoAll(TParser &parser,
                       const std::vector<std::pair<std::string, std::string>> &replacements,
                       TCustomEdit *control, const std::string &changed) {
  parser.SetReplacing(false);
  parser.SetUndoDepth(100);
  std::string word;
  for (int guard = 0; guard < 1000; ++guard) {
    parser.NextWord(word);
    if (parser.AtEnd())
      break;
    parser.SelectWord();
    parser.PushUndo();
    for (const auto &change : replacements) {
      if (change.first != word)
        continue;
      if (change.second != deleteRepeated) {
        parser.ReplaceWord(change.second);
        break;
      }
      parser.ReplaceWord(" ");
      parser.SetLength(0);
      parser.DeleteSpace();
      parser.SetUndoKind(parser.DeleteSpace() ? UndoDeletedTwoSpaces : UndoDeletedOneSpace);
      break;
    }
  }
  parser.PushUndo(); // the position at the end, as if shown
  EXPECT_EQ(control->Text(), changed);
  undoAll(parser);
}

const std::vector<std::pair<std::string, std::string>> corrections = {
    {"teh", "the"},    {"wierd", "weird stuff"}, {"Don't", "Do"},
    {"last", "final"}, {"now", deleteRepeated},  {"with", deleteRepeated}};

} // namespace

TEST_F(ControlParsers, SameTextGivesTheSameWordsInEditMemoAndRichEdit) {
  auto *edit = make<TEdit>(480, 24);
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  edit->SetText(oneLine);
  memo->SetText(oneLine);
  rich->SetText(oneLine);
  // The string parser reads the same text without any control.
  std::string copy = oneLine;
  TStringParser reference(copy);
  std::vector<SeenWord> expected = expectedWords(oneLineWords);
  EXPECT_EQ(walkSelecting(reference), expected);

  TCustomEditParser editParser(*edit);
  TCustomMemoParser memoParser(*memo);
  TCustomRichEditParser richParser(*rich);
  TWinAPIEditorSpellParser windowParser(memo->Handle());
  EXPECT_EQ(walkSelecting(editParser), expected);
  EXPECT_EQ(walkSelecting(memoParser), expected);
  EXPECT_EQ(walkSelecting(richParser), expected);
  EXPECT_EQ(walkSelecting(windowParser), expected);
}

// Over several lines a rich edit counts a line break as one character and
// a memo as two: each must still select exactly the word it read.
TEST_F(ControlParsers, SameLinesGiveTheSameWordsInMemoRichEditAndEditWindow) {
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  auto *plain = new TRichEdit(&form());
  plain->SetPlainText(true);
  plain->SetParent(&form());
  memo->SetText(lines);
  rich->SetText(lines);
  plain->SetText(lines);
  std::vector<SeenWord> expected = expectedWords(linesWords);
  for (TCustomMemo *control : {static_cast<TCustomMemo *>(memo), static_cast<TCustomMemo *>(rich),
                               static_cast<TCustomMemo *>(plain)}) {
    std::unique_ptr<TParser> parser = CreateParserForControl(control);
    ASSERT_TRUE(parser);
    EXPECT_EQ(walkSelecting(*parser), expected);
    TWinAPIEditorSpellParser windowParser(control->Handle());
    EXPECT_EQ(walkSelecting(windowParser), expected);
  }
  // Quoted lines are skipped whole in each.
  for (TCustomMemo *control :
       {static_cast<TCustomMemo *>(memo), static_cast<TCustomMemo *>(rich)}) {
    std::unique_ptr<TParser> parser = CreateParserForControl(control);
    parser->SetQuotedMode(true);
    std::vector<SeenWord> words = walkSelecting(*parser);
    ASSERT_EQ(words.size(), expected.size() - 2);
    EXPECT_EQ(words[5].text, "mail");
  }
}

TEST_F(ControlParsers, ReplaceThenUndoRestoresTheControlExactly) {
  auto *edit = make<TEdit>(480, 24);
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  edit->SetText(oneLine);
  memo->SetText(lines);
  rich->SetText(lines);
  // Formatting that the replacement and its undo must keep: a bold
  // misspelled word (rich-edit indices: a line break is one character).
  // Replaced text takes the formatting of the word's first character, so a
  // word formatted in parts, or deleted whole, comes back formatted as one.
  makeBold(rich->Handle(), 15, 18);
  const std::string richBefore = richText(rich->Handle());
  ASSERT_NE(richBefore.find("\\b"), std::string::npos);

  TCustomEditParser editParser(*edit);
  replaceAndUndoAll(
      editParser, corrections, edit,
      "Do co-op the weird stuff mail me@example.org or see http://example.com/a,b (and "
      "ftp://x.y) 3rd-party R&D caf\xE9 end");
  EXPECT_EQ(edit->Text(), oneLine);

  TCustomMemoParser memoParser(*memo);
  replaceAndUndoAll(
      memoParser, corrections, memo,
      "First line has the word\r\n\r\n> quoted\tline\r\nmail me@example.org \r\nfinal");
  EXPECT_EQ(memo->Text(), lines);

  TCustomRichEditParser richParser(*rich);
  replaceAndUndoAll(
      richParser, corrections, rich,
      "First line has the word\r\n\r\n> quoted\tline\r\nmail me@example.org \r\nfinal");
  EXPECT_EQ(richText(rich->Handle()), richBefore);
}

TEST_F(ControlParsers, ReplacementsChangeTheTextAndTheControlCanUndoThem) {
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  for (TCustomMemo *control :
       {static_cast<TCustomMemo *>(memo), static_cast<TCustomMemo *>(rich)}) {
    control->SetText(lines);
    control->ClearUndo();
    std::unique_ptr<TParser> parser = CreateParserForControl(control);
    std::string word;
    do
      parser->NextWord(word);
    while (!parser->AtEnd() && word != "teh");
    ASSERT_EQ(word, "teh");
    parser->SelectWord();
    parser->ReplaceWord("the");
    EXPECT_EQ(parser->Length(), 3);
    parser->NextWord(word);
    EXPECT_EQ(word, "word"); // the replacement itself is not read again
    std::string text = control->Text();
    EXPECT_NE(text.find("has the word"), std::string::npos) << text;
    // The replacement went in with undo allowed: the control takes it back.
    ASSERT_TRUE(control->CanUndo());
    control->Undo();
    EXPECT_EQ(control->Text(), control == memo ? lines : rich->Text());
    EXPECT_NE(control->Text().find("has teh word"), std::string::npos);
  }
}

TEST_F(ControlParsers, CaretInsideAWordStartsWithTheWholeWord) {
  auto *edit = make<TEdit>(480, 24);
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  edit->SetText("alpha beta gamma");
  memo->SetText("one two\r\nalpha beta gamma");
  rich->SetText("one two\r\nalpha beta gamma");
  struct Case {
    TCustomEdit *control;
    int caret;     // inside "beta"
    int afterWord; // right after "alpha"
  } cases[] = {{edit, 8, 5}, {memo, 17, 14}, {rich, 16, 13}};
  // The first word a parser made with the caret at that place reads.
  auto firstWordFrom = [](TCustomEdit *control, int caret) {
    control->SetSelStart(caret);
    std::unique_ptr<TParser> parser = CreateParserForControl(control);
    parser->StartAtCaret();
    std::string word;
    parser->NextWord(word);
    return word;
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.control == edit ? "edit" : c.control == memo ? "memo" : "rich edit");
    EXPECT_EQ(firstWordFrom(c.control, c.caret), "beta");
    // A caret right after a word starts with that word.
    EXPECT_EQ(firstWordFrom(c.control, c.afterWord), "alpha");
    // A caret before the first character starts with the first word.
    EXPECT_EQ(firstWordFrom(c.control, 0), c.control == edit ? "alpha" : "one");
  }
}

// A word that begins inside the selection and runs past its end is read
// whole; the next one is not read.
TEST_F(ControlParsers, SelectionEndStopsTheWalkAfterTheLastWordBegun) {
  auto *edit = make<TEdit>(480, 24);
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  edit->SetText("one two three four");
  memo->SetText("zero\r\none two three four");
  rich->SetText("zero\r\none two three four");
  struct Case {
    TCustomEdit *control;
    int start, end; // from inside "two" into "three"
  } cases[] = {{edit, 5, 10}, {memo, 11, 16}, {rich, 10, 15}};
  for (const Case &c : cases) {
    SendMessageA(c.control->Handle(), EM_SETSEL, static_cast<WPARAM>(c.start), c.end);
    std::unique_ptr<TParser> parser = CreateParserForControl(c.control);
    parser->StartAtCaret();
    parser->StopAtSelectionEnd();
    std::vector<SeenWord> words = walkSelecting(*parser);
    EXPECT_EQ(words, expectedWords({{"two", false}, {"three", false}}));
  }
}

TEST_F(ControlParsers, ShowWordScrollsTheWordsLineToTheMiddle) {
  auto *memo = make<TMemo>(300, 160);
  auto *rich = make<TRichEdit>(300, 160);
  memo->SetScrollBars(ssVertical);
  rich->SetScrollBars(ssVertical);
  std::string text;
  for (int line = 0; line < 200; ++line)
    text += "line" + std::to_string(line) + "\r\n";
  form().Show();
  for (TCustomMemo *control :
       {static_cast<TCustomMemo *>(memo), static_cast<TCustomMemo *>(rich)}) {
    control->SetText(text);
    SendMessageA(control->Handle(), EM_LINESCROLL, 0, -1000);
    std::unique_ptr<TParser> parser = CreateParserForControl(control);
    auto &lineParser = static_cast<TCustomMemoParser &>(*parser);
    ASSERT_GT(lineParser.HalfVisibleLines(), 0);
    std::string word;
    do
      parser->NextWord(word);
    while (!parser->AtEnd() && word != "line150");
    ASSERT_EQ(word, "line150");
    EXPECT_EQ(SendMessageA(control->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    parser->SelectWord();
    parser->ShowWord();
    EXPECT_EQ(SendMessageA(control->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0),
              150 - lineParser.HalfVisibleLines());
  }
}

TEST_F(ControlParsers, RectanglesAreTheControlAndTheSelectedWordOnTheScreen) {
  auto *edit = make<TEdit>(300, 24);
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  form().Show();
  for (TCustomEdit *control : {static_cast<TCustomEdit *>(edit), static_cast<TCustomEdit *>(memo),
                               static_cast<TCustomEdit *>(rich)}) {
    control->SetText("first second");
    std::unique_ptr<TParser> parser = CreateParserForControl(control);
    TParserRect rect;
    parser->GetControlRect(rect);
    RECT client{};
    GetClientRect(control->Handle(), &client);
    POINT origin{0, 0};
    ClientToScreen(control->Handle(), &origin);
    EXPECT_EQ(rect.Left, origin.x);
    EXPECT_EQ(rect.Top, origin.y);
    EXPECT_EQ(rect.Right - rect.Left, client.right);
    EXPECT_EQ(rect.Bottom - rect.Top, client.bottom);

    std::string word;
    parser->NextWord(word);
    parser->SelectWord();
    parser->GetWordRect(rect);
    EXPECT_GE(rect.Left, origin.x);
    EXPECT_GT(rect.Right, rect.Left); // "first" has a width
    EXPECT_GT(rect.Bottom, rect.Top);
    // The last word ends at the text's end: an edit control has no point
    // there, and the word's start stands in for it.
    parser->NextWord(word);
    ASSERT_EQ(word, "second");
    parser->SelectWord();
    parser->GetWordRect(rect);
    EXPECT_GT(rect.Left, origin.x);
    EXPECT_GE(rect.Right, rect.Left);
    EXPECT_LT(rect.Right, origin.x + client.right + 1);
    EXPECT_GT(rect.Bottom, rect.Top);
  }
}

// The edit-window parser asks a rich edit for positions in the rich edit's
// form and any other window in the edit form: the word comes out where the
// control's own parser puts it.
TEST_F(ControlParsers, EditWindowParserPlacesTheWordAsTheControlsParserDoes) {
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  form().Show();
  for (TCustomMemo *control :
       {static_cast<TCustomMemo *>(memo), static_cast<TCustomMemo *>(rich)}) {
    control->SetText("one two\r\nthree four");
    std::unique_ptr<TParser> own = CreateParserForControl(control);
    TWinAPIEditorSpellParser window(control->Handle());
    std::string word;
    for (int i = 0; i < 4; ++i) {
      own->NextWord(word);
      window.NextWord(word);
    }
    ASSERT_EQ(word, "four");
    window.SelectWord();
    TParserRect ownRect, windowRect;
    own->GetWordRect(ownRect);
    window.GetWordRect(windowRect);
    EXPECT_GT(ownRect.Top, 0);
    EXPECT_EQ(windowRect.Left, ownRect.Left);
    EXPECT_EQ(windowRect.Top, ownRect.Top);
    EXPECT_EQ(windowRect.Right, ownRect.Right);
    // The second line is below the first.
    own->SetRange(0, own->RangeEnd());
    own->NextWord(word);
    own->SelectWord();
    TParserRect firstRect;
    own->GetWordRect(firstRect);
    EXPECT_GT(windowRect.Top, firstRect.Top);
  }
}

// A deleted word leaves the space after it at the word's position: only a
// space is deleted there. Putting a space back at a line's end must not
// cut the line break in two.
TEST_F(ControlParsers, SpacesAreDeletedAndPutBackWithoutCuttingLineBreaks) {
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  for (TCustomMemo *control :
       {static_cast<TCustomMemo *>(memo), static_cast<TCustomMemo *>(rich)}) {
    for (bool window : {false, true}) {
      control->SetText("ab cd\r\nef");
      std::unique_ptr<TParser> parser =
          window ? std::make_unique<TWinAPIEditorSpellParser>(control->Handle())
                 : CreateParserForControl(control);
      parser->SetReplacing(true);
      std::string word;
      parser->NextWord(word);
      ASSERT_EQ(word, "ab");
      EXPECT_FALSE(parser->DeleteSpace()); // a letter
      parser->SelectWord();
      parser->ReplaceWord("");
      EXPECT_TRUE(parser->DeleteSpace());
      parser->InsertSpace();
      EXPECT_EQ(control->Text(), " cd\r\nef");
      parser->SetLength(0);
      parser->NextWord(word);
      ASSERT_EQ(word, "cd");
      parser->SelectWord();
      parser->ReplaceWord("");
      EXPECT_FALSE(parser->DeleteSpace()); // the line break
      parser->InsertSpace();
      EXPECT_EQ(control->Text(), "  \r\nef") << window;
    }
  }
}

TEST_F(ControlParsers, FactoriesChooseByKindAndByClass) {
  auto *edit = make<TEdit>();
  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  auto *button = make<TButton>();
  EXPECT_TRUE(dynamic_cast<TCustomRichEditParser *>(CreateParserForControl(rich).get()));
  auto memoParser = CreateParserForControl(memo);
  EXPECT_TRUE(dynamic_cast<TCustomMemoParser *>(memoParser.get()));
  EXPECT_FALSE(dynamic_cast<TCustomRichEditParser *>(memoParser.get()));
  EXPECT_TRUE(dynamic_cast<TCustomEditParser *>(CreateParserForControl(edit).get()));
  EXPECT_FALSE(CreateParserForControl(button));
  EXPECT_FALSE(CreateParserForControl(nullptr));

  // The component passes controls as components.
  auto source = [](TComponent *component) -> void * { return component; };
  EXPECT_TRUE(
      dynamic_cast<TCustomRichEditParser *>(CreateControlParserForSource(2, source(rich)).get()));
  EXPECT_TRUE(dynamic_cast<TWinAPIEditorSpellParser *>(
      CreateControlParserForSource(3, source(button)).get()));
  EXPECT_TRUE(
      dynamic_cast<TCustomEditParser *>(CreateControlParserForSource(4 + 128, source(edit)).get()));
  EXPECT_TRUE(
      dynamic_cast<TCustomMemoParser *>(CreateControlParserForSource(5, source(memo)).get()));
  EXPECT_FALSE(CreateControlParserForSource(2, source(memo))); // not a rich edit
  EXPECT_FALSE(CreateControlParserForSource(4, source(button)));
  EXPECT_FALSE(CreateControlParserForSource(6, source(edit)));
  EXPECT_FALSE(CreateControlParserForSource(5, nullptr));
  std::string text = "a b";
  EXPECT_TRUE(CreateControlParserForSource(1, &text));
  // The component's hooks lead here.
  TSpellPlatform platform;
  InstallControlParsers(platform);
  EXPECT_TRUE(
      dynamic_cast<TCustomRichEditParser *>(platform.CreateParserForSource(2, source(rich)).get()));
  EXPECT_TRUE(dynamic_cast<TCustomMemoParser *>(platform.CreateParserForControl(memo).get()));
  EXPECT_FALSE(platform.CreateParserForControl(button));
}

// The characters a window hands out by WM_GETTEXT, counted by a window
// procedure put in front of its own.
class TextReadCounter {
public:
  explicit TextReadCounter(HWND window) : window_(window) {
    SetPropA(window_, "TextReadCounter", this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&counting)));
  }
  ~TextReadCounter() {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    RemovePropA(window_, "TextReadCounter");
  }
  TextReadCounter(const TextReadCounter &) = delete;
  TextReadCounter &operator=(const TextReadCounter &) = delete;
  long long characters = 0;

private:
  static LRESULT CALLBACK counting(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto *self = static_cast<TextReadCounter *>(GetPropA(window, "TextReadCounter"));
    LRESULT result = CallWindowProcA(self->original_, window, message, wParam, lParam);
    if (message == WM_GETTEXT)
      self->characters += result;
    return result;
  }
  HWND window_;
  WNDPROC original_ = nullptr;
};

// A single-line edit of many words is read whole once for the walk, not
// once for each word. A word shown to the user hands the control over,
// and the walk of any control goes on in the text as the user left it.
TEST_F(ControlParsers, AnEditsTextIsReadOnceForAWalkAndAgainAfterAShownWord) {
  auto *edit = make<TEdit>(480, 24);
  std::string line;
  for (int i = 0; i < 2000; ++i)
    line += "word ";
  edit->SetText(line);
  {
    TextReadCounter counter(edit->Handle());
    TCustomEditParser parser(*edit);
    int read = 0;
    std::string word;
    for (parser.NextWord(word); !parser.AtEnd(); parser.NextWord(word))
      ++read;
    EXPECT_EQ(read, 2000);
    EXPECT_LE(counter.characters, 2 * static_cast<long long>(line.size()));
  }

  auto *memo = make<TMemo>();
  auto *rich = make<TRichEdit>();
  for (TCustomEdit *control : {static_cast<TCustomEdit *>(edit), static_cast<TCustomEdit *>(memo),
                               static_cast<TCustomEdit *>(rich)}) {
    control->SetText("one two three");
    std::unique_ptr<TParser> parser = CreateParserForControl(control);
    std::string word;
    parser->NextWord(word);
    parser->SelectWord();
    parser->PushUndo();
    control->SetText("one four three");
    parser->NextWord(word);
    EXPECT_EQ(word, "four") << typeid(*control).name();
  }
}
