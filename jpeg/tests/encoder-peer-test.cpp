// Our files judged by the peers: jpeginfo validates them, djpeg decodes
// them without a word on stderr, ImageMagick reads sampling and quality,
// jpegtran re-encodes them losslessly to the same bytes, and the preview
// is compared with djpeg's decode. Linux programs: skipped under Wine.
#include "jpeg/core/dct.h"
#include "jpeg/tests/jpeg-test-support.h"

#include <gtest/gtest.h>

using namespace pixtune;
using namespace jpeg_test;

namespace {

#define REQUIRE_PEERS()                                                                            \
  do {                                                                                             \
    if (!havePeer("djpeg") || !havePeer("jpegtran") || !havePeer("jpeginfo") ||                    \
        !havePeer("identify") || !havePeer("cjpeg"))                                               \
      GTEST_SKIP() << "JPEG peers are run natively (libjpeg-turbo-progs, jpeginfo, imagemagick)";  \
  } while (0)

struct Sample {
  int width, height;
  bool grey;
};

std::string name(const Sample &s, int level, bool progressive) {
  return std::to_string(s.width) + "x" + std::to_string(s.height) + (s.grey ? "-grey" : "-colour") +
         "-l" + std::to_string(level) + (progressive ? "-p" : "-b");
}

// djpeg's decode of a file: exit status 0 and nothing on stderr required.
PnmImage decode(const std::string &jpegPath, const std::string &options = "") {
  std::string out = jpegPath + ".pnm", errors;
  EXPECT_EQ(runPeer("djpeg -pnm " + options + " '" + jpegPath + "'", out, errors), 0) << jpegPath;
  EXPECT_EQ(errors, "") << jpegPath;
  PnmImage image;
  EXPECT_TRUE(pixtune_tools::readPnm(out, image)) << jpegPath;
  return image;
}

std::string scansFile(int level, bool grey) {
  std::string path = scratchFile("scans-" + std::to_string(level) + (grey ? "g" : "c") + ".txt");
  std::string text;
  for (const ScanInfo &scan : TJpegEncoder::SetupScanScript(level, grey)) {
    for (int i = 0; i < scan.componentCount; ++i)
      text += (i ? "," : "") + std::to_string(scan.components[i]);
    text += ": " + std::to_string(scan.ss) + " " + std::to_string(scan.se) + " " +
            std::to_string(scan.ah) + " " + std::to_string(scan.al) + ";\n";
  }
  writeFile(path, Bytes(text.begin(), text.end()));
  return path;
}

std::vector<int> dqtEntries(const Bytes &file) {
  std::vector<int> entries;
  for (const Segment &s : segments(file))
    if (s.marker == 0xDB)
      for (std::size_t i = 0; i + 65 <= s.body.size(); i += 65)
        entries.insert(entries.end(), s.body.begin() + static_cast<std::ptrdiff_t>(i),
                       s.body.begin() + static_cast<std::ptrdiff_t>(i + 65));
  return entries;
}

const Sample OddSizes[] = {{451, 300, false}, {451, 300, true}, {17, 9, false},    {17, 9, true},
                           {1, 1, false},     {1, 1, true},     {256, 192, false}, {30, 30, false}};

} // namespace

TEST(EncoderPeers, EveryFilePassesJpeginfoDjpegAndIdentify) {
  REQUIRE_PEERS();
  for (const Sample &s : OddSizes) {
    PnmImage image = makeImage(s.width, s.height, s.grey, 11);
    for (int level : {1, 64, 255}) {
      for (bool progressive : {false, true}) {
        std::string path = scratchFile(name(s, level, progressive) + ".jpg");
        writeFile(path,
                  encode(image, params(level, level, progressive, level == 64 ? 60 : 0)).file);
        std::string report, errors;
        EXPECT_EQ(runPeer("jpeginfo -c '" + path + "'", scratchFile("jpeginfo.txt"), errors), 0)
            << path;
        report = testing_support::readFile(scratchFile("jpeginfo.txt"));
        EXPECT_NE(report.find(" OK"), std::string::npos) << report;
        EXPECT_NE(report.find(progressive ? " P " : " N "), std::string::npos) << report;
        decode(path);

        EXPECT_EQ(runPeer("identify -format '%[jpeg:sampling-factor] %Q' '" + path + "'",
                          scratchFile("id.txt"), errors),
                  0);
        std::string identified = testing_support::readFile(scratchFile("id.txt"));
        std::string sampling = s.grey ? "1x1" : "2x2,1x1,1x1";
        EXPECT_EQ(identified.substr(0, identified.find(' ')), sampling) << path;
        if (level == 64) {
          EXPECT_EQ(identified.substr(identified.find(' ') + 1), "75") << path;
        }
      }
    }
  }
}

TEST(EncoderPeers, Level64HasTheTablesOfCjpegQuality75) {
  REQUIRE_PEERS();
  for (bool grey : {false, true}) {
    PnmImage image = makeImage(64, 48, grey);
    std::string source = scratchFile(grey ? "q75.pgm" : "q75.ppm"),
                reference = scratchFile("q75-cjpeg.jpg");
    ASSERT_TRUE(pixtune_tools::writePnm(source, image));
    std::string errors;
    ASSERT_EQ(runPeer("cjpeg -quality 75 -baseline '" + source + "'", reference, errors), 0)
        << errors;
    EXPECT_EQ(dqtEntries(encode(image, params(64, 64)).file), dqtEntries(readFile(reference)));
  }
}

