// The list of encoded lines, and the block encoders writing into it: the
// room they reserve is exactly what their lines take, so a source of any
// size costs the list two allocations and no line moves once written.
#include "invoice-mailer/core/base64.h"
#include "invoice-mailer/core/line-list.h"
#include "invoice-mailer/core/uucode.h"
#include "platform/components/core/stream.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory_resource>
#include <stdexcept>
#include <string>
#include <vector>

using billpost::LineList;

namespace {

// Counts the blocks taken from the heap through it.
class CountingMemory : public std::pmr::memory_resource {
public:
  int allocations = 0;

private:
  void *do_allocate(std::size_t bytes, std::size_t alignment) override {
    ++allocations;
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
  }
  void do_deallocate(void *block, std::size_t bytes, std::size_t alignment) override {
    std::pmr::new_delete_resource()->deallocate(block, bytes, alignment);
  }
  bool do_is_equal(const std::pmr::memory_resource &other) const noexcept override {
    return this == &other;
  }
};

components::TMemoryStream streamOfSize(std::size_t size) {
  components::TMemoryStream stream;
  std::vector<char> bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>(i * 131 + i / 7);
  if (size > 0)
    stream.WriteBuffer(bytes.data(), size);
  stream.SetPosition(0);
  return stream;
}

} // namespace

TEST(LineList, KeepsLinesInOrderEmptyOnesIncluded) {
  LineList list;
  list.Add("");
  list.Add("first");
  char *out = list.Extend(10);
  out[0] = 'a';
  out[1] = 'b';
  list.Commit(2);
  list.Add("");
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"", "first", "ab", ""}));
  EXPECT_EQ(list.Text(), "firstab");
  EXPECT_THROW(list[4], std::out_of_range);
  EXPECT_THROW(list[-1], std::out_of_range);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
}

TEST(LineList, GrowsPastItsRoomWithoutLosingLines) {
  CountingMemory memory;
  LineList list(&memory);
  list.Reserve(2, 8);
  EXPECT_EQ(memory.allocations, 2);
  list.Add("abcd");
  list.Add("efgh");
  EXPECT_EQ(memory.allocations, 2); // the room was enough
  for (int i = 0; i < 100; ++i)
    list.Add(std::to_string(i));
  ASSERT_EQ(list.Count(), 102);
  EXPECT_EQ(list[0], "abcd");
  EXPECT_EQ(list[1], "efgh");
  EXPECT_EQ(list[101], "99");
}

TEST(BlockEncoders, ReserveExactlyTheirLinesAndAllocateNothingPerLine) {
  struct Case {
    const char *name;
    const billpost::LineFormat &format;
  } formats[] = {{"base64", billpost::Base64Lines}, {"uuencode", billpost::UULines}};
  const std::size_t sizes[] = {0, 1, 2, 3, 44, 45, 46, 56, 57, 58, 114, 57 * 45 + 20, 1 << 20};
  for (const Case &c : formats)
    for (std::size_t size : sizes)
      for (std::int64_t start : {0, 7}) {
        if (static_cast<std::size_t>(start) > size)
          continue;
        components::TMemoryStream source = streamOfSize(size);
        source.SetPosition(start);
        CountingMemory memory;
        LineList lines(&memory);
        if (&c.format == &billpost::Base64Lines)
          billpost::TBase64(source, lines).Encode();
        else
          billpost::TUUCode(source, lines).Encode();
        std::size_t left = size - static_cast<std::size_t>(start);
        std::size_t expectedLines = left / c.format.blockSize;
        if (left % c.format.blockSize != 0 || c.format.lineForEmptyRead)
          ++expectedLines;
        std::string where = std::string(c.name) + ", " + std::to_string(size) + " bytes from " +
                            std::to_string(start);
        ASSERT_EQ(static_cast<std::size_t>(lines.Count()), expectedLines) << where;
        EXPECT_EQ(lines.LineCapacity(), expectedLines) << where;
        EXPECT_EQ(lines.TextCapacity(), lines.Text().size()) << where;
        // One block for the line ends and one for the text, where there
        // are lines and text at all.
        EXPECT_EQ(memory.allocations, (expectedLines > 0 ? 1 : 0) + (lines.Text().empty() ? 0 : 1))
            << where;
      }
}

// The percentage after each line: base64 rounds half to even, uuencode
// divides; 456 and 360 bytes make every other line land on a half.
TEST(BlockEncoders, PercentAfterEachLine) {
  struct Case {
    bool base64;
    std::size_t size;
    std::vector<int> percents;
  } cases[] = {
      {true, 456, {12, 25, 38, 50, 62, 75, 88, 100, 100}},
      {false, 360, {12, 25, 37, 50, 62, 75, 87, 100, 100}},
  };
  for (const Case &c : cases) {
    components::TMemoryStream source = streamOfSize(c.size);
    LineList lines;
    std::vector<int> seen;
    auto run = [&](auto &encoder) {
      encoder.ProcessMessages = [&] { seen.push_back(encoder.Percent); };
      encoder.Encode();
    };
    if (c.base64) {
      billpost::TBase64 encoder(source, lines);
      run(encoder);
    } else {
      billpost::TUUCode encoder(source, lines);
      run(encoder);
    }
    EXPECT_EQ(seen, c.percents) << (c.base64 ? "base64" : "uuencode");
  }
}
