// Main dictionaries: loading ".dct" files and looking words up in them.
#include "spelling/core/dictionary.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/file-system.h"

#include <utility>

namespace spelling {
namespace {

using components::EReadError;
using components::TStream;

std::uint8_t readU8(TStream &stream) {
  std::uint8_t value = 0;
  stream.ReadBuffer(&value, 1);
  return value;
}

std::uint32_t decodeU32(const std::uint8_t *bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint32_t readU32(TStream &stream) {
  std::uint8_t bytes[4];
  stream.ReadBuffer(bytes, sizeof bytes);
  return decodeU32(bytes);
}

// Node words are read whole into memory; decoding them once here keeps the
// lookup to one aligned load per child tried.
void readNodeWords(TStream &stream, std::vector<std::uint32_t> &words, std::size_t count) {
  std::vector<std::uint8_t> bytes(count * 4);
  if (count)
    stream.ReadBuffer(bytes.data(), bytes.size());
  words.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    words[i] = decodeU32(&bytes[i * 4]);
}

unsigned childKind(std::uint32_t node) { return (node >> NodeKindShift) & 7; }
std::uint32_t operand(std::uint32_t node) { return node & NodeOperandMask; }
std::uint8_t letterOf(std::uint32_t node) {
  return static_cast<std::uint8_t>(node >> NodeLetterShift);
}

std::uint32_t decodeU16(const std::uint8_t *bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8;
}

[[noreturn]] void fail(std::int64_t position, const std::string &what) {
  throw EReadError("damaged dictionary at offset " + std::to_string(position) + ": " + what);
}

} // namespace

TSubDictionary::TSubDictionary() = default;

void TSubDictionary::clear() {
  nodes_.clear();
  childBlock_.clear();
  listLetters_.clear();
  firstLetterCount_ = 0;
  rootByLetter_.fill(0);
}

void TSubDictionary::Load(TStream &stream) {
  clear();
  try {
    const std::int64_t blockStart = stream.Position();
    const std::uint32_t nodeCount = readU32(stream);
    const std::uint32_t childBlockSize = readU32(stream);
    // Both arrays must lie inside the stream before anything is allocated
    // for them: a damaged count must not turn into a huge allocation.
    const std::uint64_t announced =
        static_cast<std::uint64_t>(nodeCount) * 4 + static_cast<std::uint64_t>(childBlockSize);
    const std::int64_t remaining = stream.Remaining();
    if (remaining < 0 || announced > static_cast<std::uint64_t>(remaining))
      fail(blockStart, std::to_string(nodeCount) + " nodes and a child block of " +
                           std::to_string(childBlockSize) + " bytes announced, only " +
                           std::to_string(remaining < 0 ? 0 : remaining) + " bytes follow");
    readNodeWords(stream, nodes_, nodeCount);
    childBlock_.resize(childBlockSize);
    if (childBlockSize)
      stream.ReadBuffer(childBlock_.data(), childBlockSize);

    firstLetterCount_ = readU8(stream);
    if (firstLetterCount_)
      stream.ReadBuffer(firstLetters_.data(), firstLetterCount_);
    std::uint8_t rootBytes[4 * 255];
    if (firstLetterCount_)
      stream.ReadBuffer(rootBytes, 4 * firstLetterCount_);
    for (std::size_t i = 0; i < firstLetterCount_; ++i)
      roots_[i] = decodeU32(&rootBytes[i * 4]);

    validate(blockStart);
    listLetters_.assign(childBlock_.size(), 0);
    for (std::size_t at = 0; at + 1 < childBlock_.size(); ++at) {
      const std::uint32_t index = decodeU16(&childBlock_[at]);
      if (index < nodes_.size())
        listLetters_[at] = letterOf(nodes_[index]);
    }
    for (std::size_t i = firstLetterCount_; i-- > 0;)
      rootByLetter_[firstLetters_[i]] = static_cast<std::uint8_t>(i + 1);
  } catch (...) {
    clear();
    throw;
  }
}

void TSubDictionary::validateNode(std::uint32_t node, std::int64_t blockStart, const char *where,
                                  std::size_t number) const {
  const unsigned kind = childKind(node);
  const std::uint32_t at = operand(node);
  auto bad = [&](const std::string &what) {
    fail(blockStart, std::string(where) + " " + std::to_string(number) + ": " + what);
  };
  if (kind == 0)
    return;
  if (kind == 1) {
    if (at >= nodes_.size())
      bad("child index " + std::to_string(at) + " beyond the " + std::to_string(nodes_.size()) +
          " nodes");
    return;
  }
  std::size_t count = kind;
  std::size_t first = at;
  if (kind == 7) {
    if (at >= childBlock_.size())
      bad("child list offset " + std::to_string(at) + " beyond the " +
          std::to_string(childBlock_.size()) + "-byte child block");
    count = childBlock_[at];
    first = static_cast<std::size_t>(at) + 1;
  }
  if (first + 2 * count > childBlock_.size())
    bad("child list of " + std::to_string(count) + " at offset " + std::to_string(at) +
        " runs past the " + std::to_string(childBlock_.size()) + "-byte child block");
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t index = decodeU16(&childBlock_[first + 2 * i]);
    if (index >= nodes_.size())
      bad("child index " + std::to_string(index) + " beyond the " + std::to_string(nodes_.size()) +
          " nodes");
  }
}

void TSubDictionary::validate(std::int64_t blockStart) const {
  for (std::size_t i = 0; i < nodes_.size(); ++i)
    validateNode(nodes_[i], blockStart, "node", i);
  for (std::size_t i = 0; i < firstLetterCount_; ++i)
    validateNode(roots_[i], blockStart, "root", i);
}

bool TSubDictionary::findChild(std::uint32_t node, std::uint8_t letter,
                               std::uint32_t &child) const {
  const unsigned kind = childKind(node);
  if (kind == 0)
    return false;
  if (kind == 1) {
    child = nodes_[operand(node)];
    return letterOf(child) == letter;
  }
  std::size_t first = operand(node);
  unsigned count = kind;
  if (kind == 7)
    count = childBlock_[first++];
  const std::uint8_t *letters = listLetters_.data() + first;
  for (unsigned i = 0; i < 2 * count; i += 2) {
    if (letters[i] == letter) {
      child = nodes_[decodeU16(childBlock_.data() + first + i)];
      return true;
    }
  }
  return false;
}

bool TSubDictionary::Contains(std::string_view word) const {
  if (word.empty() || word.size() > MaxWordLength)
    return false;
  const unsigned root = rootByLetter_[static_cast<std::uint8_t>(word[0])];
  if (!root)
    return false;
  std::uint32_t node = roots_[root - 1];
  for (std::size_t i = 1; i < word.size(); ++i) {
    if (!findChild(node, static_cast<std::uint8_t>(word[i]), node))
      return false;
  }
  return (node & NodeEndOfWord) != 0;
}

TDictionary::TDictionary(std::string fileName) : fileName_(std::move(fileName)) {}

TDictionary::~TDictionary() {
  if (opened_)
    Close();
}

bool TDictionary::Open() {
  if (opened_)
    return true;
  if (!components::FileExists(fileName_))
    return false;
  components::TFileStream stream(fileName_, components::fmOpenRead | components::fmShareDenyWrite);
  try {
    loadFrom(stream);
  } catch (components::Exception &error) {
    error.SetMessage(fileName_ + ": " + error.Message());
    throw;
  }
  return true;
}

void TDictionary::loadFrom(TStream &stream) {
  stream.SetPosition(DctCountOffset);
  const std::uint8_t count = readU8(stream);
  // A dictionary without a sub-dictionary knows no word: opened, it
  // would report every word of a text as unknown.
  if (count == 0)
    fail(DctCountOffset, "the sub-dictionary count is 0");
  const std::uint8_t alphabetLength = readU8(stream);
  std::string alphabet(alphabetLength, '\0');
  if (alphabetLength)
    stream.ReadBuffer(&alphabet[0], alphabetLength);
  // Everything is loaded aside and taken over only when the whole file has
  // been read, so a failure leaves the dictionary as it was.
  std::vector<std::unique_ptr<TSubDictionary>> loaded;
  loaded.reserve(count);
  for (unsigned i = 0; i < count; ++i) {
    auto sub = std::make_unique<TSubDictionary>();
    sub->Load(stream);
    loaded.push_back(std::move(sub));
  }
  subDictionaries_ = std::move(loaded);
  alphabet_ = std::move(alphabet);
  opened_ = true;
}

void TDictionary::Close() {
  subDictionaries_.clear();
  opened_ = false;
}

bool TDictionary::Contains(std::string_view word) const {
  for (const auto &sub : subDictionaries_) {
    if (sub->Contains(word))
      return true;
  }
  return false;
}

} // namespace spelling
