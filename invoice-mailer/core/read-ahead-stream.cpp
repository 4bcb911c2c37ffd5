// Read-ahead over a stream.
#include "invoice-mailer/core/read-ahead-stream.h"

#include "platform/components/core/exception.h"

#include <algorithm>
#include <cstring>

namespace billpost {

ReadAheadStream::ReadAheadStream(components::TStream &source, std::size_t chunk)
    : source_(source), chunk_(chunk), position_(source.Position()) {}

std::size_t ReadAheadStream::Read(void *buffer, std::size_t count) {
  auto *out = static_cast<std::uint8_t *>(buffer);
  std::size_t done = 0;
  while (done < count) {
    if (next_ == filled_) {
      next_ = 0;
      filled_ = source_.Read(chunk_.data(), chunk_.size());
      if (filled_ == 0)
        break;
    }
    std::size_t n = std::min(count - done, filled_ - next_);
    std::memcpy(out + done, chunk_.data() + next_, n);
    next_ += n;
    done += n;
  }
  position_ += static_cast<std::int64_t>(done);
  return done;
}

std::size_t ReadAheadStream::Write(const void *, std::size_t) { return 0; }

std::int64_t ReadAheadStream::Seek(std::int64_t offset, components::TSeekOrigin origin) {
  if (origin == components::TSeekOrigin::soCurrent && offset == 0)
    return position_;
  // Anywhere else: the source moves, and what was read ahead is dropped.
  std::int64_t target = source_.Seek(
      origin == components::TSeekOrigin::soCurrent ? position_ + offset : offset,
      origin == components::TSeekOrigin::soCurrent ? components::TSeekOrigin::soBeginning : origin);
  if (target < 0) {
    source_.Seek(position_, components::TSeekOrigin::soBeginning);
    return -1;
  }
  next_ = filled_ = 0;
  position_ = target;
  return position_;
}

void ReadAheadStream::SetSize(std::int64_t) { throw components::EWriteError("Stream write error"); }

} // namespace billpost
