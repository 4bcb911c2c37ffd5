// Failures inside the compressor. Everything that can go wrong while an
// image is read, encoded or written is thrown as one of these and caught at
// the export boundary or in the write step, which turn the code into a
// status value. The codes are fixed because the string table and the
// status mapping key on them.
#ifndef JPEG_CORE_JPEG_ERRORS_H
#define JPEG_CORE_JPEG_ERRORS_H

#include <exception>

namespace pixtune {

enum ErrorCode : int {
  ErrorWriteFailed = 1004, // the encoder's output stream took fewer bytes than given
  ErrorOutOfMemory = 1005, // an allocation failed or its size does not fit 32 bits
  ErrorBadImage = 1006,    // a bitmap whose header does not match its data
  ErrorCodeTooLong = 1020, // a Huffman code longer than 32 bits
  ErrorStreamGrow = 2002,  // a memory stream cannot grow
  ErrorFileOpen = 2003,    // a file cannot be opened
  ErrorFileCreate = 2004,  // a file cannot be created
};

// Common base so that the write step can catch both kinds in one place.
class TError : public std::exception {
public:
  explicit TError(int code) : code_(code) {}
  int Code() const { return code_; }
  const char *what() const noexcept override { return "pixtune error"; }

private:
  int code_;
};

// Memory, image and encoder failures (1004, 1005, 1006, 1020).
class TVMError : public TError {
public:
  explicit TVMError(int code) : TError(code) {}
};

// Stream failures (2002, 2003, 2004).
class TStreamError : public TError {
public:
  explicit TStreamError(int code) : TError(code) {}
};

} // namespace pixtune

#endif
