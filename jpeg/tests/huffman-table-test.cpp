// Huffman table construction: lengths limited to 16 bits, no all-ones
// code, canonical codes that decode back, and a bounded fuzz of the
// decoding-table builder, which takes BITS as stored in a file, through its
// coverage-guided harness.
#include "jpeg/core/huffman-table.h"
#include "testing/fuzz-driver.h"

#include <gtest/gtest.h>

#include <map>

using namespace pixtune;

namespace {

// Decodes one symbol from a bit string with the decoding tables (T.81
// F.2.2.3 procedure); -1 when no code matches.
int decodeSymbol(const DecodingTable &table, const std::uint8_t *values, const std::string &bits,
                 std::size_t &at) {
  std::int32_t code = 0;
  for (int length = 1; length <= 16 && at < bits.size(); ++length) {
    code = code << 1 | (bits[at++] == '1');
    if (table.maxCode[length] >= 0 && code <= table.maxCode[length] &&
        code >= table.minCode[length])
      return values[table.valuePointer[length] + code - table.minCode[length]];
  }
  return -1;
}

std::string codeText(const HuffmanTable &table, int symbol) {
  std::string text;
  for (int b = table.size[symbol] - 1; b >= 0; --b)
    text += (table.code[symbol] >> b & 1) ? '1' : '0';
  return text;
}

void checkTable(const std::uint32_t counts[256]) {
  HuffmanTable table;
  BuildOptimalHuffmanTable(counts, table);
  BuildHuffmanCode(table);
  // Kraft sum below 1: the all-ones code stays unused.
  double kraft = 0;
  int coded = 0;
  for (int s = 0; s < 256; ++s) {
    if (counts[s] == 0) {
      EXPECT_EQ(table.size[s], 0) << "symbol " << s << " was never counted";
      continue;
    }
    ASSERT_GE(table.size[s], 1) << s;
    ASSERT_LE(table.size[s], 16) << s;
    EXPECT_NE(codeText(table, s), std::string(table.size[s], '1'));
    kraft += 1.0 / (1 << table.size[s]);
    ++coded;
  }
  EXPECT_LT(kraft, 1.0);
  EXPECT_EQ(table.valueCount, coded);

  DecodingTable decoding;
  ASSERT_TRUE(BuildDecodingHuffmanTable(table.bits, table.values, table.valueCount, decoding));
  for (int s = 0; s < 256; ++s) {
    if (!table.size[s])
      continue;
    std::string bits = codeText(table, s);
    std::size_t at = 0;
    EXPECT_EQ(decodeSymbol(decoding, table.values, bits, at), s);
    EXPECT_EQ(at, bits.size());
    if (table.size[s] <= 8) {
      int index = static_cast<int>(table.code[s]) << (8 - table.size[s]);
      EXPECT_EQ(decoding.lookLength[index], table.size[s]);
      EXPECT_EQ(decoding.lookValue[index], s);
    }
  }
}

} // namespace

TEST(HuffmanTable, CodesStayWithinSixteenBits) {
  std::uint32_t fibonacci[256] = {};
  std::uint32_t a = 1, b = 1;
  for (int s = 0; s < 30; ++s) {
    fibonacci[s] = a; // unlimited, the rarest symbols would need 29 bits
    std::uint32_t next = a + b;
    a = b;
    b = next;
  }
  checkTable(fibonacci);

  std::uint32_t single[256] = {};
  single[0x42] = 1000;
  checkTable(single);

  std::uint32_t flat[256];
  for (auto &c : flat)
    c = 5;
  checkTable(flat);

  std::uint32_t skewed[256] = {};
  for (int s = 0; s < 256; s += 3)
    skewed[s] = 1u + static_cast<std::uint32_t>(s * s * s);
  checkTable(skewed);
}

// Two symbols with known counts: the textbook lengths. With counts 3, 2, 1
// (and the reserved 1) the lengths are 1, 2, 3 and the reserved 3.
TEST(HuffmanTable, SmallTablesHaveTheExpectedLengths) {
  std::uint32_t counts[256] = {};
  counts[0] = 3;
  counts[1] = 2;
  counts[2] = 1;
  HuffmanTable table;
  BuildOptimalHuffmanTable(counts, table);
  BuildHuffmanCode(table);
  EXPECT_EQ(table.size[0], 1);
  EXPECT_EQ(table.size[1], 2);
  EXPECT_EQ(table.size[2], 3);
  EXPECT_EQ(codeText(table, 0), "0");
  EXPECT_EQ(codeText(table, 1), "10");
  EXPECT_EQ(codeText(table, 2), "110");
}

TEST(HuffmanTable, DecodingTablesRejectImpossibleCounts) {
  std::uint8_t values[256] = {};
  struct Case {
    const char *what;
    std::map<int, int> bits;
    int valueCount;
    bool ok;
  } cases[] = {
      {"three codes of one bit", {{1, 3}}, 3, false},
      {"two codes of one bit", {{1, 2}}, 2, true},
      {"more values than given", {{2, 3}}, 2, false},
      {"257 codes", {{9, 255}, {10, 2}}, 256, false},
      {"full 16-bit level", {{16, 255}}, 255, true},
  };
  for (const Case &c : cases) {
    std::uint8_t bits[17] = {};
    for (auto [length, count] : c.bits)
      bits[length] = static_cast<std::uint8_t>(count);
    DecodingTable table;
    EXPECT_EQ(BuildDecodingHuffmanTable(bits, values, c.valueCount, table), c.ok) << c.what;
  }
}

TEST(HuffmanTable, FuzzDecodingTableBuilder) {
  testing_support::Bytes seed(17 + 256, 0);
  seed[2] = 1;
  seed[3] = 5;
  seed[4] = 1;
  for (int i = 0; i < 256; ++i)
    seed[17 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  unsigned tried =
      testing_support::fuzz({seed}, testing_support::runHarness, {20000, 2.0, 20261209});
  EXPECT_GT(tried, 1000u);
}
