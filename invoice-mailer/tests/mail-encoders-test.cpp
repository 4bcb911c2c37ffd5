// The attachment encoders, judged by the real tools: base64(1), uudecode(1)
// and uuencode(1) from sharutils, and Python's quopri module.
#include "invoice-mailer/core/base64.h"
#include "invoice-mailer/core/boundary.h"
#include "invoice-mailer/core/encoded-words.h"
#include "invoice-mailer/core/message-layout.h"
#include "invoice-mailer/core/mail-errors.h"
#include "invoice-mailer/core/quoted-printable.h"
#include "invoice-mailer/core/uucode.h"
#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"
#include "testing/test-files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using billpost::LineList;
using billpost::TBase64;
using billpost::TQuotedPrintable;
using billpost::TUUCode;
using components::TMemoryStream;
using components::TStringList;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

std::string bytesOfSize(std::size_t size, unsigned seed = 7) {
  std::mt19937 rng(seed);
  std::string data(size, '\0');
  for (char &c : data)
    c = static_cast<char>(rng());
  return data;
}

TMemoryStream streamOf(const std::string &data) {
  TMemoryStream stream;
  if (!data.empty())
    stream.WriteBuffer(data.data(), data.size());
  stream.SetPosition(0);
  return stream;
}

std::vector<std::string> linesOf(const TStringList &list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i)
    lines.push_back(list[i]);
  return lines;
}

std::vector<std::string> linesOf(const LineList &list) { return list.Lines(); }

// The list each encoder fills: quoted-printable a string list, the block
// encoders a list of lines in one buffer.
template <typename Encoder> struct OutputOf { using type = LineList; };
template <> struct OutputOf<TQuotedPrintable> { using type = TStringList; };

template <typename Encoder> std::vector<std::string> encode(const std::string &data) {
  TMemoryStream source = streamOf(data);
  typename OutputOf<Encoder>::type output;
  Encoder encoder(source, output);
  encoder.Encode();
  return linesOf(output);
}

// A file in this test's own scratch folder (ctest runs the cases in parallel).
std::string scratchFile(const std::string &name) {
  return testing_support::scratchFile(
      std::string("mail-") + ::testing::UnitTest::GetInstance()->current_test_info()->name(), name);
}

// Runs a shell command; answers its standard output, or fails the test.
std::string run(const std::string &command) {
  std::string output;
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return output;
  }
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, n);
  int status = pclose(pipe);
  EXPECT_EQ(status, 0) << command;
  return output;
}

bool haveTool(const char *tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

TEST(Base64Lines, ShortBlocksArePaddedToWholeGroups) {
  struct Case {
    std::string data;
    std::string line;
  } cases[] = {{"abc", "YWJj"}, {"a", "YQ=="}, {"ab", "YWI="}, {"abcd", "YWJjZA=="}};
  for (const Case &c : cases)
    EXPECT_EQ(encode<TBase64>(c.data), std::vector<std::string>{c.line}) << c.data;
}

TEST(Base64Lines, AgreeWithBase64ToolForEverySizeUpTo200AndLargeFiles) {
  if (!haveTool("base64"))
    GTEST_SKIP() << "base64 is not installed";
  std::vector<std::size_t> sizes;
  for (std::size_t size = 0; size <= 200; ++size)
    sizes.push_back(size);
  sizes.push_back(1 << 20);
  sizes.push_back(10 << 20);
  std::string dir = scratchFile("");
  std::string names;
  for (std::size_t size : sizes) {
    std::string name = "b64-" + std::to_string(size) + ".bin";
    writeFile(dir + name, bytesOfSize(size, static_cast<unsigned>(size)));
    names += name + " ";
  }
  // One run of the tool over every file, each answer after a marker line.
  std::istringstream theirs(
      run("cd '" + dir + "' && for f in " + names + "; do echo @; base64 -w 76 $f; done"));
  std::string line;
  std::getline(theirs, line); // the first marker
  for (std::size_t size : sizes) {
    std::vector<std::string> expected;
    while (std::getline(theirs, line) && line != "@")
      expected.push_back(line);
    std::vector<std::string> ours = encode<TBase64>(bytesOfSize(size, static_cast<unsigned>(size)));
    // A size that is a multiple of 57 ends with our one empty line.
    if (size % 57 == 0) {
      ASSERT_FALSE(ours.empty());
      EXPECT_EQ(ours.back(), "");
      ours.pop_back();
    }
    ASSERT_EQ(ours, expected) << "size " << size;
  }
}

TEST(UUCodeLines, FullLineThenTheClosingLineOfTheMessage) {
  auto lines = encode<TUUCode>(bytesOfSize(45));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].size(), 61u);
  EXPECT_EQ(lines[0][0], 'M');
  EXPECT_TRUE(encode<TUUCode>("").empty());
  auto short1 = encode<TUUCode>("a");
  ASSERT_EQ(short1.size(), 1u);
  EXPECT_EQ(short1[0], "!80");
}

