// The encoded lines of an attachment in one buffer.
#include "invoice-mailer/core/line-list.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace billpost {

LineList::~LineList() {
  if (text_)
    memory_->deallocate(text_, capacity_);
}

std::string_view LineList::operator[](int index) const {
  if (index < 0 || index >= Count())
    throw std::out_of_range("line index out of range");
  auto i = static_cast<std::size_t>(index);
  std::size_t begin = i == 0 ? 0 : ends_[i - 1];
  return {text_ + begin, ends_[i] - begin};
}

void LineList::reserveText(std::size_t bytes) {
  if (bytes <= capacity_)
    return;
  auto *grown = static_cast<char *>(memory_->allocate(bytes));
  if (size_ > 0)
    std::memcpy(grown, text_, size_);
  if (text_)
    memory_->deallocate(text_, capacity_);
  text_ = grown;
  capacity_ = bytes;
}

void LineList::Reserve(std::size_t lines, std::size_t bytes) {
  ends_.reserve(lines);
  reserveText(bytes);
}

void LineList::Clear() {
  size_ = 0;
  ends_.clear();
}

void LineList::Add(std::string_view line) {
  char *out = Extend(line.size());
  if (!line.empty())
    std::memcpy(out, line.data(), line.size());
  Commit(line.size());
}

char *LineList::Extend(std::size_t most) {
  if (most > capacity_ - size_) {
    if (most > SIZE_MAX / 2 - size_)
      throw std::length_error("line list too long");
    reserveText(std::max(size_ + most, capacity_ * 2));
  }
  return text_ ? text_ + size_ : nullptr;
}

void LineList::Commit(std::size_t length) {
  ends_.push_back(size_ + length);
  size_ += length;
}

std::vector<std::string> LineList::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(ends_.size());
  for (int i = 0; i < Count(); ++i)
    lines.emplace_back((*this)[i]);
  return lines;
}

} // namespace billpost