// Where the file's bytes are fixed by the format (no padding blocks in the
// MCUs, which jpegtran would recreate differently), jpegtran's lossless
// re-encode with optimised tables, or with our scan script, reproduces our
// files byte for byte.
TEST(EncoderPeers, JpegtranReproducesOurFiles) {
  REQUIRE_PEERS();
  const Sample sizes[] = {{256, 192, false}, {30, 30, false}, {464, 304, false}, {16, 16, false},
                          {451, 300, true},  {17, 9, true},   {1, 1, true},      {8, 8, true}};
  for (const Sample &s : sizes) {
    PnmImage image = makeImage(s.width, s.height, s.grey, 21);
    for (int level : {16, 49, 50, 80}) {
      std::string baseline = scratchFile(name(s, level, false) + ".jpg");
      std::string progressive = scratchFile(name(s, level, true) + ".jpg");
      writeFile(baseline, encode(image, params(level, level + 5 > 255 ? 255 : level + 5)).file);
      writeFile(progressive,
                encode(image, params(level, level + 5 > 255 ? 255 : level + 5, true)).file);
      std::string errors, again = scratchFile("again.jpg");
      ASSERT_EQ(runPeer("jpegtran -optimize -copy none '" + baseline + "'", again, errors), 0)
          << errors;
      EXPECT_EQ(errors, "");
      EXPECT_EQ(readFile(again), readFile(baseline)) << baseline;
      ASSERT_EQ(runPeer("jpegtran -copy none -scans '" + scansFile(level, s.grey) + "' '" +
                            baseline + "'",
                        again, errors),
                0)
          << errors;
      EXPECT_EQ(readFile(again), readFile(progressive)) << progressive;
    }
  }
}

TEST(EncoderPeers, BaselineAndProgressiveDecodeToTheSamePixels) {
  REQUIRE_PEERS();
  for (const Sample &s : OddSizes) {
    PnmImage image = makeImage(s.width, s.height, s.grey, 31);
    for (int level : {5, 60, 90}) {
      std::string baseline = scratchFile(name(s, level, false) + ".jpg");
      std::string progressive = scratchFile(name(s, level, true) + ".jpg");
      writeFile(baseline, encode(image, params(level, level)).file);
      writeFile(progressive, encode(image, params(level, level, true)).file);
      EXPECT_EQ(decode(baseline).pixels, decode(progressive).pixels) << progressive;
    }
  }
}

// The preview rebuilt from the coefficients against djpeg's decode of the
// same file, with replicated chroma (-nosmooth): grey within 2 levels,
// colour within 4 and under 1 on average.
TEST(EncoderPeers, PreviewAgreesWithDjpeg) {
  REQUIRE_PEERS();
  for (const Sample &s : OddSizes) {
    PnmImage image = makeImage(s.width, s.height, s.grey, 41);
    for (int level : {1, 16, 64, 200}) {
      for (bool progressive : {false, true}) {
        std::string path = scratchFile(name(s, level, progressive) + ".jpg");
        Encoded out = encode(image, params(level, level, progressive));
        writeFile(path, out.file);
        Difference d = compareImages(out.previewImage, decode(path, "-nosmooth"));
        EXPECT_LE(d.maximum, s.grey ? 2 : 4) << path;
        EXPECT_LT(d.mean, 1.0) << path;
      }
    }
  }
}

// Quality of djpeg's decode of our files against the source, by level.
// The colour figures are bounded by the 2x2 chroma subsampling of the
// noisy test picture.
TEST(EncoderPeers, DecodedFilesStayCloseToTheSource) {
  REQUIRE_PEERS();
  struct Case {
    int level;
    double colourDb, greyDb;
  } cases[] = {{1, 32, 50}, {16, 31, 36}, {64, 29, 33}, {255, 23, 28}};
  for (const Case &c : cases) {
    for (bool grey : {false, true}) {
      PnmImage image = makeImage(451, 300, grey, 51);
      std::string path =
          scratchFile(std::string("psnr-") + (grey ? "g" : "c") + std::to_string(c.level) + ".jpg");
      writeFile(path, encode(image, params(c.level, c.level)).file);
      double db = psnr(image, decode(path));
      EXPECT_GT(db, grey ? c.greyDb : c.colourDb) << path;
      std::printf("%s: %.2f dB\n", path.c_str(), db);
      RecordProperty(path, std::to_string(db));
    }
  }
}

// The long EOB runs of encoder-format-test.cpp, judged by the peers:
// djpeg decodes the flat picture as the preview shows it, and jpegtran
// with our script writes the same bytes.
TEST(EncoderPeers, LongEobRunsDecodeAndReencode) {
  REQUIRE_PEERS();
  PnmImage flat;
  flat.width = 2048;
  flat.height = 1040;
  flat.channels = 1;
  flat.pixels.assign(2048u * 1040u, 77);
  Encoded out = encode(flat, params(100, 100, true));
  std::string path = scratchFile("flat.jpg");
  writeFile(path, out.file);
  EXPECT_EQ(decode(path).pixels, out.previewImage.pixels);
  EXPECT_TRUE(std::all_of(out.previewImage.pixels.begin(), out.previewImage.pixels.end(),
                          [&](std::uint8_t v) { return v == out.previewImage.pixels[0]; }));
  std::string errors, again = scratchFile("flat-again.jpg");
  ASSERT_EQ(runPeer("jpegtran -copy none -scans '" + scansFile(100, true) + "' '" + path + "'",
                    again, errors),
            0);
  EXPECT_EQ(readFile(again), out.file);
}