TEST(UUCodeLines, DecodeWithUudecodeForEverySizeUpTo200) {
  if (!haveTool("uudecode"))
    GTEST_SKIP() << "sharutils is not installed";
  std::string dir = scratchFile("");
  // Every size as an attachment laid out as the message lays it out, in a
  // file of its own; one run of uudecode writes each under its own name.
  std::string inputs;
  std::vector<std::string> data;
  for (std::size_t size = 0; size <= 200; ++size) {
    data.push_back(bytesOfSize(size, static_cast<unsigned>(size) + 1000));
    std::string name = "uu-" + std::to_string(size) + ".bin";
    std::remove((dir + name).c_str());
    std::string part = "begin 600 " + name + "\n";
    for (const std::string &line : encode<TUUCode>(data.back()))
      part += line + "\n";
    part += "`\nend\n";
    writeFile(dir + name + ".uu", part);
    inputs += name + ".uu ";
  }
  run("cd '" + dir + "' && uudecode " + inputs);
  for (std::size_t size = 0; size <= 200; ++size)
    ASSERT_EQ(readFile(dir + "uu-" + std::to_string(size) + ".bin"), data[size]) << "size " << size;
}

namespace {

// The line of the first n bytes of a block, made one bit at a time as the
// format describes it: a bit per byte, six bits a character.
std::string bitByBitLine(const std::uint8_t *block, std::size_t blockSize, std::size_t n,
                         const char *alphabet, bool uu) {
  std::vector<int> bits;
  for (std::size_t i = 0; i < blockSize; ++i)
    for (int bit = 7; bit >= 0; --bit)
      bits.push_back(block[i] >> bit & 1);
  std::size_t keep = n == blockSize ? blockSize * 4 / 3 : n * 4 / 3 + (uu || n % 3 ? 1 : 0);
  std::string line = uu ? std::string(1, alphabet[n]) : std::string();
  for (std::size_t group = 0; group < keep; ++group) {
    int value = 0;
    for (std::size_t bit = 0; bit < 6; ++bit)
      value = value * 2 + bits[group * 6 + bit];
    line += alphabet[value];
  }
  while (!uu && line.size() % 4 != 0)
    line += '=';
  return line;
}

} // namespace

TEST(BlockLines, EveryLengthMatchesTheBitByBitLayout) {
  const char base64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const char uu[] = "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::string block = bytesOfSize(57, seed);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(block.data());
    for (std::size_t n = 0; n <= 57; ++n)
      ASSERT_EQ(billpost::EncodeBlockLine(billpost::Base64Lines, bytes, n),
                bitByBitLine(bytes, 57, n, base64, false))
          << "base64, " << n << " bytes";
    // Bits past the n-th byte come from the block: a reused block's
    // leftovers, which the short line carries.
    for (std::size_t n = 0; n <= 45; ++n)
      ASSERT_EQ(billpost::EncodeBlockLine(billpost::UULines, bytes, n),
                bitByBitLine(bytes, 45, n, uu, true))
          << "uuencode, " << n << " bytes";
  }
}

