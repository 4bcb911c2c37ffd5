// A read-only stream over another that reads it in large chunks. The
// encoders take their source 45 or 57 bytes at a time; over an unbuffered
// file stream each of those reads would be a system call.
#ifndef BILLPOST_READ_AHEAD_STREAM_H
#define BILLPOST_READ_AHEAD_STREAM_H

#include "platform/components/core/stream.h"

#include <cstdint>
#include <vector>

namespace billpost {

class ReadAheadStream : public components::TStream {
public:
  // The source is not owned; reading starts at its position.
  explicit ReadAheadStream(components::TStream &source, std::size_t chunk = 64 * 1024);

  std::size_t Read(void *buffer, std::size_t count) override;
  // Read-only: writes nothing.
  std::size_t Write(const void *buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, components::TSeekOrigin origin) override;
  std::int64_t Size() override { return source_.Size(); }
  // Throws EWriteError: the stream is read-only.
  void SetSize(std::int64_t size) override;

private:
  components::TStream &source_;
  std::vector<std::uint8_t> chunk_;
  std::size_t next_ = 0;   // first unread byte of chunk_
  std::size_t filled_ = 0; // bytes of chunk_ read from the source
  std::int64_t position_;  // of the next byte handed out
};

} // namespace billpost

#endif
