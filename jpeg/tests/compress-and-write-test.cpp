// The writing step of an export: which files it writes for each thumbnail
// mode, and how every failure ends as a status with nothing leaked.
#include "jpeg/core/compress-and-write.h"

#include "jpeg/tests/jpeg-test-support.h"

#include <map>

using namespace pixtune;
using namespace jpeg_test;

namespace {

// Files in memory; creation or writing can be made to fail.
class MemoryFiles final : public FileApi {
public:
  std::intptr_t create(const char *path) override {
    if (failCreate)
      return -1;
    names_.push_back(path);
    files[path].clear();
    return static_cast<std::intptr_t>(names_.size() - 1);
  }
  std::intptr_t open(const char *, int) override { return -1; }
  std::int32_t read(std::intptr_t, void *, std::int32_t) override { return 0; }
  std::int32_t write(std::intptr_t handle, const void *buffer, std::int32_t count) override {
    std::int32_t room = writeBudget < 0 ? count : std::min(count, writeBudget);
    if (writeBudget >= 0)
      writeBudget -= room;
    const auto *bytes = static_cast<const std::uint8_t *>(buffer);
    Bytes &file = files[names_[static_cast<std::size_t>(handle)]];
    file.insert(file.end(), bytes, bytes + room);
    return room;
  }
  std::int32_t seek(std::intptr_t, std::int32_t, int) override { return 0; }
  bool close(std::intptr_t) override { return true; }

  std::map<std::string, Bytes> files;
  bool failCreate = false;
  std::int32_t writeBudget = -1; // bytes that can still be written; -1 unlimited

private:
  std::vector<std::string> names_;
};

Bytes encodeDirectly(const TBitmap &bitmap, const CompressionParams &p) {
  TMemoryStream memory;
  TJpegEncoder encoder(bitmap.Data(), bitmap.Bytes(), nullptr, 0, memory, nullptr, 0, nullptr);
  encoder.Encode(p);
  return Bytes(memory.Data(), memory.Data() + memory.Size());
}

// Width and height from a file's frame header.
std::pair<int, int> frameSize(const Bytes &file) {
  for (const Segment &s : segments(file))
    if ((s.marker == 0xC0 || s.marker == 0xC2) && s.body.size() >= 5)
      return {s.body[3] << 8 | s.body[4], s.body[1] << 8 | s.body[2]};
  return {0, 0};
}

struct Fixture {
  explicit Fixture(bool grey) : bitmap(pixtune_tools::bitmapFromPnm(makeImage(120, 80, grey))) {
    settings.imageParams = params(20, 30);
    settings.thumbnailParams = params(10, 10, true);
  }
  int run(BlockAllocator &allocator = defaultAllocator()) {
    return CompressAndWrite(bitmap.Data(), bitmap.Bytes(), nullptr, settings, "C:\\out\\photo.jpg",
                            files, allocator);
  }
  TBitmap bitmap;
  TSettings settings;
  MemoryFiles files;
};

TEST(CompressAndWrite, ImageOnlyWritesWhatTheEncoderWrites) {
  for (bool grey : {true, false}) {
    Fixture f(grey);
    ASSERT_EQ(StatusOk, f.run());
    ASSERT_EQ(1u, f.files.files.size());
    EXPECT_EQ(encodeDirectly(f.bitmap, f.settings.imageParams),
              f.files.files["C:\\out\\photo.jpg"]);
  }
}

TEST(CompressAndWrite, BothWritesTheThumbnailBesideTheImage) {
  Fixture f(false);
  f.settings.options.thumbnailMode = ThumbnailModeBoth;
  f.settings.options.thumbnailWidth = 60;
  f.settings.options.thumbnailHeight = 60;
  ASSERT_EQ(StatusOk, f.run());
  ASSERT_EQ(2u, f.files.files.size());
  // Without fitting the whole image shrinks inside 60 x 60 at its own ratio.
  EXPECT_EQ(std::make_pair(60, 40), frameSize(f.files.files["C:\\out\\th_photo.jpg"]));
  EXPECT_EQ(std::make_pair(120, 80), frameSize(f.files.files["C:\\out\\photo.jpg"]));
}

TEST(CompressAndWrite, ThumbnailOnlyWithSmartCutKeepsTheCropItUsed) {
  Fixture f(true);
  f.settings.options.thumbnailMode = ThumbnailModeThumbnail;
  f.settings.options.prefixForm = 0;
  f.settings.options.fitThumbnail = 1;
  f.settings.options.smartCut = 1;
  f.settings.options.thumbnailWidth = 40;
  f.settings.options.thumbnailHeight = 40;
  f.settings.options.cropLeft = 40;
  f.settings.options.cropRight = 60;
  ASSERT_EQ(StatusOk, f.run());
  ASSERT_EQ(1u, f.files.files.size());
  EXPECT_EQ(std::make_pair(40, 40), frameSize(f.files.files["C:\\out\\phototh_.jpg"]));
  // The crop grew about its centre to a square of the image's full height.
  EXPECT_NEAR(100.0 / 6, f.settings.options.cropLeft, 1e-9);
  EXPECT_NEAR(100.0 * 5 / 6, f.settings.options.cropRight, 1e-9);
}

TEST(CompressAndWrite, AFileThatCannotBeCreatedGivesTwoAndNoThumbnail) {
  Fixture f(false);
  f.settings.options.thumbnailMode = ThumbnailModeBoth;
  f.files.failCreate = true;
  EXPECT_EQ(StatusCannotCreate, f.run());
  EXPECT_TRUE(f.files.files.empty());
}

TEST(CompressAndWrite, AFailedWriteGivesThreeAndNoThumbnail) {
  for (std::int32_t budget : {0, 1, 700}) {
    Fixture f(false);
    f.settings.options.thumbnailMode = ThumbnailModeBoth;
    f.files.writeBudget = budget;
    EXPECT_EQ(StatusWriteFailed, f.run()) << budget;
    EXPECT_EQ(1u, f.files.files.size()) << budget;
  }
}

TEST(CompressAndWrite, EveryFailedAllocationGivesThree) {
  // Fail the first, second, ... request until the whole export succeeds;
  // the sanitizer's leak check proves that every failure frees what it had.
  for (int failFrom = 1;; ++failFrom) {
    Fixture f(false);
    f.settings.options.thumbnailMode = ThumbnailModeBoth;
    FailingAllocator allocator(failFrom);
    int status = f.run(allocator);
    if (status == StatusOk) {
      EXPECT_GT(failFrom, 3);
      break;
    }
    ASSERT_EQ(StatusWriteFailed, status) << failFrom;
    ASSERT_LT(failFrom, 100);
  }
}

TEST(CompressAndWrite, ABitmapThatDoesNotMatchItsHeaderGivesOne) {
  Fixture f(false);
  // Claim more rows than the block holds.
  f.bitmap.Data()[8] = 0xFF;
  EXPECT_EQ(StatusBadArguments, f.run());
  EXPECT_TRUE(f.files.files.empty());
}

TEST(CompressAndWrite, AThinCropStillGivesAThumbnail) {
  Fixture f(true);
  f.settings.options.thumbnailMode = ThumbnailModeThumbnail;
  f.settings.options.cropLeft = 50;
  f.settings.options.cropRight = 50.1; // a tenth of a pixel of 120
  ASSERT_EQ(StatusOk, f.run());
  EXPECT_EQ(1u, f.files.files.size());
}

} // namespace
