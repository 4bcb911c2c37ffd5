// The byte layout in which an ActiveX control of the add-on keeps its
// properties (a stream of its own, or the stream "Contents" of a storage),
// little-endian:
//   version      4 bytes, 0x00000300
//   _cx, _cy     4 bytes each, the extent in 0.01 mm
//   per text     variant type (2 bytes, 8 = string), byte count n (4 bytes:
//                the UTF-16 bytes plus 2 for the terminating zero; 0 for a
//                null text), then the n bytes
// The reader checks every count before it allocates or reads: a count must
// be even, hold its terminating zero, fit in what remains of the stream and
// stay under MaxTextBytes. Anything else fails the whole load.
#ifndef PLATFORM_COM_CORE_CONTROL_STREAM_H
#define PLATFORM_COM_CORE_CONTROL_STREAM_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace com {

const std::uint32_t ControlStreamVersion = 0x300;
// A component's XML is a few kilobytes; 16 MiB leaves room for any drawing
// and refuses a count that only a damaged stream would hold.
const std::uint32_t MaxTextBytes = 16u << 20;
const std::uint16_t VariantString = 8;

struct StoredText {
  bool null = true;
  std::u16string units; // without the terminating zero
};

struct ControlProperties {
  std::uint32_t width = 0, height = 0;
  std::vector<StoredText> texts; // in the property map's order
};

enum class StreamStatus {
  Ok,
  Truncated,     // the stream ends inside a field
  NewerVersion,  // a version above 0x300
  NotAString,    // a variant type other than 8
  OddCount,      // a byte count that is no whole number of UTF-16 units
  CountTooLarge, // beyond what remains, or beyond MaxTextBytes
  NoTerminator,  // a count without room for, or without, the final zero
};

// Where the reader takes its bytes from: a memory block, an IStream.
class ByteSource {
public:
  virtual ~ByteSource() = default;
  // Reads exactly size bytes; false when fewer are there.
  virtual bool read(void *into, std::size_t size) = 0;
  // The bytes that remain to be read.
  virtual std::uint64_t remaining() const = 0;
};

class MemorySource : public ByteSource {
public:
  MemorySource(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
  bool read(void *into, std::size_t size) override;
  std::uint64_t remaining() const override { return size_ - at_; }

private:
  const std::uint8_t *data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Reads the header and textCount texts. On failure properties is left as
// it was.
StreamStatus readControlProperties(ByteSource &source, std::size_t textCount,
                                   ControlProperties &properties);

// The bytes of properties in the layout above.
std::string writeControlProperties(const ControlProperties &properties);

} // namespace com

#endif
