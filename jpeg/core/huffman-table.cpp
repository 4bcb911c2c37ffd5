// Optimal Huffman tables, canonical codes and decoding tables.
#include "jpeg/core/huffman-table.h"

#include "jpeg/core/jpeg-errors.h"

#include <algorithm>

namespace pixtune {

namespace {

constexpr int SymbolCount = 257; // 256 symbols and the reserved one
constexpr int MaxCodeLength = 32;

// The position in the list of live symbols (ascending) of the least count
// other than the one at skip; among equal counts the larger symbol wins, so
// that the reserved symbol ends up with the longest code.
int leastCount(const std::uint64_t *counts, const int *live, int liveCount, int skip) {
  int found = -1;
  std::uint64_t best = 0;
  for (int p = 0; p < liveCount; ++p) {
    if (p == skip)
      continue;
    std::uint64_t count = counts[live[p]];
    if (found < 0 || count <= best) {
      best = count;
      found = p;
    }
  }
  return found;
}

} // namespace

void BuildOptimalHuffmanTable(const std::uint32_t counts[256], HuffmanTable &table) {
  std::uint64_t freq[SymbolCount];
  int codeSize[SymbolCount] = {};
  int others[SymbolCount];
  for (int i = 0; i < 256; ++i)
    freq[i] = counts[i];
  freq[256] = 1;
  for (int &o : others)
    o = -1;

  // Merge the two least frequent trees until one is left; every symbol of
  // a merged tree gets one bit longer (the chains in others list a tree).
  // Only the roots of the trees, the symbols whose count is not zero, are
  // searched.
  int live[SymbolCount];
  int liveCount = 0;
  for (int i = 0; i < SymbolCount; ++i)
    if (freq[i] != 0)
      live[liveCount++] = i;
  for (;;) {
    int p1 = leastCount(freq, live, liveCount, -1);
    int p2 = leastCount(freq, live, liveCount, p1);
    if (p2 < 0)
      break;
    int v1 = live[p1], v2 = live[p2];
    freq[v1] += freq[v2];
    freq[v2] = 0;
    std::copy(live + p2 + 1, live + liveCount, live + p2);
    --liveCount;
    ++codeSize[v1];
    while (others[v1] >= 0) {
      v1 = others[v1];
      ++codeSize[v1];
    }
    others[v1] = v2;
    ++codeSize[v2];
    while (others[v2] >= 0) {
      v2 = others[v2];
      ++codeSize[v2];
    }
  }

  int bits[MaxCodeLength + 1] = {};
  for (int i = 0; i < SymbolCount; ++i) {
    if (!codeSize[i])
      continue;
    if (codeSize[i] > MaxCodeLength)
      throw TVMError(ErrorCodeTooLong);
    ++bits[codeSize[i]];
  }

  // Limit the lengths to 16 bits: a pair of codes at the longest length is
  // replaced by one code there and two codes one below a shorter free slot.
  for (int i = MaxCodeLength; i > 16; --i) {
    while (bits[i] > 0) {
      int j = i - 2;
      while (bits[j] == 0)
        --j;
      bits[i] -= 2;
      ++bits[i - 1];
      bits[j + 1] += 2;
      --bits[j];
    }
  }
  // The reserved symbol holds one of the longest codes; drop it.
  int longest = 16;
  while (longest > 0 && bits[longest] == 0)
    --longest;
  if (longest > 0)
    --bits[longest];

  for (int n = 0; n <= 16; ++n)
    table.bits[n] = static_cast<std::uint8_t>(n == 0 ? 0 : bits[n]);
  int count = 0;
  for (int length = 1; length <= MaxCodeLength; ++length)
    for (int symbol = 0; symbol < 256; ++symbol)
      if (codeSize[symbol] == length)
        table.values[count++] = static_cast<std::uint8_t>(symbol);
  table.valueCount = count;
}

void BuildHuffmanCode(HuffmanTable &table) {
  for (int i = 0; i < 256; ++i)
    table.size[i] = 0;
  unsigned code = 0;
  int k = 0;
  for (int length = 1; length <= 16; ++length) {
    for (int n = 0; n < table.bits[length] && k < table.valueCount; ++n, ++k) {
      table.code[table.values[k]] = static_cast<std::uint16_t>(code++);
      table.size[table.values[k]] = static_cast<std::uint8_t>(length);
    }
    code <<= 1;
  }
}

bool BuildDecodingHuffmanTable(const std::uint8_t bits[17], const std::uint8_t *values,
                               int valueCount, DecodingTable &table) {
  table = DecodingTable();
  int total = 0;
  for (int length = 1; length <= 16; ++length)
    total += bits[length];
  if (total > 256 || total > valueCount)
    return false;

  std::int32_t code = 0;
  int k = 0;
  for (int length = 1; length <= 16; ++length) {
    table.maxCode[length] = -1;
    if (bits[length]) {
      table.valuePointer[length] = k;
      table.minCode[length] = code;
      code += bits[length];
      k += bits[length];
      table.maxCode[length] = code - 1;
      // The codes of one length must fit in that many bits.
      if (code > (1 << length))
        return false;
      if (length <= 8) {
        for (int c = table.minCode[length]; c < code; ++c) {
          int first = c << (8 - length);
          for (int fill = 0; fill < 1 << (8 - length); ++fill) {
            table.lookLength[first + fill] = static_cast<std::uint8_t>(length);
            table.lookValue[first + fill] =
                values[table.valuePointer[length] + c - table.minCode[length]];
          }
        }
      }
    }
    code <<= 1;
  }
  table.maxCode[17] = 0x7FFFFFFF; // ends a search for a code
  return true;
}

} // namespace pixtune
