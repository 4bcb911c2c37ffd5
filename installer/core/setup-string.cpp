// SetupString: shared representation with a reference count; see the header
// for the buffer-size rule.
#include "installer/core/setup-string.h"

#include <cassert>
#include <cstring>
#include <memory>

namespace installer {

struct SetupString::Representation {
  long owners = 1;
  std::size_t size = 0;   // bytes in the buffer
  std::size_t length = 0; // characters before the terminator
  std::unique_ptr<char[]> text;
};

std::size_t SetupString::roundedSize(std::size_t byteCount) { return byteCount / 256 * 256 + 256; }

bool isSetupWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

SetupString::Representation *SetupString::allocate(std::size_t byteCount) {
  auto representation = std::make_unique<Representation>();
  representation->size = roundedSize(byteCount);
  representation->text = std::make_unique<char[]>(representation->size);
  representation->text[0] = '\0';
  return representation.release();
}

SetupString::Representation *SetupString::fromText(const char *text, std::size_t length) {
  Representation *representation = allocate(length + 1);
  std::memcpy(representation->text.get(), text, length);
  representation->text[length] = '\0';
  representation->length = length;
  return representation;
}

SetupString::SetupString() : representation_(allocate(1)) {}

SetupString::SetupString(const char *text)
    : representation_(fromText(text ? text : "", text ? std::strlen(text) : 0)) {}

SetupString::SetupString(Representation *representation) : representation_(representation) {}

SetupString SetupString::withRoom(std::size_t byteCount) {
  return SetupString(allocate(byteCount));
}

SetupString::SetupString(const SetupString &other) : representation_(other.representation_) {
  ++representation_->owners;
}

SetupString &SetupString::operator=(const SetupString &other) {
  if (other.representation_ != representation_)
    assign(other.c_str(), other.length());
  return *this;
}

SetupString &SetupString::operator=(const char *text) {
  assign(text ? text : "", text ? std::strlen(text) : 0);
  return *this;
}

SetupString::~SetupString() { release(); }

void SetupString::release() {
  if (--representation_->owners == 0)
    delete representation_;
  representation_ = nullptr;
}

void SetupString::assign(const char *text, std::size_t length) {
  if (representation_->owners == 1 && roundedSize(length + 1) == representation_->size) {
    // memmove: the text may be a part of this very buffer (trimming).
    std::memmove(representation_->text.get(), text, length);
    representation_->text[length] = '\0';
    representation_->length = length;
    return;
  }
  Representation *fresh = fromText(text, length);
  release();
  representation_ = fresh;
}

SetupString &SetupString::operator+=(const char *text) {
  if (!text)
    return *this;
  std::size_t added = std::strlen(text);
  std::size_t length = representation_->length + added;
  if (representation_->owners == 1 && roundedSize(length + 1) == representation_->size) {
    std::memmove(representation_->text.get() + representation_->length, text, added);
    representation_->text[length] = '\0';
    representation_->length = length;
    return *this;
  }
  Representation *fresh = allocate(length + 1);
  std::memcpy(fresh->text.get(), representation_->text.get(), representation_->length);
  std::memcpy(fresh->text.get() + representation_->length, text, added);
  fresh->text[length] = '\0';
  fresh->length = length;
  release();
  representation_ = fresh;
  return *this;
}

void SetupString::reserve(std::size_t byteCount) {
  Representation *fresh = allocate(byteCount);
  release();
  representation_ = fresh;
}

const char *SetupString::c_str() const { return representation_->text.get(); }
std::size_t SetupString::length() const { return representation_->length; }
std::size_t SetupString::capacity() const { return representation_->size; }
long SetupString::shareCount() const { return representation_->owners; }

void SetupString::makeSoleOwner() {
  if (representation_->owners == 1)
    return;
  Representation *own = allocate(representation_->size - 1);
  std::memcpy(own->text.get(), representation_->text.get(), representation_->size);
  own->length = representation_->length;
  release();
  representation_ = own;
}

char *SetupString::data() {
  makeSoleOwner();
  return representation_->text.get();
}

char &SetupString::at(std::size_t index) {
  assert(index < representation_->size && "SetupString::at past the buffer");
  return data()[index];
}

void SetupString::syncLength() {
  // A writer may have filled the whole buffer: the last byte always ends it.
  representation_->text[representation_->size - 1] = '\0';
  representation_->length = std::strlen(representation_->text.get());
}

long SetupString::find(const char *text) const {
  const char *found = std::strstr(c_str(), text ? text : "");
  return found ? static_cast<long>(found - c_str()) : -1;
}

SetupString SetupString::mid(long first, long last) const {
  long end = static_cast<long>(length()) - 1;
  if (first < 0)
    first = 0;
  if (last > end)
    last = end;
  if (last < first)
    return SetupString();
  SetupString result;
  result.assign(c_str() + first, static_cast<std::size_t>(last - first + 1));
  return result;
}

SetupString SetupString::left(std::size_t count) const {
  return count == 0 ? SetupString() : mid(0, static_cast<long>(count) - 1);
}

SetupString SetupString::right(std::size_t count) const {
  if (count == 0)
    return SetupString();
  long end = static_cast<long>(length()) - 1;
  return mid(end - static_cast<long>(count) + 1, end);
}

SetupString &SetupString::trimLeft() {
  std::size_t start = 0;
  while (start < length() && isSetupWhiteSpace(c_str()[start]))
    ++start;
  if (start > 0)
    assign(c_str() + start, length() - start);
  return *this;
}

SetupString &SetupString::trimRight() {
  std::size_t end = length();
  while (end > 0 && isSetupWhiteSpace(c_str()[end - 1]))
    --end;
  if (end < length())
    assign(c_str(), end);
  return *this;
}

SetupString operator+(const SetupString &a, const SetupString &b) {
  SetupString result(a);
  result += b;
  return result;
}

SetupString operator+(const SetupString &a, const char *b) {
  SetupString result(a);
  result += b;
  return result;
}

SetupString operator+(const char *a, const SetupString &b) {
  SetupString result(a);
  result += b;
  return result;
}

bool operator==(const SetupString &a, const char *b) {
  return std::strcmp(a.c_str(), b ? b : "") == 0;
}

} // namespace installer
