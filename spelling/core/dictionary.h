// Main dictionaries: the read-only ".dct" word lists and their lookup.
//
// A ".dct" file holds, after a 278-byte header whose only used field is the
// 25-byte title at offset 88, a sub-dictionary count (u8), the alphabet
// (u8 length and the letters) and that many sub-dictionary blocks. A block
// is a letter graph: a u32 node count and a u32 child-block size, the node
// words (u32 each: letter in bits 24-31, end of word in bit 23, child kind in
// bits 20-22, operand in bits 0-19), the child block (lists of u16 node
// indices), and the first-letter table with one root node word per letter.
// All integers are little-endian. A word is known when a walk from the root
// of its first letter, one child per further letter, ends on a node with the
// end-of-word bit.
//
// Loading checks every count against the bytes that remain and every node's
// operand against the node array and the child block, so that a damaged file
// is refused with EReadError before anything is allocated for it, and a
// lookup never leaves the loaded buffers.
#ifndef SPELLING_DICTIONARY_H
#define SPELLING_DICTIONARY_H

#include "platform/components/core/event.h"
#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace spelling {

// The longest word a lookup considers; longer words are never contained.
constexpr std::size_t MaxWordLength = 255;

// Offsets and sizes of the ".dct" header fields that are read.
constexpr std::int64_t DctTitleOffset = 88;
constexpr std::size_t DctTitleLength = 25;
constexpr std::int64_t DctCountOffset = 278;

// Node word fields.
constexpr unsigned NodeLetterShift = 24;
constexpr std::uint32_t NodeEndOfWord = 1u << 23;
constexpr unsigned NodeKindShift = 20;
constexpr std::uint32_t NodeOperandMask = (1u << 20) - 1;

class TSubDictionary : public components::TObject {
public:
  TSubDictionary();

  // Reads one block from the stream's position and leaves the stream after
  // it. Throws components::EReadError (from the stream on a short read, or
  // naming the position and the fault for a block whose counts exceed the
  // stream or whose nodes point outside it); the object is then empty.
  void Load(components::TStream &stream);

  // Whether the word is stored, byte for byte. Allocates nothing.
  bool Contains(std::string_view word) const;

  std::size_t nodeCount() const { return nodes_.size(); }
  std::size_t childBlockSize() const { return childBlock_.size(); }

private:
  void clear();
  void validate(std::int64_t blockStart) const;
  void validateNode(std::uint32_t node, std::int64_t blockStart, const char *where,
                    std::size_t number) const;
  // The child of node whose letter is letter; false when there is none.
  bool findChild(std::uint32_t node, std::uint8_t letter, std::uint32_t &child) const;

  std::vector<std::uint32_t> nodes_;
  std::vector<std::uint8_t> childBlock_;
  // For each child-block offset where a valid node index starts, that
  // node's letter: a list is scanned in these bytes, and the node array is
  // read only for the child that matches.
  std::vector<std::uint8_t> listLetters_;
  std::size_t firstLetterCount_ = 0;
  std::array<std::uint8_t, 255> firstLetters_{};
  std::array<std::uint32_t, 255> roots_{};
  // For each byte value, 1 + the index of its first entry in the
  // first-letter table, or 0: the table's "first match counts" rule without
  // a search per lookup.
  std::array<std::uint8_t, 256> rootByLetter_{};
};

class TDictionary : public components::TObject {
public:
  explicit TDictionary(std::string fileName);
  ~TDictionary() override;
  TDictionary(const TDictionary &) = delete;
  TDictionary &operator=(const TDictionary &) = delete;

  // Loads every sub-dictionary. True when already open; false, changing
  // nothing, when the file does not exist. A damaged or short file throws
  // components::EReadError naming the file; the dictionary then stays closed
  // with nothing of the file loaded and its alphabet unchanged.
  bool Open();
  void Close();
  // True when a sub-dictionary, tried in file order, holds the word.
  bool Contains(std::string_view word) const;
  // Appends to the list the known candidates of the edit methods that
  // SuggestMask selects, over the alphabet, and stops once the list holds
  // more than SuggestLimit entries (suggestions.h).
  void Suggest(const std::string &word, components::TStringList &list) const;

  const std::string &Alphabet() const { return alphabet_; }
  bool Opened() const { return opened_; }
  std::uint8_t SuggestMask() const { return suggestMask_; }
  int SuggestLimit() const { return suggestLimit_; }
  void SetSuggestLimit(int limit) { suggestLimit_ = limit; }
  const std::string &FileName() const { return fileName_; }
  const std::vector<std::unique_ptr<TSubDictionary>> &SubDictionaries() const {
    return subDictionaries_;
  }

  // Open's work on a stream positioned anywhere (the file's own errors are
  // reported without its name). Throws as Open does.
  void loadFrom(components::TStream &stream);

private:
  std::string fileName_;
  std::string alphabet_;
  bool opened_ = false;
  std::uint8_t suggestMask_ = 255;
  int suggestLimit_ = 30;
  std::vector<std::unique_ptr<TSubDictionary>> subDictionaries_;
};

} // namespace spelling

#endif
