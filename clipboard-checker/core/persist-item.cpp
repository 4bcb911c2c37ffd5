// Item lines of the persistence component.
#include "clipboard-checker/core/persist-item.h"

namespace lexitray {

const char ownerFormName[] = "(TForm)";

namespace {

std::string trimmed(const std::string &text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return std::string();
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

} // namespace

PersistItem PersistItem::parse(const std::string &line) {
  PersistItem item;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = line.find(';', start);
    item.fields.push_back(trimmed(line.substr(start, end - start)));
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  return item;
}

std::string PersistItem::field(std::size_t n) const {
  return n < fields.size() ? fields[n] : std::string();
}

std::string PersistItem::line() const {
  std::string text;
  for (std::size_t i = 0; i < fields.size(); ++i)
    text += (i ? ";" : "") + fields[i];
  return text;
}

} // namespace lexitray
