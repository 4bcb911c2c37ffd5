// Reader of the "STR0" string tables that travel inside the program as raw
// data resources. Layout (integers little-endian, 32 bits):
//   0        "STR0"
//   4        entry count n
//   8        n entries of 12 bytes, sorted by ascending id:
//              id, byte offset of the text from the table's start,
//              text length in UTF-16 code units
//   8 + 12n  the texts, UTF-16LE, not terminated
// The reader works on bytes it does not own; the Win32 side hands it the
// locked resource.
#ifndef CLIPBOARD_CHECKER_CORE_STRING_TABLE_H
#define CLIPBOARD_CHECKER_CORE_STRING_TABLE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace lexitray {

class StringTableView {
public:
  StringTableView(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}

  // True when the table begins with "STR0" and its entries lie inside it.
  // A table that claims more entries than it holds is as damaged as one
  // with the wrong magic: trusting the count would read past the resource.
  bool hasValidHeader() const;
  std::uint32_t entryCount() const;

  // Binary search by id. False when there is no such entry, or when the
  // entry's text lies outside the table (then text is left empty too).
  bool find(std::uint32_t id, std::u16string &text) const;

private:
  std::uint32_t word(std::size_t offset) const;

  const std::uint8_t *data_;
  std::size_t size_;
};

} // namespace lexitray

#endif
