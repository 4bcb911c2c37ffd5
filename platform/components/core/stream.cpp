// Byte streams: the common helpers of TStream, a file stream over the C
// library and a growable memory stream.
#include "platform/components/core/stream.h"

#include "platform/components/core/exception.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

namespace components {

namespace {

// Moves the C library's file position with 64-bit offsets.
int seekFile(std::FILE *file, std::int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin);
#else
  return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

std::int64_t tellFile(std::FILE *file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return static_cast<std::int64_t>(ftello(file));
#endif
}

int seekOrigin(TSeekOrigin origin) {
  switch (origin) {
  case TSeekOrigin::soBeginning:
    return SEEK_SET;
  case TSeekOrigin::soCurrent:
    return SEEK_CUR;
  case TSeekOrigin::soEnd:
    return SEEK_END;
  }
  return SEEK_SET;
}

const char *openModeFor(unsigned mode) {
  switch (mode & 3u) {
  case fmOpenWrite:
  case fmOpenReadWrite:
    return "r+b";
  default:
    return "rb";
  }
}

} // namespace

std::int64_t TStream::Size() {
  std::int64_t position = Seek(0, TSeekOrigin::soCurrent);
  std::int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void *buffer, std::size_t count) {
  if (count != 0 && Read(buffer, count) != count)
    throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void *buffer, std::size_t count) {
  if (count != 0 && Write(buffer, count) != count)
    throw EWriteError("Stream write error");
}

// Unbuffered, so that every Write reaches the file at once (as the
// platform's file streams do) and a failure is seen by the write that
// caused it rather than lost in a close.
TFileStream::TFileStream(const std::string &fileName, unsigned mode) : fileName_(fileName) {
  if (mode == fmCreate) {
    file_ = std::fopen(fileName.c_str(), "w+b");
    if (!file_)
      throw EFCreateError("Cannot create file \"" + fileName + "\"");
  } else {
    file_ = std::fopen(fileName.c_str(), openModeFor(mode));
    if (!file_)
      throw EFOpenError("Cannot open file \"" + fileName + "\"");
  }
  std::setvbuf(file_, nullptr, _IONBF, 0);
}

TFileStream::~TFileStream() { std::fclose(file_); }

std::size_t TFileStream::Read(void *buffer, std::size_t count) {
  // The C library needs a seek between writing and reading.
  seekFile(file_, 0, SEEK_CUR);
  return std::fread(buffer, 1, count, file_);
}

std::size_t TFileStream::Write(const void *buffer, std::size_t count) {
  seekFile(file_, 0, SEEK_CUR);
  return std::fwrite(buffer, 1, count, file_);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  if (seekFile(file_, offset, seekOrigin(origin)) != 0)
    return -1;
  return tellFile(file_);
}

void TFileStream::SetSize(std::int64_t size) {
  std::int64_t position = Position();
  std::fflush(file_);
  std::error_code error;
  if (size < 0)
    throw EWriteError("Stream write error");
  std::filesystem::resize_file(fileName_, static_cast<std::uintmax_t>(size), error);
  if (error)
    throw EWriteError("Stream write error");
  Seek(std::min(position, size), TSeekOrigin::soBeginning);
}

std::size_t TMemoryStream::Read(void *buffer, std::size_t count) {
  if (position_ >= data_.size())
    return 0;
  std::size_t n = std::min(count, data_.size() - position_);
  std::memcpy(buffer, data_.data() + position_, n);
  position_ += n;
  return n;
}

// Writing past the end grows the stream; a gap left by seeking beyond the
// end reads as zeros.
std::size_t TMemoryStream::Write(const void *buffer, std::size_t count) {
  if (count == 0)
    return 0;
  if (count > data_.max_size() - position_)
    return 0;
  std::size_t end = position_ + count;
  if (end > data_.size())
    data_.resize(end);
  std::memcpy(data_.data() + position_, buffer, count);
  position_ = end;
  return count;
}

// A position before the start becomes the start; one past what memory can
// address is refused and leaves the position alone.
std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = origin == TSeekOrigin::soBeginning ? 0
                      : origin == TSeekOrigin::soCurrent ? static_cast<std::int64_t>(position_)
                                                         : Size();
  if (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset)
    return static_cast<std::int64_t>(position_);
  std::int64_t target = std::max<std::int64_t>(base + offset, 0);
  if (static_cast<std::uint64_t>(target) > data_.max_size())
    return static_cast<std::int64_t>(position_);
  position_ = static_cast<std::size_t>(target);
  return target;
}

void TMemoryStream::SetSize(std::int64_t size) {
  if (size < 0 || static_cast<std::uint64_t>(size) > data_.max_size())
    throw EWriteError("Stream write error");
  data_.resize(static_cast<std::size_t>(size));
  if (position_ > data_.size())
    position_ = data_.size();
}

} // namespace components
