// Benchmark program: the time a user dictionary of many words takes to
// load from its file, and to take one more word and be written again. The
// words are made up (distinct, in no order, as users add them) and written
// as a ".udt" file; prints "key value" lines:
//   user-dictionary-bench FOLDER [WORDS]
#include "spelling/core/user-dictionary.h"

#include "platform/components/core/file-system.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

double msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: user-dictionary-bench FOLDER [WORDS]\n");
    return 2;
  }
  const std::string path = std::string(argv[1]) + "/bench.udt";
  const std::size_t count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 200000;
  std::vector<std::string> words;
  std::mt19937 rng(45);
  std::uniform_int_distribution<int> letter('a', 'z');
  for (std::size_t i = 0; i < count; ++i) {
    std::string word(3, 'x');
    for (char &c : word)
      c = static_cast<char>(letter(rng));
    words.push_back(word + std::to_string(i));
  }
  std::shuffle(words.begin(), words.end(), rng);
  {
    std::ofstream out(path, std::ios::binary);
    out << "[Added]\r\nIGN_ListCount=" << count << "\r\n";
    for (std::size_t i = 0; i < count; ++i)
      out << "IGN_" << i << "=" << words[i] << "\r\n";
  }
  auto start = std::chrono::steady_clock::now();
  spelling::TUserDictionary dictionary(path, components::defaultFileSystem());
  const double loadMs = msSince(start);
  if (static_cast<std::size_t>(dictionary.Words().Count()) != count) {
    std::fprintf(stderr, "loaded %d words of %zu\n", dictionary.Words().Count(), count);
    return 1;
  }
  start = std::chrono::steady_clock::now();
  dictionary.AddWord("zzzadded");
  dictionary.Save();
  const double saveMs = msSince(start);
  std::printf("words %zu\nload_ms %.1f\nadd_save_ms %.1f\n", count, loadMs, saveMs);
  std::remove(path.c_str());
  return 0;
}
