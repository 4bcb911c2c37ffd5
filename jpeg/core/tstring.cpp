// The shared string representation and its operations.
#include "jpeg/core/tstring.h"

#include "jpeg/core/jpeg-errors.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <new>

namespace pixtune {

struct TString::Rep {
  char *text;
  int count;
  int capacity;
};

int TString::CapacityFor(std::size_t neededBytes) {
  std::size_t capacity = neededBytes / 256 * 256 + 256;
  if (capacity > 0x7fffff00u)
    throw TVMError(ErrorOutOfMemory);
  return static_cast<int>(capacity);
}

TString::Rep *TString::NewRep(int capacity) {
  Rep *rep = new Rep{nullptr, 1, capacity};
  rep->text = static_cast<char *>(std::malloc(static_cast<std::size_t>(capacity)));
  if (!rep->text) {
    delete rep;
    throw TVMError(ErrorOutOfMemory);
  }
  rep->text[0] = '\0';
  return rep;
}

TString::Rep *TString::EmptyRep() { return NewRep(CapacityFor(1)); }

TString::TString() : rep_(EmptyRep()) {}

TString::TString(const char *text) : rep_(nullptr) {
  std::size_t length = text ? std::strlen(text) : 0;
  rep_ = NewRep(CapacityFor(length + 1));
  if (length)
    std::memcpy(rep_->text, text, length + 1);
}

TString::TString(const TString &other) : rep_(other.rep_) { ++rep_->count; }

TString &TString::operator=(const TString &other) {
  if (rep_ != other.rep_) {
    ++other.rep_->count;
    Release();
    rep_ = other.rep_;
  }
  return *this;
}

// A null text empties the string: a sole owner of a 256-byte buffer keeps
// it; otherwise the other holders keep their text and this one gets a new
// empty representation.
TString &TString::operator=(const char *text) {
  if (!text) {
    if (rep_->count == 1 && rep_->capacity == CapacityFor(1)) {
      rep_->text[0] = '\0';
    } else {
      Rep *empty = EmptyRep();
      Release();
      rep_ = empty;
    }
    return *this;
  }
  std::size_t length = std::strlen(text);
  int capacity = CapacityFor(length + 1);
  if (rep_->count == 1 && rep_->capacity == capacity) {
    std::memmove(rep_->text, text, length + 1);
  } else {
    Rep *fresh = NewRep(capacity);
    std::memcpy(fresh->text, text, length + 1);
    Release();
    rep_ = fresh;
  }
  return *this;
}

TString::~TString() { Release(); }

void TString::Release() {
  if (rep_ && --rep_->count == 0) {
    std::free(rep_->text);
    delete rep_;
  }
  rep_ = nullptr;
}

TString TString::Reserved(std::size_t neededBytes) {
  TString result;
  result.Reserve(neededBytes);
  return result;
}

void TString::Reserve(std::size_t neededBytes) {
  int capacity = CapacityFor(neededBytes);
  if (rep_->count == 1 && rep_->capacity == capacity) {
    rep_->text[0] = '\0';
    return;
  }
  Rep *fresh = NewRep(capacity);
  Release();
  rep_ = fresh;
}

void TString::Unshare() {
  if (rep_->count < 2)
    return;
  Rep *copy = NewRep(rep_->capacity);
  std::memcpy(copy->text, rep_->text, std::strlen(rep_->text) + 1);
  --rep_->count;
  rep_ = copy;
}

char *TString::Buffer() {
  Unshare();
  return rep_->text;
}

void TString::Append(const char *text) {
  if (!text || !*text)
    return;
  std::size_t own = Length();
  std::size_t extra = std::strlen(text);
  int capacity = CapacityFor(own + extra + 1);
  if (rep_->count == 1 && capacity <= rep_->capacity) {
    std::memmove(rep_->text + own, text, extra + 1);
    return;
  }
  Rep *joined = NewRep(capacity);
  std::memcpy(joined->text, rep_->text, own);
  std::memcpy(joined->text + own, text, extra + 1);
  Release();
  rep_ = joined;
}

void TString::AppendInt(long long value) {
  TString digits;
  digits.SetInt(value, 10);
  Append(digits.c_str());
}

void TString::SetInt(long long value, int radix) {
  char digits[40];
  if (radix < 2 || radix > 36)
    radix = 10;
  auto result = std::to_chars(digits, digits + sizeof digits - 1, value, radix);
  *result.ptr = '\0';
  *this = digits;
}

// to_chars is locale-free, so the ratio reads "29.29" on every host.
void TString::SetDouble(double value, int decimals) {
  char text[128];
  auto result = std::to_chars(text, text + sizeof text - 1, value, std::chars_format::general, 64);
  if (result.ec != std::errc())
    result.ptr = text;
  *result.ptr = '\0';
  if (decimals > 0) {
    char *point = std::strchr(text, '.');
    if (point && !std::strchr(text, 'e') &&
        std::strlen(point + 1) > static_cast<std::size_t>(decimals))
      point[1 + decimals] = '\0';
  }
  *this = text;
}

const char *TString::c_str() const { return rep_->text; }
std::size_t TString::Length() const { return std::strlen(rep_->text); }
int TString::Capacity() const { return rep_->capacity; }
int TString::ShareCount() const { return rep_->count; }
bool TString::operator==(const char *text) const {
  return std::strcmp(rep_->text, text ? text : "") == 0;
}

TString operator+(const TString &a, const char *b) {
  TString joined = TString::Reserved(a.Length() + (b ? std::strlen(b) : 0) + 1);
  joined.Append(a.c_str());
  joined.Append(b);
  return joined;
}

TString operator+(const TString &a, const TString &b) { return a + b.c_str(); }

} // namespace pixtune