TEST(UUCodeLines, AgreeWithUuencodeLineForLine) {
  if (!haveTool("uuencode"))
    GTEST_SKIP() << "sharutils is not installed";
  std::string dir = scratchFile("");
  for (std::size_t size : {0, 1, 2, 3, 44, 45, 46, 57, 90, 10 << 20}) {
    std::string data = bytesOfSize(size, static_cast<unsigned>(size) + 77);
    std::string name = dir + "uu-" + std::to_string(size) + ".bin";
    writeFile(name, data);
    std::istringstream theirs(run("uuencode '" + name + "' x"));
    std::vector<std::string> tool;
    for (std::string line; std::getline(theirs, line);)
      tool.push_back(line);
    // The tool frames its lines as the message layout does: "begin", the
    // lines, the zero-count line and "end".
    ASSERT_GE(tool.size(), 3u) << size;
    EXPECT_EQ(tool.front().rfind("begin ", 0), 0u);
    EXPECT_EQ(tool[tool.size() - 2], "`");
    EXPECT_EQ(tool.back(), "end");
    tool = std::vector<std::string>(tool.begin() + 1, tool.end() - 2);
    std::vector<std::string> ours = encode<TUUCode>(data);
    ASSERT_EQ(ours.size(), tool.size()) << size;
    for (std::size_t i = 0; i < ours.size(); ++i) {
      if (ours[i].size() == 61) {
        ASSERT_EQ(ours[i], tool[i]) << "size " << size << ", line " << i;
        continue;
      }
      // A short last line: the same count and whole groups; its partial
      // group keeps one character more than its bytes need and, where the
      // tool writes zero bits, the leftovers of the block.
      std::size_t n = size % 45, whole = n / 3 * 4;
      ASSERT_EQ(i + 1, ours.size());
      EXPECT_EQ(ours[i].substr(0, 1 + whole), tool[i].substr(0, 1 + whole)) << size;
      EXPECT_EQ(ours[i].size(), 1 + n * 4 / 3 + 1) << size;
      // Both partial groups give the same last bytes.
      auto tail = [&](const std::string &line) {
        std::uint32_t bits = 0;
        for (std::size_t c = 0; c < 4; ++c)
          bits = bits << 6 | (1 + whole + c < line.size() ? (line[1 + whole + c] - 32) & 63 : 0u);
        return std::to_string(bits >> 16) + "," + std::to_string(n % 3 == 2 ? bits >> 8 & 255 : 0);
      };
      if (n % 3 != 0) {
        EXPECT_EQ(tail(ours[i]), tail(tool[i])) << size;
      }
    }
  }
}

namespace {

std::string quopriDecode(const std::string &encoded) {
  std::string file = scratchFile("qp.txt");
  writeFile(file, encoded);
  return run("/usr/bin/python3 -c 'import quopri,sys; "
             "sys.stdout.buffer.write(quopri.decodestring(open(sys.argv[1],\"rb\").read()))' '" +
             file + "'");
}

using Lines = std::vector<std::string>;

Lines wrapped(const std::string &paragraph) { return TQuotedPrintable::WrapParagraph(paragraph); }

// The payload of a quoted-printable MIME part as a reader's parser hands it
// to the decoder: the part's lines, each ending with CR LF (the part is
// followed by an empty line and the CR LF before the boundary belongs to
// the boundary).
std::string partPayload(const Lines &lines) {
  std::string payload;
  for (const std::string &line : lines)
    payload += line + "\r\n";
  return payload;
}

void expectLinesWithinLimit(const Lines &lines, const std::string &what) {
  for (const std::string &line : lines)
    EXPECT_LE(line.size(), TQuotedPrintable::MaxLineLength) << what << ": " << line;
}

} // namespace

TEST(QuotedPrintable, EscapesAndWrapsBodyLines) {
  EXPECT_EQ(wrapped("a=b"), Lines{"a=3Db"});
  EXPECT_EQ(wrapped("tab\there"), Lines{"tab=09here"});
  EXPECT_EQ(wrapped("caf\xE9 del\x7F"), Lines{"caf=E9 del=7F"});
  EXPECT_EQ(wrapped(std::string(70, 'x')),
            (Lines{std::string(65, 'x') + "=", std::string(5, 'x')}));
  // Cut before the last blank within reach; the blank starts the next line.
  std::string words = std::string(60, 'a') + " " + std::string(20, 'b');
  EXPECT_EQ(wrapped(words), (Lines{std::string(60, 'a') + "=", " " + std::string(20, 'b')}));
  // A blank before a hard break is escaped: transports strip trailing blanks.
  EXPECT_EQ(wrapped("end "), Lines{"end=20"});
  EXPECT_EQ(TQuotedPrintable::EncodeLines({"one", "", "two "}), (Lines{"one", "", "two=20"}));
}

