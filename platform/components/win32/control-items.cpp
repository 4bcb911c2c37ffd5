// The items of a list box, combo box or radio group.
#include "platform/components/win32/control-items.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/win32/application.h"
#include "platform/components/win32/forms.h"
#include "platform/base/win32/unique-handle.h"

#include <algorithm>

namespace components {

namespace {

std::vector<std::string> splitLines(const std::string &text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      ++i;
    lines.push_back(line);
    line.clear();
  }
  if (!line.empty())
    lines.push_back(line);
  return lines;
}

} // namespace

TControlItems::TControlItems(TWinControl &control, Messages messages)
    : control_(control), messages_(messages) {}

void TControlItems::insertIntoWindow(int index) {
  if (!messages_.insert || !control_.HandleAllocated())
    return;
  SendMessageA(control_.Handle(), messages_.insert, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(items_[static_cast<std::size_t>(index)].text.c_str()));
}

int TControlItems::AddObject(const std::string &text, void *object) {
  items_.push_back(Item{text, object});
  int index = Count() - 1;
  insertIntoWindow(index);
  OnChange(nullptr);
  return index;
}

void TControlItems::Insert(int index, const std::string &text) {
  if (index < 0 || index > Count())
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
  items_.insert(items_.begin() + index, Item{text, nullptr});
  insertIntoWindow(index);
  OnChange(nullptr);
}

void TControlItems::Put(int index, const std::string &text) {
  void *object = Objects(index);
  Delete(index);
  Insert(index, text);
  PutObject(index, object);
}

void TControlItems::Delete(int index) {
  if (index < 0 || index >= Count())
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
  items_.erase(items_.begin() + index);
  if (messages_.remove && control_.HandleAllocated())
    SendMessageA(control_.Handle(), messages_.remove, static_cast<WPARAM>(index), 0);
  OnChange(nullptr);
}

void TControlItems::Clear() {
  items_.clear();
  if (messages_.reset && control_.HandleAllocated())
    SendMessageA(control_.Handle(), messages_.reset, 0, 0);
  OnChange(nullptr);
}

void TControlItems::Exchange(int a, int b) {
  std::string textA = Strings(a), textB = Strings(b);
  void *objectA = Objects(a), *objectB = Objects(b);
  Put(a, textB);
  PutObject(a, objectB);
  Put(b, textA);
  PutObject(b, objectA);
}

int TControlItems::IndexOf(const std::string &text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Strings(i), text))
      return i;
  return -1;
}

std::string TControlItems::Text() const {
  std::string text;
  for (const Item &item : items_)
    text += item.text + "\r\n";
  return text;
}

void TControlItems::SetText(const std::string &text) {
  items_.clear();
  if (messages_.reset && control_.HandleAllocated())
    SendMessageA(control_.Handle(), messages_.reset, 0, 0);
  for (const std::string &line : splitLines(text)) {
    items_.push_back(Item{line, nullptr});
    insertIntoWindow(Count() - 1);
  }
  OnChange(nullptr);
}

void TControlItems::replaceStored(const std::vector<std::string> &texts) {
  items_.clear();
  items_.reserve(texts.size());
  for (const std::string &text : texts)
    items_.push_back(Item{text, nullptr});
}

void TControlItems::fillWindow() {
  for (int i = 0; i < Count(); ++i)
    insertIntoWindow(i);
}

} // namespace components
