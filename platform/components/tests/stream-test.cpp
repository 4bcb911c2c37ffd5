// Streams: exact reads and writes or the platform's errors, memory stream
// growth and seeking, file streams over real files.
#include "platform/components/core/stream.h"
#include "testing/test-files.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "testing/test-paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace components;

namespace {

std::string scratchFile(const std::string &name) {
  return testing_support::scratchFile("streams", name);
}

// Every byte of the stream, read back from its start.
std::string contents(TStream &stream) {
  std::string bytes(static_cast<std::size_t>(stream.Size()), '\0');
  stream.SetPosition(0);
  stream.ReadBuffer(&bytes[0], bytes.size());
  return bytes;
}

} // namespace

TEST(MemoryStream, GrowsSeeksAndFillsGapsWithZeros) {
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  EXPECT_EQ(stream.Size(), 3);
  EXPECT_EQ(stream.Position(), 3);

  struct SeekCase {
    std::int64_t offset;
    TSeekOrigin origin;
    std::int64_t expected;
  };
  const std::vector<SeekCase> seeks = {
      {1, TSeekOrigin::soBeginning, 1}, {1, TSeekOrigin::soCurrent, 2}, {-1, TSeekOrigin::soEnd, 2},
      {-10, TSeekOrigin::soCurrent, 0}, {5, TSeekOrigin::soEnd, 8},
  };
  for (const SeekCase &c : seeks)
    EXPECT_EQ(stream.Seek(c.offset, c.origin), c.expected);
  EXPECT_EQ(stream.Size(), 3) << "seeking alone does not grow";
  stream.WriteBuffer("Z", 1);
  EXPECT_EQ(contents(stream), std::string("abc\0\0\0\0\0Z", 9));

  stream.SetSize(2);
  EXPECT_EQ(stream.Position(), 2) << "a position past a new end moves to it";
  stream.SetPosition(0);
  char buffer[8] = {};
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "ab");
  EXPECT_EQ(stream.Read(buffer, sizeof buffer), 0u);
}

TEST(MemoryStream, LargeWritesKeepEveryByte) {
  TMemoryStream stream;
  std::string block(1000, '\0');
  for (int i = 0; i < 1000; ++i) {
    for (std::size_t j = 0; j < block.size(); ++j)
      block[j] = static_cast<char>((i + j) & 0xFF);
    stream.WriteBuffer(block.data(), block.size());
  }
  ASSERT_EQ(stream.Size(), 1000000);
  const std::string bytes = contents(stream);
  for (int i = 0; i < 1000; i += 97)
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[i * 1000 + 5]),
              static_cast<std::uint8_t>((i + 5) & 0xFF));
}

TEST(Stream, ShortReadRaisesReadError) {
  const std::vector<std::pair<std::size_t, bool>> cases = {{0, true}, {4, true}, {5, false}};
  for (const auto &c : cases) {
    TMemoryStream stream;
    stream.WriteBuffer("1234", 4);
    stream.SetPosition(0);
    char buffer[8];
    if (c.second) {
      EXPECT_NO_THROW(stream.ReadBuffer(buffer, c.first));
      continue;
    }
    try {
      stream.ReadBuffer(buffer, c.first);
      ADD_FAILURE() << "no error for a short read";
    } catch (const EReadError &e) {
      EXPECT_EQ(e.Message(), "Stream read error");
    }
  }
}

TEST(FileStream, OpenFailuresNameTheFile) {
  std::string missing = scratchFile("no-such-file.bin");
  std::remove(missing.c_str());
  try {
    TFileStream stream(missing, fmOpenRead | fmShareDenyWrite);
    ADD_FAILURE() << "opened a missing file";
  } catch (const EFOpenError &e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\"");
  }
  std::string badFolder = scratchFile("no-such-folder/x.bin");
  try {
    TFileStream stream(badFolder, fmCreate);
    ADD_FAILURE() << "created a file in a missing folder";
  } catch (const EFCreateError &e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + badFolder + "\"");
  }
}

TEST(FileStream, WritesReadsSeeksAndTruncates) {
  std::string path = scratchFile("data.bin");
  {
    TFileStream stream(path, fmCreate);
    stream.WriteBuffer("hello world", 11);
    EXPECT_EQ(stream.Size(), 11);
    stream.SetPosition(6);
    char buffer[5];
    stream.ReadBuffer(buffer, 5);
    EXPECT_EQ(std::string(buffer, 5), "world");
    stream.SetPosition(0);
    stream.WriteBuffer("J", 1);
  }
  {
    TFileStream stream(path, fmOpenReadWrite);
    char buffer[11];
    stream.ReadBuffer(buffer, 11);
    EXPECT_EQ(std::string(buffer, 11), "Jello world");
    EXPECT_THROW(stream.ReadBuffer(buffer, 1), EReadError);
    stream.SetSize(5);
    EXPECT_EQ(stream.Size(), 5);
    EXPECT_EQ(stream.Position(), 5);
  }
  {
    TFileStream stream(path, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(contents(stream), "Jello");
  }

  {
    TFileStream stream(path, fmCreate);
    stream.WriteBuffer("one\r\ntwo", 8);
  }
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.Text(), "one\r\ntwo\r\n");
  std::remove(path.c_str());
}
