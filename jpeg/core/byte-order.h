// Little-endian field access for the bitmap header, never a struct laid
// over the bytes.
#ifndef JPEG_CORE_BYTE_ORDER_H
#define JPEG_CORE_BYTE_ORDER_H

#include <cstdint>

namespace pixtune {

inline std::uint16_t readLE16(const std::uint8_t *p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t readLE32(const std::uint8_t *p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline void writeLE16(std::uint8_t *p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void writeLE32(std::uint8_t *p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace pixtune

#endif
