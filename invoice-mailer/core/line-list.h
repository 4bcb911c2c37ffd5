// The encoded lines of an attachment: every line's characters back to back
// in one buffer, and where each line ends. A list of ten thousand lines is
// two blocks of memory, not ten thousand small strings, and an encoder that
// knows how much it will write reserves both at once, so a large
// attachment costs no allocation per line and touches no memory beyond
// its own text and one offset a line.
#ifndef BILLPOST_LINE_LIST_H
#define BILLPOST_LINE_LIST_H

#include <cstddef>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

namespace billpost {

class LineList {
public:
  // Both blocks come from memory (the program's default resource unless
  // told otherwise); the command-line tool gives large blocks whole pages.
  explicit LineList(std::pmr::memory_resource *memory = std::pmr::get_default_resource())
      : memory_(memory), ends_(memory) {}
  ~LineList();
  LineList(const LineList &) = delete;
  LineList &operator=(const LineList &) = delete;

  int Count() const { return static_cast<int>(ends_.size()); }
  std::string_view operator[](int index) const;

  // Room for lines and text bytes in all; the list still grows past it.
  void Reserve(std::size_t lines, std::size_t bytes);
  // Empties the list; the room stays.
  void Clear();
  void Add(std::string_view line);
  // The next line written in place: room for up to most characters at the
  // end of the text, of which the line keeps length (at most most) when
  // Commit is called.
  char *Extend(std::size_t most);
  void Commit(std::size_t length);

  // Every line's characters back to back, without separators.
  std::string_view Text() const { return {text_, size_}; }
  std::size_t TextCapacity() const { return capacity_; }
  std::size_t LineCapacity() const { return ends_.capacity(); }

  std::vector<std::string> Lines() const;

private:
  void reserveText(std::size_t bytes);

  // The text is a plain block, not a vector: a vector would fill the room
  // of each line with zeros before the line is written into it.
  std::pmr::memory_resource *memory_;
  char *text_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::pmr::vector<std::size_t> ends_; // one past each line's last character
};

} // namespace billpost

#endif
