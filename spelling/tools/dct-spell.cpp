// dct-spell: checks text against a ".dct" main dictionary from the command
// line, for benchmarks and for comparing the engine with other checkers.
//
//   dct-spell DICT [TEXT]          prints the unknown words of the text
//   dct-spell --lines DICT [LIST]  prints the lines that are unknown words
//   dct-spell --bench DICT TEXT    times loading, lookups, and tokenising
//                                  with lookups
//
// Text is 8-bit ANSI. A word is a run of the dictionary's alphabet letters
// with apostrophes at either end dropped (they are quotation marks there);
// a word that is unknown as written is retried in lower case, as the
// spelling component does.
#include "spelling/core/dictionary.h"

#include "platform/components/core/exception.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

bool readAll(const std::string &path, std::string &text) {
  const bool useStdin = path.empty() || path == "-";
  std::FILE *file = useStdin ? stdin : std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    text.append(buffer, got);
  const bool ok = !std::ferror(file);
  if (!useStdin)
    std::fclose(file);
  return ok;
}

// Windows-1252 lower case.
unsigned char lowerAnsi(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
    return static_cast<unsigned char>(c + 0x20);
  if (c == 0x8A || c == 0x8C || c == 0x8E)
    return static_cast<unsigned char>(c + 0x10);
  if (c == 0x9F)
    return 0xFF;
  return c;
}

class Checker {
public:
  explicit Checker(const spelling::TDictionary &dictionary) : dictionary_(dictionary) {
    for (char c : dictionary.Alphabet())
      wordChar_[static_cast<unsigned char>(c)] = true;
  }

  // Calls sink for every word of the text.
  template <typename Sink> void forEachWord(std::string_view text, Sink sink) const {
    std::size_t i = 0;
    const std::size_t size = text.size();
    while (i < size) {
      while (i < size && !wordChar_[static_cast<unsigned char>(text[i])])
        ++i;
      std::size_t end = i;
      while (end < size && wordChar_[static_cast<unsigned char>(text[end])])
        ++end;
      std::size_t first = i, last = end;
      while (first < last && text[first] == '\'')
        ++first;
      while (last > first && text[last - 1] == '\'')
        --last;
      if (first < last)
        sink(text.substr(first, last - first));
      i = end;
    }
  }

  bool known(std::string_view word) const {
    if (dictionary_.Contains(word))
      return true;
    if (word.size() > spelling::MaxWordLength)
      return false;
    std::array<char, spelling::MaxWordLength> lower;
    bool changed = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      lower[i] = static_cast<char>(lowerAnsi(static_cast<unsigned char>(word[i])));
      changed = changed || lower[i] != word[i];
    }
    return changed && dictionary_.Contains(std::string_view(lower.data(), word.size()));
  }

private:
  const spelling::TDictionary &dictionary_;
  std::array<bool, 256> wordChar_{};
};

int listUnknownWords(const spelling::TDictionary &dictionary, const std::string &text) {
  Checker checker(dictionary);
  std::string out;
  checker.forEachWord(text, [&](std::string_view word) {
    if (!checker.known(word)) {
      out.append(word);
      out += '\n';
    }
  });
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int listUnknownLines(const spelling::TDictionary &dictionary, const std::string &text) {
  std::istringstream lines(text);
  std::string line;
  std::string out;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (!dictionary.Contains(line))
      out += line + '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int bench(const std::string &dictionaryPath, const std::string &text) {
  // Load time: the mean of several opens.
  const int loads = 10;
  auto start = Clock::now();
  for (int i = 0; i < loads; ++i) {
    spelling::TDictionary fresh(dictionaryPath);
    if (!fresh.Open())
      return 1;
  }
  const double loadSeconds = secondsSince(start) / loads;

  spelling::TDictionary dictionary(dictionaryPath);
  dictionary.Open();
  Checker checker(dictionary);
  std::vector<std::string_view> words;
  checker.forEachWord(text, [&](std::string_view word) { words.push_back(word); });

  // Lookups alone, over the words as written, repeated for at least a second.
  std::size_t lookups = 0, hits = 0;
  start = Clock::now();
  do {
    for (std::string_view word : words)
      hits += dictionary.Contains(word);
    lookups += words.size();
  } while (secondsSince(start) < 1.0);
  const double lookupRate = lookups / secondsSince(start);

  // The whole check: tokenising, lookup, lower-case retry.
  std::size_t passes = 0, unknown = 0;
  start = Clock::now();
  do {
    unknown = 0;
    checker.forEachWord(text, [&](std::string_view word) { unknown += !checker.known(word); });
    ++passes;
  } while (secondsSince(start) < 1.0);
  const double passSeconds = secondsSince(start) / passes;

  std::printf("load_ms %.3f\n", loadSeconds * 1000);
  std::printf("words %zu\n", words.size());
  std::printf("unknown %zu\n", unknown);
  std::printf("found_as_written %.4f\n", static_cast<double>(hits) / lookups);
  std::printf("lookups_per_s %.0f\n", lookupRate);
  std::printf("check_ms %.3f\n", passSeconds * 1000);
  std::printf("check_words_per_s %.0f\n", words.size() / passSeconds);
  return 0;
}

} // namespace

const char Usage[] = "usage: dct-spell [--lines | --bench] DICT [TEXT]\n"
                     "  dct-spell DICT [TEXT]          prints the unknown words of the text\n"
                     "  dct-spell --lines DICT [LIST]  prints the lines that are unknown words\n"
                     "  dct-spell --bench DICT TEXT    times loading, lookups and tokenising\n"
                     "TEXT or LIST missing or \"-\": standard input.\n";

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << Usage;
    return 0;
  }
  // Any other option is a mistake, not a dictionary path.
  for (const std::string &arg : args)
    if (arg.size() > 1 && arg[0] == '-' && arg != "--lines" && arg != "--bench") {
      std::cerr << "dct-spell: unknown option " << arg << "\n" << Usage;
      return 2;
    }
  std::string mode;
  if (!args.empty() && (args[0] == "--lines" || args[0] == "--bench")) {
    mode = args[0];
    args.erase(args.begin());
  }
  if (args.empty() || args.size() > 2 || (mode == "--bench" && args.size() != 2)) {
    std::cerr << Usage;
    return 2;
  }
  try {
    std::string text;
    if (!readAll(args.size() > 1 ? args[1] : "", text)) {
      std::cerr << "dct-spell: cannot read " << args[1] << "\n";
      return 1;
    }
    if (mode == "--bench")
      return bench(args[0], text);
    spelling::TDictionary dictionary(args[0]);
    if (!dictionary.Open()) {
      std::cerr << "dct-spell: no dictionary " << args[0] << "\n";
      return 1;
    }
    return mode == "--lines" ? listUnknownLines(dictionary, text)
                             : listUnknownWords(dictionary, text);
  } catch (const components::Exception &error) {
    std::cerr << "dct-spell: " << error.Message() << "\n";
    return 1;
  }
}
