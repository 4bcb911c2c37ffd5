// Hand-made ".dct" files for the dictionary tests: every byte placed here
// from the file layout, independently of the dictionary builder.
#ifndef SPELLING_TESTS_DCT_TEST_BYTES_H
#define SPELLING_TESTS_DCT_TEST_BYTES_H

#include "testing/test-files.h"
#include "testing/test-paths.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace dct_test {

using Bytes = std::vector<std::uint8_t>;

inline void putU32(Bytes &out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 24));
}

inline void putU16(Bytes &out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// A node word: letter in bits 24-31, end of word in bit 23, child kind in
// bits 20-22, operand in bits 0-19.
inline std::uint32_t node(char letter, bool endOfWord, unsigned kind, std::uint32_t operand) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(letter)) << 24 |
         (endOfWord ? 1u << 23 : 0) | kind << 20 | operand;
}

struct Block {
  std::vector<std::uint32_t> nodes;
  Bytes children;                                    // the child block
  std::vector<std::pair<char, std::uint32_t>> roots; // first letter, root word
};

inline void putBlock(Bytes &out, const Block &block) {
  putU32(out, static_cast<std::uint32_t>(block.nodes.size()));
  putU32(out, static_cast<std::uint32_t>(block.children.size()));
  for (std::uint32_t word : block.nodes)
    putU32(out, word);
  out.insert(out.end(), block.children.begin(), block.children.end());
  out.push_back(static_cast<std::uint8_t>(block.roots.size()));
  for (const auto &root : block.roots)
    out.push_back(static_cast<std::uint8_t>(root.first));
  for (const auto &root : block.roots)
    putU32(out, root.second);
}

// 278 header bytes (zero, with the 25-byte title at 88), the block count,
// the alphabet and the blocks.
inline Bytes dctFile(const std::string &alphabet, const std::vector<Block> &blocks,
                     const std::string &title = "") {
  Bytes out(278, 0);
  for (std::size_t i = 0; i < title.size() && i < 25; ++i)
    out[88 + i] = static_cast<std::uint8_t>(title[i]);
  out.push_back(static_cast<std::uint8_t>(blocks.size()));
  out.push_back(static_cast<std::uint8_t>(alphabet.size()));
  out.insert(out.end(), alphabet.begin(), alphabet.end());
  for (const Block &block : blocks)
    putBlock(out, block);
  return out;
}

// A scratch file's path for a test's dictionary of that name.
inline std::string scratchFile(const std::string &name) {
  return testing_support::scratchPath(name) + ".dct";
}

inline void writeFile(const std::string &path, const Bytes &bytes) {
  testing_support::writeFile(path, std::string(bytes.begin(), bytes.end()));
}

// One block holding "cat", "cats" is not stored, "car", "a" and "I":
//   roots: c -> node 0 (a, list of 2 at offset 0: t, r), a (end), I (end)
inline Block catBlock() {
  Block block;
  block.nodes = {
      node('a', false, 2, 0), // 0: "ca", children t and r
      node('t', true, 0, 0),  // 1: "cat"
      node('r', true, 0, 0),  // 2: "car"
  };
  putU16(block.children, 1);
  putU16(block.children, 2);
  block.roots = {
      {'c', node('c', false, 1, 0)}, {'a', node('a', true, 0, 0)}, {'I', node('I', true, 0, 0)}};
  return block;
}

} // namespace dct_test

#endif