TEST(QuotedPrintable, EscapedLinesKeepTo76Characters) {
  // 70 "e acute" escape to 210 characters: cut into lines of 25 escapes.
  std::string accents(70, '\xE9');
  Lines lines = wrapped(accents);
  expectLinesWithinLimit(lines, "70 accents");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].size(), 76u);
  // Python's decoder keeps the CR LF of a hard break.
  EXPECT_EQ(quopriDecode(partPayload(lines)), accents + "\r\n");
  // A line that just fits with an escaped blank at its end, and one that
  // does not: the blank then goes to a line of its own.
  std::string fits = std::string(24, '\xE9') + " ";
  EXPECT_EQ(wrapped(fits).size(), 1u);
  std::string over = std::string(24, '\xE9') + "x ";
  expectLinesWithinLimit(wrapped(over), "escaped blank at the end");
  EXPECT_EQ(quopriDecode(partPayload(wrapped(over))), over + "\r\n");
}

TEST(QuotedPrintable, BlankBeforeALongUrlStillWraps) {
  std::string url = "http://example.invalid/" + std::string(200, 'u');
  std::string text = "see " + url + " now";
  auto lines = encode<TQuotedPrintable>(text);
  ASSERT_FALSE(lines.empty());
  EXPECT_LE(lines.size(), 6u);
  EXPECT_EQ(quopriDecode(partPayload(lines)), text);
}

TEST(QuotedPrintable, AttachmentLineEndsAreData) {
  EXPECT_EQ(encode<TQuotedPrintable>("a\r\n\r\nb"), (Lines{"a=0D=0A=", "=0D=0A=", "b="}));
  EXPECT_EQ(encode<TQuotedPrintable>("a\n\nb\n"), (Lines{"a=0A=", "=0A=", "b=0A="}));
  EXPECT_EQ(encode<TQuotedPrintable>("a\rb"), (Lines{"a=0D=", "b="}));
  EXPECT_EQ(encode<TQuotedPrintable>(""), Lines{});
}

TEST(QuotedPrintable, AttachmentsDecodeToTheirExactBytes) {
  std::string eight;
  for (int c = 128; c < 256; ++c)
    eight += static_cast<char>(c);
  const std::string texts[] = {
      "<html>\n<p>one</p>\n<p>two</p>\n<p>three</p>\n",
      "<html>\r\n<p>one</p>\r\n<p>two</p>\r\n<p>three</p>\r\n",
      "Dear customer,\n\nyour invoice = 12.50 EUR\n\n\n\tindented\nlast line\n",
      "no line end at the end",
      "mixed\r\nends\rand\nmore\n\r",
      "trailing blanks   \nand tabs\t\t\r\n  \n",
      std::string(300, 'z') + "\n" + std::string(130, '=') + "\n",
      "8-bit: " + eight + "\n",
      std::string(70, '\xE9') + "\r\n",
      "words " + std::string(64, 'w') + " more words and more words and more words\n",
      "\n",
      ".\n.. leading dots\nFrom the start\n",
  };
  for (const std::string &text : texts) {
    Lines lines = encode<TQuotedPrintable>(text);
    expectLinesWithinLimit(lines, text);
    EXPECT_EQ(quopriDecode(partPayload(lines)), text) << text;
  }
}

TEST(QuotedPrintable, BodyLinesDecodeToTheOriginalLines) {
  Lines body = {"Amount = 12.50",
                "Tab\there",
                "Caf\xE9 \xFC"
                "ber",
                "",
                std::string(5000, 'L'),
                "blank at the end ",
                "x" + std::string(998, ' ') + "y"};
  Lines encoded = TQuotedPrintable::EncodeLines(body);
  expectLinesWithinLimit(encoded, "body");
  std::string expected;
  for (const std::string &line : body)
    expected += line + "\r\n";
  EXPECT_EQ(quopriDecode(partPayload(encoded)), expected);
}

// Python's email package decodes our encoded words back to the text and
// finds no defect in a header that carries them.
TEST(EncodedWords, PythonsEmailPackageDecodesThem) {
  // Up to 42 bytes: one word; Python keeps the blank between the words of
  // longer names, which other readers drop.
  const std::string names[] = {std::string(42, '\xE9'), "Ren\xE9 M\xFCller",
                               "D\xF6"
                               "e, \"J\" <x>",
                               "=?x?= _ plain", "\xA3 sterling"};
  for (const std::string &name : names) {
    std::string header = "From: " + billpost::MailboxText("rene@example.com |" + name) + "\r\n";
    std::string file = scratchFile("header.txt");
    writeFile(file, header + "\r\nbody\r\n");
    std::string decoded = run(
        "/usr/bin/python3 -c 'import email, email.policy, sys\n"
        "m = email.message_from_bytes(open(sys.argv[1], \"rb\").read(), "
        "policy=email.policy.default)\n"
        "f = m[\"From\"]\n"
        "assert not m.defects and not f.defects, (m.defects, f.defects)\n"
        "a = f.addresses[0]\n"
        "sys.stdout.buffer.write((a.display_name + \"|\" + a.addr_spec).encode(\"latin-1\"))' '" +
        file + "'");
    EXPECT_EQ(decoded, name + "|rene@example.com") << header;
  }
}

