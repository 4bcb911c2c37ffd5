// The decoding-table builder on code counts and values as stored in a file:
// impossible counts are refused, and it never reads or writes out of bounds.
#include "jpeg/core/huffman-table.h"

#include "testing/fuzz-harness.h"

// Bytes 0 to 16 are BITS (byte 0 unused), the rest are the values.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::uint8_t bits[17] = {};
  std::uint8_t values[256] = {};
  for (std::size_t i = 0; i < 17 && i < size; ++i)
    bits[i] = data[i];
  int count = 0;
  for (std::size_t i = 17; i < size && count < 256; ++i)
    values[count++] = data[i];
  pixtune::DecodingTable table;
  pixtune::BuildDecodingHuffmanTable(bits, values, count, table);
  return 0;
}
