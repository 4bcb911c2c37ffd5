// The lines of a memo, read from and written to its window.
#ifndef COMPONENTS_WIN32_MEMO_LINES_H
#define COMPONENTS_WIN32_MEMO_LINES_H

#include "platform/components/win32/controls.h"

#include <string>
#include <vector>

namespace components {

class TCustomMemo;

// The lines of a memo, read from and written to its window.
class TMemoLines {
public:
  explicit TMemoLines(TCustomMemo &memo) : memo_(memo) {}
  // A last line that is empty (the text ends with a line break) does not
  // count.
  int Count() const;
  std::string Strings(int index) const;
  std::string operator[](int index) const { return Strings(index); }
  void Add(const std::string &line);
  void Clear();
  std::string Text() const;
  void SetText(const std::string &text);

private:
  TCustomMemo &memo_;
};

} // namespace components

#endif