TEST(QuotedPrintable, ReadsFromThePositionAndLeavesTheStreamAtItsEnd) {
  TMemoryStream source = streamOf("skip me|one\r\ntwo");
  source.SetPosition(8);
  TStringList output;
  TQuotedPrintable encoder(source, output);
  encoder.Encode();
  EXPECT_EQ(linesOf(output), (std::vector<std::string>{"one=0D=0A=", "two="}));
  EXPECT_EQ(source.Position(), source.Size());
}

TEST(QuotedPrintable, ParagraphLimit) {
  std::string largest(TQuotedPrintable::MaxParagraph, 'p');
  EXPECT_NO_THROW(encode<TQuotedPrintable>(largest));
  try {
    encode<TQuotedPrintable>(largest + "p");
    FAIL() << "a paragraph over the limit was encoded";
  } catch (const billpost::EMIMEError &e) {
    EXPECT_EQ(e.Message(), "Paragraph is too large");
  }
}

TEST(EncoderControl, ProgressStopAndMessagePumping) {
  std::string data = bytesOfSize(57 * 20);
  TMemoryStream source = streamOf(data);
  LineList output;
  TBase64 encoder(source, output);
  std::vector<int> seen;
  int pumped = 0;
  encoder.ProcessMessages = [&] { ++pumped; };
  encoder.OnProgress = [&](components::TObject *sender) {
    EXPECT_EQ(sender, &encoder);
    seen.push_back(encoder.Percent);
  };
  encoder.Encode();
  EXPECT_EQ(pumped, 21); // 20 full blocks and the empty last read
  // The empty last read stays at 100 and notifies nothing; the closing
  // step notifies 100 once more.
  EXPECT_EQ(seen, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100}));

  // Stopping from inside the pump leaves no output.
  source.SetPosition(0);
  TUUCode uu(source, output);
  uu.ProcessMessages = [&] { uu.Stop = true; };
  uu.Encode();
  EXPECT_EQ(output.Count(), 0);
  EXPECT_EQ(uu.Percent, 100);
}

// The owner hears each multiple of ten once, however many lines stay on
// it, and 100 once more at the end.
TEST(EncoderControl, ProgressOncePerTenth) {
  const std::vector<int> everyTenth{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100};
  struct Case {
    const char *what;
    bool base64;
    std::size_t size;
    std::vector<int> seen;
  } cases[] = {
      // 1000 lines: the k-th is at k/10 percent, on each tenth for 10 lines.
      {"base64, 1000 lines", true, 57 * 1000, everyTenth},
      {"uuencode, 1000 lines", false, 45 * 1000, everyTenth},
      {"base64, 1000 lines and a short one", true, 57 * 1000 + 1, everyTenth},
      // 33, 67 and 100 percent: only 100 is a tenth.
      {"base64, 3 lines", true, 57 * 3, {100, 100}},
      {"uuencode, 3 lines", false, 45 * 3, {100, 100}},
      {"empty", true, 0, {100, 100}},
  };
  for (const Case &c : cases) {
    TMemoryStream source = streamOf(bytesOfSize(c.size));
    LineList output;
    TBase64 base64(source, output);
    TUUCode uu(source, output);
    billpost::TBlockEncoder &encoder =
        c.base64 ? static_cast<billpost::TBlockEncoder &>(base64) : uu;
    std::vector<int> seen;
    encoder.OnProgress = [&](components::TObject *) { seen.push_back(encoder.Percent); };
    encoder.Encode();
    EXPECT_EQ(seen, c.seen) << c.what;
  }
}

TEST(Boundary, EightDigitsFromZeroToEight) {
  for (int i = 0; i < 50; ++i) {
    std::string boundary = billpost::MakeBoundary();
    ASSERT_EQ(boundary.size(), 8u);
    for (char c : boundary)
      EXPECT_TRUE(c >= '0' && c <= '8') << boundary;
  }
}
