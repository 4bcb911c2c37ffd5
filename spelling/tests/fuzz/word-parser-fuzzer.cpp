// The flat word parsers on any text, with replacements, deletions, undos
// and emptied selections chosen by the input: every word read lies inside
// the text as it is then, and the buffer parser never writes past its
// buffer. The parser tests run it on mutated seeds too.
#include "spelling/core/buffer-parser.h"
#include "spelling/core/string-parser.h"

#include "testing/fuzz-harness.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t BufferCapacity = 96;
constexpr std::size_t GuardBytes = 16;
constexpr char Guard = '\x5a';

struct Source {
  bool isBuffer = false;
  std::string text;         // the string parser's variable
  std::vector<char> memory; // the buffer and its guard bytes
  std::string current() const {
    if (!isBuffer)
      return text;
    return std::string(memory.data(), strnlen(memory.data(), BufferCapacity));
  }
  void checkGuards() const {
    for (std::size_t i = BufferCapacity; isBuffer && i < memory.size(); ++i)
      FUZZ_CHECK(memory[i] == Guard);
  }
};

void checkWord(const spelling::TParser &parser, const Source &source, const std::string &word) {
  const std::string text = source.current();
  const int at = parser.Position() - (source.isBuffer ? 0 : 1);
  FUZZ_CHECK(at >= 0 && parser.Length() > 0);
  FUZZ_CHECK(static_cast<std::size_t>(at) + word.size() <= text.size());
  FUZZ_CHECK(text.compare(static_cast<std::size_t>(at), word.size(), word) == 0);
  FUZZ_CHECK(parser.IsWordChar(word[0]));
}

} // namespace

// Byte 0 picks the parser and its modes, byte 1 the range, byte 2 the edits
// (two bits a word), the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 3)
    return 0;
  const unsigned flags = data[0];
  Source source;
  source.isBuffer = flags & 1;
  const std::string text = testing_support::textOf(data + 3, size - 3);
  std::unique_ptr<spelling::TParser> parser;
  if (source.isBuffer) {
    source.memory.assign(BufferCapacity + GuardBytes, Guard);
    const std::size_t copied = std::min(text.size(), BufferCapacity - 1);
    std::memcpy(source.memory.data(), text.data(), copied);
    source.memory[copied] = '\0';
    parser = std::make_unique<spelling::TBufferParser>(source.memory.data(), BufferCapacity);
  } else {
    source.text = text;
    parser = std::make_unique<spelling::TStringParser>(source.text);
  }
  parser->SetHTMLMode(flags & 2);
  parser->SetInternetMode(flags & 4);
  if (flags & 8)
    parser->SetWordCharacters(std::string(spelling::DefaultWordChars) + "\x80\xe9\xff-");
  if (flags & 16)
    parser->SetRange(data[1] % 40 - 2, data[1] / 4 - 2);
  parser->SetUndoDepth(flags >> 5);

  const char *replacements[] = {"", " ", "x", "replacement", "a b", "<", "@"};
  unsigned edits = data[2];
  std::string word;
  for (int step = 0; step < 400; ++step) {
    parser->NextWord(word);
    if (parser->AtEnd())
      break;
    checkWord(*parser, source, word);
    parser->PushUndo();
    try {
      switch (edits & 7) {
      case 0:
      case 1:
        parser->ReplaceWord(replacements[(edits >> 3) % 7]);
        break;
      case 2:
        parser->ReplaceWord(" ");
        parser->SetUndoKind(parser->DeleteSpace() ? 105 : 5);
        break;
      case 3:
        parser->ReplaceWord(" ");
        parser->DeleteSpace();
        parser->SetUndoKind(parser->DeleteSpace() ? 105 : 5);
        break;
      case 4:
        parser->PopUndo();
        break;
      case 5:
        parser->SetLength(0);
        break;
      default:
        break;
      }
    } catch (const spelling::EParserError &) {
      FUZZ_CHECK(source.isBuffer); // only a full buffer refuses an edit
    }
    edits = (edits >> 3 | edits << 5) & 0xff;
    source.checkGuards();
  }
  source.checkGuards();
  return 0;
}
