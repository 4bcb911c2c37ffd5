// Damaged ".dct" files: truncated, with counts past the end or huge, with
// child indices and offsets outside the file. Each must be refused with a
// read error naming the file, leave the dictionary closed, and allocate
// nothing large. A bounded fuzz run of the coverage harness covers what the
// tables miss.
#include "spelling/core/dictionary.h"
#include "spelling/tests/dct-test-bytes.h"
#include "spelling/tools/dct-build.h"
#include "testing/fuzz-driver.h"

#include "platform/components/core/exception.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using dct_test::Block;
using dct_test::Bytes;
using dct_test::dctFile;
using dct_test::node;
using dct_test::putU16;
using dct_test::scratchFile;

// Opens the bytes as a file; answers the read error's message, or "" when
// the file opened.
std::string openError(const std::string &name, const Bytes &bytes,
                      spelling::TDictionary *keep = nullptr) {
  const std::string path = scratchFile(name);
  dct_test::writeFile(path, bytes);
  spelling::TDictionary local(path);
  spelling::TDictionary &dictionary = keep ? *keep : local;
  std::string message;
  try {
    if (!dictionary.Open())
      message = "Open answered false";
  } catch (const components::EReadError &error) {
    message = error.Message();
    EXPECT_FALSE(dictionary.Opened()) << name;
    EXPECT_TRUE(dictionary.SubDictionaries().empty()) << name;
    EXPECT_NE(message.find(path), std::string::npos) << "no file name in: " << message;
  }
  std::remove(path.c_str());
  return message;
}

Bytes twoBlockFile() {
  Block second;
  second.nodes = {node('o', false, 1, 1), node('g', true, 0, 0)};
  second.roots = {{'d', node('d', false, 1, 0)}};
  return dctFile("Iacdgort", {dct_test::catBlock(), second}, "Test");
}

TEST(DictionaryDamage, EveryTruncationIsAReadError) {
  const Bytes whole = twoBlockFile();
  ASSERT_EQ(openError("whole", whole), "");
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_NE(openError("truncated", cut), "") << "cut to " << size << " bytes";
  }
}

// Offsets in a one-block file made of catBlock(): the block starts after
// the header (278), the two counts and the 5-letter alphabet.
constexpr std::size_t BlockAt = 278 + 2 + 5;
constexpr std::size_t NodesAt = BlockAt + 8;
constexpr std::size_t ChildrenAt = NodesAt + 3 * 4;
constexpr std::size_t RootsAt = ChildrenAt + 4 + 1 + 3;

void putU32At(Bytes &bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(DictionaryDamage, CountsAndOperandsOutsideTheFileAreRefused) {
  struct Case {
    const char *name;
    std::function<void(Bytes &)> damage;
    const char *expected; // part of the message
  } cases[] = {
      {"huge node count", [](Bytes &b) { putU32At(b, BlockAt, 0xFFFFFFFF); }, "nodes"},
      {"node count one past", [](Bytes &b) { putU32At(b, BlockAt, 100); }, "bytes follow"},
      {"huge child block", [](Bytes &b) { putU32At(b, BlockAt + 4, 0xFFFFFFFF); }, "child block"},
      {"kind 1 index past the nodes",
       [](Bytes &b) { putU32At(b, RootsAt, node('c', false, 1, 3)); }, "child index 3"},
      {"list index past the nodes", [](Bytes &b) { b[ChildrenAt + 2] = 3; }, "child index 3"},
      {"list past the child block", [](Bytes &b) { putU32At(b, NodesAt, node('a', false, 2, 2)); },
       "runs past"},
      {"kind 6 list past the child block",
       [](Bytes &b) { putU32At(b, NodesAt, node('a', false, 6, 0)); }, "runs past"},
      {"counted list offset past the block",
       [](Bytes &b) { putU32At(b, NodesAt, node('a', false, 7, 4)); }, "offset 4"},
      {"counted list count past the block",
       [](Bytes &b) {
         putU32At(b, NodesAt, node('a', false, 7, 0));
         b[ChildrenAt] = 200;
       },
       "runs past"},
      {"root with a far operand",
       [](Bytes &b) { putU32At(b, RootsAt + 4, node('a', true, 2, 0xFFFFF)); }, "root 1"},
      {"huge sub-dictionary count", [](Bytes &b) { b[278] = 255; }, ""},
      {"no sub-dictionary", [](Bytes &b) { b[278] = 0; },
       "offset 278: the sub-dictionary count is 0"},
      {"alphabet longer than the file",
       [](Bytes &b) {
         b.resize(283);
         b[279] = 255;
       },
       ""},
  };
  const Bytes good = dctFile("Iacrt", {dct_test::catBlock()});
  ASSERT_EQ(openError("good", good), "");
  for (const Case &c : cases) {
    Bytes bytes = good;
    c.damage(bytes);
    const std::string message = openError("damaged", bytes);
    EXPECT_NE(message, "") << c.name;
    EXPECT_NE(message.find(c.expected), std::string::npos) << c.name << ": " << message;
  }
}

TEST(DictionaryDamage, FailedOpenKeepsTheEarlierAlphabetAndStaysClosed) {
  const std::string path = scratchFile("reopen-damaged");
  dct_test::writeFile(path, dctFile("Iacrt", {dct_test::catBlock()}));
  spelling::TDictionary dictionary(path);
  ASSERT_TRUE(dictionary.Open());
  dictionary.Close();
  Bytes damaged = dctFile("xyz", {dct_test::catBlock()});
  damaged.resize(damaged.size() - 1);
  EXPECT_NE(openError("reopen-damaged", damaged, &dictionary), "");
  EXPECT_EQ(dictionary.Alphabet(), "Iacrt");
  EXPECT_FALSE(dictionary.Contains("cat"));
}

// Loads the bytes from memory and, when they load, looks a few words up:
// a lookup must stay inside the loaded buffers whatever the graph says.
TEST(DictionaryDamage, FuzzedFilesAreLoadedOrRefused) {
  spelling::dct::BuildOptions split;
  split.maxNodes = 6;
  const std::vector<std::string> words = {"cat", "cats", "car", "cow", "dog",  "dogs",
                                          "a",   "I",    "rat", "tar", "can't"};
  const std::vector<testing_support::Bytes> seeds = {
      dctFile("Iacrt", {dct_test::catBlock()}),
      twoBlockFile(),
      spelling::dct::buildDictionary(words, {}).file,
      spelling::dct::buildDictionary(words, split).file,
  };
  testing_support::FuzzLimits limits;
  limits.iterations = 200000;
  limits.seconds = 3.0;
  const unsigned tried = testing_support::fuzz(seeds, testing_support::runHarness, limits);
  EXPECT_GT(tried, seeds.size());
}

} // namespace
