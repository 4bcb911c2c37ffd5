// Huffman tables of the encoder: optimal code lengths from symbol counts
// (ITU T.81 Annex K.2, with the 16-bit limit of K.3), canonical code
// assignment (Annex C), and the decoding tables of Annex F.
#ifndef JPEG_CORE_HUFFMAN_TABLE_H
#define JPEG_CORE_HUFFMAN_TABLE_H

#include <cstdint>

namespace pixtune {

struct HuffmanTable {
  std::uint8_t bits[17] = {};    // bits[n]: number of codes of length n
  std::uint8_t values[256] = {}; // HUFFVAL, by code length then value
  int valueCount = 0;
  std::uint16_t code[256] = {}; // per symbol
  std::uint8_t size[256] = {};  // per symbol; 0 = the symbol has no code
};

// Computes BITS and HUFFVAL from 256 symbol counts (a reserved count for
// symbol 256 is added here, so no code is all ones). Throws TVMError 1020
// when a code would exceed 32 bits.
void BuildOptimalHuffmanTable(const std::uint32_t counts[256], HuffmanTable &table);

// Assigns the canonical codes of BITS and HUFFVAL to the symbols.
void BuildHuffmanCode(HuffmanTable &table);

// Decoding tables: for each length the smallest and largest code and the
// index of its first value, plus a look-ahead of 8 bits (length 0 when the
// code is longer).
struct DecodingTable {
  std::int32_t minCode[17] = {};
  std::int32_t maxCode[18] = {}; // -1 where a length has no codes
  std::int32_t valuePointer[17] = {};
  std::uint8_t lookLength[256] = {};
  std::uint8_t lookValue[256] = {};
};

// Returns false when BITS describe more codes than fit their lengths or
// more than the 256 values given.
bool BuildDecodingHuffmanTable(const std::uint8_t bits[17], const std::uint8_t *values,
                               int valueCount, DecodingTable &table);

} // namespace pixtune

#endif
