// Lookups in "STR0" string tables.
#include "clipboard-checker/core/string-table.h"

#include <cstring>

namespace lexitray {

namespace {
constexpr std::size_t headerSize = 8;
constexpr std::size_t entrySize = 12;
} // namespace

std::uint32_t StringTableView::word(std::size_t offset) const {
  return static_cast<std::uint32_t>(data_[offset]) |
         static_cast<std::uint32_t>(data_[offset + 1]) << 8 |
         static_cast<std::uint32_t>(data_[offset + 2]) << 16 |
         static_cast<std::uint32_t>(data_[offset + 3]) << 24;
}

std::uint32_t StringTableView::entryCount() const { return hasValidHeader() ? word(4) : 0; }

bool StringTableView::hasValidHeader() const {
  if (!data_ || size_ < headerSize || std::memcmp(data_, "STR0", 4) != 0)
    return false;
  // Divide instead of multiplying: the count is the table's word, not ours.
  return word(4) <= (size_ - headerSize) / entrySize;
}

bool StringTableView::find(std::uint32_t id, std::u16string &text) const {
  text.clear();
  std::uint32_t count = entryCount();
  if (count == 0)
    return false;
  std::size_t low = 0, high = count - 1;
  while (low <= high) {
    std::size_t middle = (low + high) / 2;
    std::size_t entry = headerSize + middle * entrySize;
    std::uint32_t entryId = word(entry);
    if (entryId < id) {
      low = middle + 1;
      continue;
    }
    if (entryId > id) {
      if (middle == 0)
        return false;
      high = middle - 1;
      continue;
    }
    std::uint32_t offset = word(entry + 4), length = word(entry + 8);
    if (offset > size_ || length > (size_ - offset) / 2)
      return false;
    text.resize(length);
    for (std::uint32_t i = 0; i < length; ++i)
      text[i] = static_cast<char16_t>(data_[offset + 2 * i] | data_[offset + 2 * i + 1] << 8);
    return true;
  }
  return false;
}

} // namespace lexitray
