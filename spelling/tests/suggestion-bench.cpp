// Benchmark program: the time a main dictionary takes to suggest for one
// misspelt word. It makes its typos from the dictionary's own word list
// (one random edit each, fixed seed, unknown to the dictionary), writes
// them out for the peers to be timed on the same words, and prints
// "key value" lines:
//   suggestion-bench DCT WORDS TYPOS_OUT [COUNT]
// With --once it is a whole process timed as the peers are: it loads the
// dictionary, suggests once for every line of the list and prints the
// number of suggestions:
//   suggestion-bench --once DCT TYPOS
#include "spelling/core/dictionary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> makeTypos(const spelling::TDictionary &dictionary,
                                   const std::vector<std::string> &words, std::size_t count) {
  std::mt19937 rng(1102);
  auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  std::vector<std::string> typos;
  while (typos.size() < count) {
    std::string typo = words[pick(words.size())];
    // Lower-case words of four letters or more: what people misspell.
    if (typo.size() < 4 || typo.find_first_not_of(letters) != std::string::npos)
      continue;
    switch (pick(4)) {
    case 0:
      typo[pick(typo.size())] = letters[pick(letters.size())];
      break;
    case 1:
      typo.insert(pick(typo.size() + 1), 1, letters[pick(letters.size())]);
      break;
    case 2:
      typo.erase(pick(typo.size()), 1);
      break;
    default: {
      const std::size_t i = pick(typo.size() - 1);
      std::swap(typo[i], typo[i + 1]);
    }
    }
    if (!dictionary.Contains(typo))
      typos.push_back(typo);
  }
  return typos;
}

int suggestOnce(const char *dictionaryPath, const char *listPath) {
  spelling::TDictionary dictionary(dictionaryPath);
  if (!dictionary.Open()) {
    std::fprintf(stderr, "cannot open %s\n", dictionaryPath);
    return 1;
  }
  dictionary.SetSuggestLimit(50);
  std::ifstream in(listPath, std::ios::binary);
  std::size_t suggestions = 0;
  std::string typo;
  while (std::getline(in, typo)) {
    components::TStringList list;
    dictionary.Suggest(typo, list);
    suggestions += static_cast<std::size_t>(list.Count());
  }
  std::printf("%zu\n", suggestions);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 4 && std::string(argv[1]) == "--once")
    return suggestOnce(argv[2], argv[3]);
  if (argc < 4) {
    std::fprintf(stderr, "usage: suggestion-bench DCT WORDS TYPOS_OUT [COUNT]\n");
    return 2;
  }
  spelling::TDictionary dictionary(argv[1]);
  if (!dictionary.Open()) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  dictionary.SetSuggestLimit(50); // the component's default MaxSuggestions
  std::vector<std::string> words;
  {
    std::ifstream in(argv[2], std::ios::binary);
    std::string line;
    while (std::getline(in, line))
      words.push_back(line);
  }
  if (words.empty()) {
    std::fprintf(stderr, "no words in %s\n", argv[2]);
    return 1;
  }
  const std::size_t count = argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 500;
  const auto typos = makeTypos(dictionary, words, count);
  {
    std::ofstream out(argv[3], std::ios::binary);
    for (const std::string &typo : typos)
      out << typo << '\n';
  }

  // One pass over the words, timed as a whole: the mean per word, the
  // statistic the peers are measured by.
  std::size_t suggestions = 0;
  const auto passStart = std::chrono::steady_clock::now();
  for (const std::string &typo : typos) {
    components::TStringList list;
    dictionary.Suggest(typo, list);
    suggestions += static_cast<std::size_t>(list.Count());
  }
  const double passUs =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - passStart)
          .count();

  // Each word's time is the best of five runs; the median over the words
  // is the second figure.
  std::vector<double> micros;
  for (const std::string &typo : typos) {
    double best = 1e30;
    for (int run = 0; run < 5; ++run) {
      components::TStringList list;
      const auto start = std::chrono::steady_clock::now();
      dictionary.Suggest(typo, list);
      const auto end = std::chrono::steady_clock::now();
      best = std::min(best, std::chrono::duration<double, std::micro>(end - start).count());
    }
    micros.push_back(best);
  }
  std::sort(micros.begin(), micros.end());
  std::printf("words %zu\n", typos.size());
  std::printf("mean_us %.1f\n", passUs / static_cast<double>(typos.size()));
  std::printf("median_us %.1f\n", micros[micros.size() / 2]);
  std::printf("max_us %.1f\n", micros.back());
  std::printf("mean_suggestions %.1f\n", static_cast<double>(suggestions) / typos.size());
  std::printf("suggestions %zu\n", suggestions);
  return 0;
}
