// Read-ahead over a stream: the bytes and positions of the source itself,
// whatever the block size, and base64 output unchanged by it.
#include "invoice-mailer/core/read-ahead-stream.h"

#include "invoice-mailer/core/base64.h"
#include "platform/components/core/string-list.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using billpost::ReadAheadStream;

namespace {

components::TMemoryStream filledStream(std::size_t size) {
  components::TMemoryStream stream;
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  stream.WriteBuffer(bytes.data(), bytes.size());
  stream.SetPosition(0);
  return stream;
}

TEST(ReadAheadStream, GivesTheSourceBytesInAnyBlockSize) {
  for (std::size_t chunk : {1u, 7u, 57u, 4096u})
    for (std::size_t block : {1u, 45u, 57u, 5000u}) {
      components::TMemoryStream source = filledStream(10000);
      source.SetPosition(3);
      ReadAheadStream ahead(source, chunk);
      EXPECT_EQ(ahead.Position(), 3);
      EXPECT_EQ(ahead.Size(), 10000);
      std::vector<std::uint8_t> all, piece(block);
      for (std::size_t n; (n = ahead.Read(piece.data(), block)) > 0;)
        all.insert(all.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n));
      EXPECT_EQ(ahead.Position(), 10000);
      components::TMemoryStream expected = filledStream(10000);
      std::vector<std::uint8_t> bytes(9997);
      expected.SetPosition(3);
      expected.ReadBuffer(bytes.data(), bytes.size());
      EXPECT_EQ(all, bytes) << "chunk " << chunk << ", block " << block;
    }
}

TEST(ReadAheadStream, SeeksDropWhatWasReadAhead) {
  components::TMemoryStream source = filledStream(1000);
  ReadAheadStream ahead(source, 256);
  std::uint8_t byte = 0;
  ASSERT_EQ(ahead.Read(&byte, 1), 1u);
  EXPECT_EQ(ahead.Seek(500, components::TSeekOrigin::soBeginning), 500);
  ASSERT_EQ(ahead.Read(&byte, 1), 1u);
  EXPECT_EQ(byte, static_cast<std::uint8_t>(500 * 7 + 500 / 251));
  EXPECT_EQ(ahead.Seek(-2, components::TSeekOrigin::soCurrent), 499);
  EXPECT_EQ(ahead.Seek(-1, components::TSeekOrigin::soEnd), 999);
  EXPECT_EQ(ahead.Write(&byte, 1), 0u);
}

TEST(ReadAheadStream, Base64OutputIsUnchanged) {
  components::TMemoryStream direct = filledStream(57 * 40 + 13);
  components::TMemoryStream behind = filledStream(57 * 40 + 13);
  ReadAheadStream ahead(behind, 1000);
  billpost::LineList expected, got;
  billpost::TBase64(direct, expected).Encode();
  billpost::TBase64(ahead, got).Encode();
  EXPECT_EQ(got.Lines(), expected.Lines());
  EXPECT_EQ(got.Count(), 41); // 40 full lines and one of 13 bytes
}

} // namespace
