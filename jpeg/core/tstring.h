// Pixtune's string: a handle to a shared, reference-counted text whose
// buffer grows in 256-byte capacity classes. Copies share the text; every
// writing access first makes it private (copy on write). Texts are bytes of
// the ANSI code page, as the dialogs and string tables use them.
#ifndef JPEG_CORE_TSTRING_H
#define JPEG_CORE_TSTRING_H

#include <cstddef>
#include <cstdint>

namespace pixtune {

class TString {
public:
  // The capacity class for needed bytes (length + 1): rounded down to a
  // multiple of 256, plus 256, so it is always larger than needed.
  static int CapacityFor(std::size_t neededBytes);

  TString();
  TString(const char *text); // null is the empty string
  TString(const TString &other);
  TString &operator=(const TString &other);
  TString &operator=(const char *text);
  ~TString();

  // A string whose buffer holds at least neededBytes, holding "".
  static TString Reserved(std::size_t neededBytes);

  // Makes room for neededBytes and leaves "": the buffer is kept only when
  // this string is its sole owner and its capacity is the new class.
  void Reserve(std::size_t neededBytes);
  // The text for writing (capacity bytes); unshares first.
  char *Buffer();

  void Append(const char *text);
  void Append(const TString &text) { Append(text.c_str()); }
  void AppendInt(long long value);
  // The value in the radix (2..36), negative values with a minus sign.
  void SetInt(long long value, int radix = 10);
  // The value with 64 significant digits, cut (not rounded) after the
  // given number of decimals; always with a "." whatever the C locale.
  void SetDouble(double value, int decimals);

  const char *c_str() const;
  std::size_t Length() const;
  int Capacity() const;
  int ShareCount() const; // for tests: holders of this text
  bool operator==(const char *text) const;

  friend TString operator+(const TString &a, const TString &b);
  friend TString operator+(const TString &a, const char *b);

private:
  struct Rep;
  static Rep *NewRep(int capacity);
  static Rep *EmptyRep();
  void Release();
  void Unshare();
  Rep *rep_;
};

} // namespace pixtune

#endif
