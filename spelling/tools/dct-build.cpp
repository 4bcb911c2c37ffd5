// Making ".dct" main dictionaries: trie, suffix merging, layout, bytes.
#include "spelling/tools/dct-build.h"

#include "platform/components/core/unicode-text.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>

namespace spelling {
namespace dct {
namespace {

constexpr std::size_t MaxWordBytes = 255;
constexpr std::size_t ListIndexLimit = 1u << 16; // u16 indices in child lists
constexpr std::size_t OperandLimit = 1u << 20;   // 20-bit operands
constexpr std::size_t HeaderSize = 278;
constexpr std::size_t TitleOffset = 88;
constexpr std::size_t TitleLength = 25;

void putU32(Bytes &out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct TrieNode {
  std::uint8_t letter = 0;
  bool endOfWord = false;
  std::vector<std::uint32_t> children;
  std::size_t wordsBelow = 0; // words ending at or under this node
};

struct GraphNode {
  std::uint8_t letter = 0;
  bool endOfWord = false;
  std::vector<std::uint32_t> children; // graph node ids, in stored order
};

// The merged graph of a run of sorted, distinct words: equal subtries
// (same letter, same end-of-word flag, equal children in the same order)
// become one node.
class Graph {
public:
  Graph(const std::vector<std::string> &words, std::size_t first, std::size_t last) {
    buildTrie(words, first, last);
    for (std::uint32_t child : trie_[0].children)
      roots_.push_back(canonical(child));
    trie_.clear();
  }

  const std::vector<GraphNode> &nodes() const { return nodes_; }
  const std::vector<std::uint32_t> &roots() const { return roots_; }

private:
  void buildTrie(const std::vector<std::string> &words, std::size_t first, std::size_t last) {
    trie_.emplace_back();
    for (std::size_t w = first; w < last; ++w) {
      std::uint32_t at = 0;
      ++trie_[at].wordsBelow;
      for (char c : words[w]) {
        const auto letter = static_cast<std::uint8_t>(c);
        // Sorted input: a shared prefix always continues in the newest child.
        auto &children = trie_[at].children;
        if (!children.empty() && trie_[children.back()].letter == letter) {
          at = children.back();
        } else {
          const auto next = static_cast<std::uint32_t>(trie_.size());
          trie_[at].children.push_back(next);
          trie_.emplace_back();
          trie_.back().letter = letter;
          at = next;
        }
        ++trie_[at].wordsBelow;
      }
      trie_[at].endOfWord = true;
    }
  }

  // Graph id of a trie node, made bottom-up. Children are stored most
  // frequent first so that a lookup of common text finds its letter early;
  // equal subtries get equal orders, so merging is unaffected.
  std::uint32_t canonical(std::uint32_t trieIndex) {
    TrieNode &node = trie_[trieIndex];
    std::stable_sort(node.children.begin(), node.children.end(),
                     [this](std::uint32_t a, std::uint32_t b) {
                       if (trie_[a].wordsBelow != trie_[b].wordsBelow)
                         return trie_[a].wordsBelow > trie_[b].wordsBelow;
                       return trie_[a].letter < trie_[b].letter;
                     });
    GraphNode graphNode;
    graphNode.letter = node.letter;
    graphNode.endOfWord = node.endOfWord;
    for (std::uint32_t child : node.children)
      graphNode.children.push_back(canonical(child));
    std::string key;
    key += static_cast<char>(graphNode.letter);
    key += graphNode.endOfWord ? '1' : '0';
    for (std::uint32_t id : graphNode.children)
      key.append(reinterpret_cast<const char *>(&id), sizeof id);
    auto found = ids_.find(key);
    if (found != ids_.end())
      return found->second;
    const auto id = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back(std::move(graphNode));
    ids_.emplace(std::move(key), id);
    return id;
  }

  std::vector<TrieNode> trie_;
  std::vector<GraphNode> nodes_;
  std::vector<std::uint32_t> roots_;
  std::unordered_map<std::string, std::uint32_t> ids_;
};

// Lays one graph out as a sub-dictionary block. False when it does not fit:
// too many list-reached nodes, too many nodes, or a child block too large.
bool layOutBlock(const Graph &graph, std::size_t maxNodes, Bytes &block, std::size_t &nodeCount) {
  const auto &nodes = graph.nodes();
  // Breadth-first from the roots: parents and children end up close, and
  // nodes reached through a list are numbered before the others.
  std::vector<bool> visited(nodes.size(), false), inList(nodes.size(), false);
  std::vector<std::uint32_t> order;
  auto visitChildren = [&](const GraphNode &parent) {
    for (std::uint32_t child : parent.children) {
      if (parent.children.size() > 1)
        inList[child] = true;
      if (!visited[child]) {
        visited[child] = true;
        order.push_back(child);
      }
    }
  };
  for (std::uint32_t root : graph.roots())
    visitChildren(nodes[root]);
  for (std::size_t i = 0; i < order.size(); ++i)
    visitChildren(nodes[order[i]]);
  std::stable_partition(order.begin(), order.end(), [&](std::uint32_t id) { return inList[id]; });
  const auto listed = static_cast<std::size_t>(
      std::count_if(order.begin(), order.end(), [&](std::uint32_t id) { return inList[id]; }));
  if (listed > ListIndexLimit || order.size() > OperandLimit || order.size() > maxNodes)
    return false;

  std::vector<std::uint32_t> index(nodes.size(), 0);
  for (std::size_t i = 0; i < order.size(); ++i)
    index[order[i]] = static_cast<std::uint32_t>(i);

  Bytes childBlock;
  std::map<Bytes, std::uint32_t> listOffsets; // identical lists are stored once
  bool fits = true;
  auto nodeWord = [&](const GraphNode &node) -> std::uint32_t {
    std::uint32_t word = static_cast<std::uint32_t>(node.letter) << 24;
    if (node.endOfWord)
      word |= 1u << 23;
    const std::size_t count = node.children.size();
    if (count == 0)
      return word;
    if (count == 1)
      return word | 1u << 20 | index[node.children[0]];
    Bytes list;
    if (count > 6)
      list.push_back(static_cast<std::uint8_t>(count));
    for (std::uint32_t child : node.children) {
      list.push_back(static_cast<std::uint8_t>(index[child]));
      list.push_back(static_cast<std::uint8_t>(index[child] >> 8));
    }
    auto found = listOffsets.find(list);
    std::uint32_t offset;
    if (found != listOffsets.end()) {
      offset = found->second;
    } else {
      offset = static_cast<std::uint32_t>(childBlock.size());
      if (offset >= OperandLimit)
        fits = false;
      childBlock.insert(childBlock.end(), list.begin(), list.end());
      listOffsets.emplace(std::move(list), offset);
    }
    const std::uint32_t kind = count > 6 ? 7 : static_cast<std::uint32_t>(count);
    return word | kind << 20 | (offset & ((1u << 20) - 1));
  };

  std::vector<std::uint32_t> words;
  words.reserve(order.size());
  for (std::uint32_t id : order)
    words.push_back(nodeWord(nodes[id]));
  std::vector<std::uint32_t> rootWords;
  for (std::uint32_t root : graph.roots())
    rootWords.push_back(nodeWord(nodes[root]));
  if (!fits)
    return false;

  putU32(block, static_cast<std::uint32_t>(words.size()));
  putU32(block, static_cast<std::uint32_t>(childBlock.size()));
  for (std::uint32_t word : words)
    putU32(block, word);
  block.insert(block.end(), childBlock.begin(), childBlock.end());
  block.push_back(static_cast<std::uint8_t>(rootWords.size()));
  for (std::uint32_t root : graph.roots())
    block.push_back(nodes[root].letter);
  for (std::uint32_t word : rootWords)
    putU32(block, word);
  nodeCount = words.size();
  return true;
}

// Appends the blocks for words [first, last), halving the run until each
// part fits.
void buildBlocks(const std::vector<std::string> &words, std::size_t first, std::size_t last,
                 const BuildOptions &options, Bytes &blocks, BuildResult &result) {
  Graph graph(words, first, last);
  Bytes block;
  std::size_t nodeCount = 0;
  if (layOutBlock(graph, options.maxNodes, block, nodeCount)) {
    blocks.insert(blocks.end(), block.begin(), block.end());
    result.nodesPerBlock.push_back(nodeCount);
    return;
  }
  if (last - first < 2)
    throw BuildError("the word \"" + words[first] + "\" does not fit in " +
                     std::to_string(options.maxNodes) + " nodes");
  const std::size_t middle = first + (last - first) / 2;
  buildBlocks(words, first, middle, options, blocks, result);
  buildBlocks(words, middle, last, options, blocks, result);
}

} // namespace

std::string rejectionReason(const std::string &word) {
  if (word.empty())
    return "empty word";
  if (word.size() > MaxWordBytes)
    return "longer than " + std::to_string(MaxWordBytes) + " characters";
  for (char c : word) {
    const auto byte = static_cast<std::uint8_t>(c);
    // Letters double as the parsers' word characters: no controls, no
    // space, no DEL; nor the code page's unassigned bytes, which stand for
    // the C1 controls.
    if (byte <= 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
        byte == 0x90 || byte == 0x9D)
      return "holds the character code " + std::to_string(byte) + ", which cannot be a letter";
  }
  return "";
}

// The letters the words use, most frequent first (ties in byte order). The
// order matters beyond the file: the suggestion search's two-edit passes
// try only the first half of the alphabet, which should be the letters
// that typing errors most often need, not the capitals.
std::string alphabetOf(const std::vector<std::string> &words) {
  std::array<std::uint64_t, 256> uses{};
  for (const std::string &word : words)
    for (char c : word)
      ++uses[static_cast<std::uint8_t>(c)];
  std::string alphabet;
  for (unsigned byte = 0; byte < 256; ++byte)
    if (uses[byte])
      alphabet += static_cast<char>(byte);
  std::stable_sort(alphabet.begin(), alphabet.end(), [&](char a, char b) {
    return uses[static_cast<std::uint8_t>(a)] > uses[static_cast<std::uint8_t>(b)];
  });
  return alphabet;
}

bool utf8ToAnsi(const std::string &utf8, std::string &ansi) {
  return components::utf8ToAnsiExact(utf8, ansi);
}

BuildResult buildDictionary(std::vector<std::string> words, const BuildOptions &options) {
  for (const std::string &word : words) {
    const std::string reason = rejectionReason(word);
    if (!reason.empty())
      throw BuildError("cannot store \"" + word + "\": " + reason);
  }
  // Byte order, independent of the locale, so that the output depends only
  // on the set of words.
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());

  BuildResult result;
  result.wordCount = words.size();
  Bytes blocks;
  if (!words.empty())
    buildBlocks(words, 0, words.size(), options, blocks, result);
  if (result.nodesPerBlock.size() > 255)
    throw BuildError("the words need " + std::to_string(result.nodesPerBlock.size()) +
                     " sub-dictionaries; a file holds at most 255");

  Bytes &file = result.file;
  file.assign(HeaderSize, 0);
  std::string title = options.title.substr(0, TitleLength);
  title.resize(TitleLength, ' ');
  std::copy(title.begin(), title.end(), file.begin() + TitleOffset);
  const std::string alphabet = alphabetOf(words);
  file.push_back(static_cast<std::uint8_t>(result.nodesPerBlock.size()));
  file.push_back(static_cast<std::uint8_t>(alphabet.size()));
  file.insert(file.end(), alphabet.begin(), alphabet.end());
  file.insert(file.end(), blocks.begin(), blocks.end());
  return result;
}

} // namespace dct
} // namespace spelling
