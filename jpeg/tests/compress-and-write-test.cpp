// The writing step of an export: which files it writes for each thumbnail
// mode, and how every failure ends as a status with nothing leaked.
#include "jpeg/core/compress-and-write.h"
#include "jpeg/core/step-progress.h"

#include "jpeg/tests/jpeg-test-support.h"

#include <algorithm>
#include <map>
#include <vector>

using namespace pixtune;
using namespace jpeg_test;

namespace {

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
    EXPECT_EQ(encodeBitmap(f.bitmap, f.settings.imageParams).file,
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

// Whatever goes wrong, the files the export would have replaced are as they
// were, and nothing else is left: a full disk at any point, a flush the
// disk refuses (3), a target that cannot be replaced (2).
TEST(CompressAndWrite, AFailedWriteLeavesTheOldFilesAsTheyWere) {
  struct Case {
    const char *what;
    std::int32_t budget;
    bool failFlush, failReplace;
    int status;
  } cases[] = {
      {"disk full at once", 0, false, false, StatusWriteFailed},
      {"disk full after a byte", 1, false, false, StatusWriteFailed},
      {"disk full after 700 bytes", 700, false, false, StatusWriteFailed},
      {"flush refused", -1, true, false, StatusWriteFailed},
      {"target not replaced", -1, false, true, StatusCannotCreate},
  };
  for (const Case &c : cases) {
    Fixture f(false);
    f.settings.options.thumbnailMode = ThumbnailModeBoth;
    const std::map<std::string, Bytes> old = {{"C:\\out\\photo.jpg", Bytes{1, 2, 3}},
                                              {"C:\\out\\th_photo.jpg", Bytes{4, 5}}};
    f.files.files = old;
    f.files.writeBudget = c.budget;
    f.files.failFlush = c.failFlush;
    f.files.failReplace = c.failReplace;
    EXPECT_EQ(c.status, f.run()) << c.what;
    EXPECT_EQ(f.files.files, old) << c.what;
  }
}

TEST(CompressAndWrite, ASuccessfulWriteReplacesTheOldFileWhole) {
  Fixture f(false);
  f.settings.options.thumbnailMode = ThumbnailModeImage;
  f.files.files["C:\\out\\photo.jpg"] = Bytes{1, 2, 3};
  ASSERT_EQ(StatusOk, f.run());
  ASSERT_EQ(1u, f.files.files.size());
  EXPECT_EQ(f.files.files["C:\\out\\photo.jpg"],
            encodeBitmap(f.bitmap, f.settings.imageParams).file);
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

namespace {

// What the host's progress procedure is told during an export.
std::vector<int> hostCalls;
void hostProgress(std::int32_t done, std::int32_t total) {
  EXPECT_EQ(total, 100);
  hostCalls.push_back(done);
}

// The encoder's phases as it reports them to its sink: the range, the
// units, how many units it ticked; an end as a phase of its own (units -1).
struct Phase {
  int start, end;
  long units, ticks;
};
class PhaseRecorder final : public ProgressSink {
public:
  std::vector<Phase> phases;
  void begin(int start, int end, long units) override { phases.push_back({start, end, units, 0}); }
  void tick() override { ++phases.back().ticks; }
  void end() override { phases.push_back({100, 100, -1, 0}); }
};

// What the host must see for those phases by the step grouping: at each
// phase's start its start percent; units grouped u = 5n / R (at least 1,
// grown while there are more steps g = ceil(n / u) than percents R), each
// group a step of p = (R - 4g - 1) / g + 5 percent, one more above the
// threshold a + p((p + 1)g - R), never past 100; at the end 100.
std::vector<int> groupedShows(const std::vector<Phase> &phases) {
  std::vector<int> shows;
  for (const Phase &phase : phases) {
    if (phase.units < 0) {
      shows.push_back(100);
      continue;
    }
    long a = phase.start, n = phase.units, range = phase.end - phase.start;
    int percent = phase.start;
    shows.push_back(percent);
    if (range <= 0 || n <= 0)
      continue; // a phase over no percent holds it, showing nothing more
    long u = std::max(5 * n / range, 1L), g = (u + n - 1) / u;
    while (n > 1 && g > range) {
      ++u;
      g = (u + n - 1) / u;
    }
    long p = (range - 4 * g - 1) / g + 5;
    long threshold = a + p * ((p + 1) * g - range);
    for (long unit = 1, due = u; unit <= phase.ticks; ++unit)
      if (unit >= due) {
        if (percent < 100)
          percent = std::min<long>(100, percent + (percent > threshold ? p + 1 : p));
        due += u;
        shows.push_back(percent);
      }
  }
  return shows;
}

} // namespace

TEST(CompressAndWrite, TheHostSeesTheProgressInGroupedSteps) {
  Fixture f(false);
  f.bitmap = pixtune_tools::bitmapFromPnm(makeImage(640, 480, false));
  f.settings.options.thumbnailMode = ThumbnailModeImage;
  hostCalls.clear();
  THostProgress host(hostProgress);
  ASSERT_EQ(CompressAndWrite(f.bitmap.Data(), f.bitmap.Bytes(), &host, f.settings,
                             "C:\\out\\photo.jpg", f.files),
            StatusOk);
  // The same encoding with its phases recorded (the export's encoder
  // rebuilds the picture too).
  PhaseRecorder recorder;
  encodeBitmap(f.bitmap, f.settings.imageParams, &recorder);
  ASSERT_EQ(recorder.phases.size(), 5u);
  EXPECT_EQ(hostCalls, groupedShows(recorder.phases));
  // 640 x 480 in colour, 30 rows of blocks in each of the reading, the two
  // passes of the scans and the rebuilding: 7, 6, 6 and 5 rows a step, 5
  // percent each; every phase's start shown again, 100 at the end.
  EXPECT_EQ(hostCalls, (std::vector<int>{0,  5,  10, 15, 20, 20, 25, 30, 35, 40, 45,  45, 50,
                                         55, 60, 65, 70, 70, 75, 80, 85, 90, 95, 100, 100}));
}
