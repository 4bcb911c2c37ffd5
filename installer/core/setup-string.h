// SetupString: the installer's own text type. A handle on a shared,
// reference-counted representation holding the zero-terminated bytes and
// the size of their buffer. The buffer size follows one rule everywhere:
// the byte count of the text with its terminator, rounded down to a
// multiple of 256, plus 256 (256 for up to 254 characters, 512 for 255 to
// 510, ...). Copies share the representation; anything that changes a
// string or hands out a writable pointer first makes it the sole owner.
#ifndef INSTALLER_CORE_SETUP_STRING_H
#define INSTALLER_CORE_SETUP_STRING_H

#include <cstddef>

namespace installer {

class SetupString {
public:
  SetupString();
  SetupString(const char *text); // NOLINT: converting, as the texts are used
  // An empty string whose buffer has room for at least byteCount bytes.
  static SetupString withRoom(std::size_t byteCount);
  SetupString(const SetupString &other);
  SetupString &operator=(const SetupString &other);
  SetupString &operator=(const char *text);
  ~SetupString();

  SetupString &operator+=(const char *text);
  SetupString &operator+=(const SetupString &other) { return *this += other.c_str(); }

  // Empties the string and gives it a buffer of the rule's size for
  // byteCount bytes.
  void reserve(std::size_t byteCount);

  const char *c_str() const;
  std::size_t length() const;
  bool empty() const { return length() == 0; }
  // Size of the buffer in bytes.
  std::size_t capacity() const;
  // Owners of the representation (for tests of the sharing).
  long shareCount() const;

  // Writable access: the string first gets a representation of its own.
  // After writing through data(), call syncLength() when the terminator
  // may have moved.
  char *data();
  char &at(std::size_t index);
  void syncLength();

  // Position of the first occurrence of text, -1 when absent.
  long find(const char *text) const;
  // Characters from first to last, both included; empty when last lies
  // before first. Positions outside the text are clamped to it.
  SetupString mid(long first, long last) const;
  SetupString left(std::size_t count) const;
  SetupString right(std::size_t count) const;
  // Removal of space, tab, line feed, vertical tab, form feed and carriage
  // return at the start or at the end; bytes of 0x80 and above stay.
  SetupString &trimLeft();
  SetupString &trimRight();

  // The buffer size the rule gives for byteCount bytes (terminator included).
  static std::size_t roundedSize(std::size_t byteCount);

private:
  struct Representation;
  explicit SetupString(Representation *representation);
  static Representation *allocate(std::size_t byteCount);
  static Representation *fromText(const char *text, std::size_t length);
  void release();
  void makeSoleOwner();
  // Replaces the text with length bytes from text (which may point into
  // the string itself).
  void assign(const char *text, std::size_t length);

  Representation *representation_;
};

SetupString operator+(const SetupString &a, const SetupString &b);
SetupString operator+(const SetupString &a, const char *b);
SetupString operator+(const char *a, const SetupString &b);
bool operator==(const SetupString &a, const char *b);
inline bool operator!=(const SetupString &a, const char *b) { return !(a == b); }

bool isSetupWhiteSpace(char c);

} // namespace installer

#endif
