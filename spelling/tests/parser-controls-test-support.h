// Helpers of the control parser tests: a form to put controls on, and the
// walk that reads every word with what the control selects for it.
#ifndef SPELLING_TESTS_PARSER_CONTROLS_TEST_SUPPORT_H
#define SPELLING_TESTS_PARSER_CONTROLS_TEST_SUPPORT_H

#include "platform/components/win32/forms.h"
#include "spelling/core/parser.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace parser_test {

struct SeenWord {
  std::string text;
  bool skip = false;
  std::string selected; // what the control holds where the parser selects
  bool operator==(const SeenWord &other) const {
    return text == other.text && skip == other.skip && selected == other.selected;
  }
};

inline std::ostream &operator<<(std::ostream &out, const SeenWord &word) {
  return out << "\"" << word.text << "\"" << (word.skip ? " skip" : "") << " selects \""
             << word.selected << "\"";
}

// Every word to the end, each selected in the control and read back.
inline std::vector<SeenWord> walkSelecting(spelling::TParser &parser) {
  std::vector<SeenWord> words;
  std::string word;
  for (int guard = 0; guard < 10000; ++guard) {
    parser.NextWord(word);
    if (parser.AtEnd())
      break;
    SeenWord seen;
    seen.text = word;
    seen.skip = parser.SkipWord();
    parser.SelectWord();
    parser.GetWord(seen.selected);
    words.push_back(seen);
  }
  return words;
}

// Words as the walk must see them: each selects its own text.
inline std::vector<SeenWord> expectedWords(const std::vector<std::pair<std::string, bool>> &words) {
  std::vector<SeenWord> seen;
  for (const auto &word : words)
    seen.push_back(SeenWord{word.first, word.second, word.first});
  return seen;
}

class FormFixture {
public:
  FormFixture() : form_(std::make_unique<components::TForm>(nullptr)) {
    form_->SetBounds(10, 10, 500, 400);
  }
  template <typename Control> Control *make(int width = 300, int height = 120) {
    auto *control = new Control(form_.get());
    control->SetBounds(10, 10, width, height);
    control->SetParent(form_.get());
    return control;
  }
  components::TForm &form() { return *form_; }

private:
  std::unique_ptr<components::TForm> form_;
};

} // namespace parser_test

#endif
