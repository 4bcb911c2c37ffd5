// Streams: the abstract byte stream, a file stream and a memory stream.
// ReadBuffer and WriteBuffer move exactly the bytes asked for or throw
// EReadError / EWriteError; opening a file that cannot be opened or created
// throws EFOpenError / EFCreateError naming the file.
#ifndef COMPONENTS_STREAM_H
#define COMPONENTS_STREAM_H

#include "platform/components/core/event.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace components {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// File modes, combinable with the share flags (which the platform-free
// build ignores).
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyNone = 0x0040;
constexpr unsigned fmCreate = 0xFFFF;

class TStream : public TObject {
public:
  // Reads up to count bytes; answers how many were read (0 at the end).
  virtual std::size_t Read(void *buffer, std::size_t count) = 0;
  // Writes up to count bytes; answers how many were written.
  virtual std::size_t Write(const void *buffer, std::size_t count) = 0;
  // Moves the position; answers the new position.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  virtual std::int64_t Size();
  virtual void SetSize(std::int64_t size) = 0;

  std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  // Bytes between the position and the end.
  std::int64_t Remaining() { return Size() - Position(); }

  void ReadBuffer(void *buffer, std::size_t count);
  void WriteBuffer(const void *buffer, std::size_t count);
};

class TFileStream : public TStream {
public:
  TFileStream(const std::string &fileName, unsigned mode);
  ~TFileStream() override;
  TFileStream(const TFileStream &) = delete;
  TFileStream &operator=(const TFileStream &) = delete;

  std::size_t Read(void *buffer, std::size_t count) override;
  std::size_t Write(const void *buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  void SetSize(std::int64_t size) override;

private:
  std::string fileName_;
  std::FILE *file_ = nullptr;
};

class TMemoryStream : public TStream {
public:
  std::size_t Read(void *buffer, std::size_t count) override;
  std::size_t Write(const void *buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
  void SetSize(std::int64_t size) override;

private:
  std::vector<std::uint8_t> data_;
  std::size_t position_ = 0;
};

} // namespace components

#endif
