// Helpers of the suggestion tests: dictionaries built in memory from word
// lists, and a plain generator of every method's candidates written
// straight from the method definitions (1-based positions, one string
// built per candidate), against which the engine's output is compared.
#ifndef SPELLING_TESTS_SUGGESTION_TEST_SUPPORT_H
#define SPELLING_TESTS_SUGGESTION_TEST_SUPPORT_H

#include "platform/components/core/stream.h"
#include "platform/components/core/string-list.h"
#include "spelling/core/dictionary.h"
#include "spelling/tools/dct-build.h"
#include "testing/string-list-items.h"

#include <cctype>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace suggestion_test {

inline std::unique_ptr<spelling::TDictionary>
makeDictionary(const std::vector<std::string> &words) {
  auto dictionary = std::make_unique<spelling::TDictionary>("memory.dct");
  const auto built = spelling::dct::buildDictionary(words, {});
  components::TMemoryStream stream;
  stream.WriteBuffer(built.file.data(), built.file.size());
  dictionary->loadFrom(stream);
  return dictionary;
}

using testing_support::items;

// Positions p are 1-based as in the method definitions: letter p of w is
// w[p - 1].
inline std::string delAt(const std::string &w, std::size_t p) {
  return w.substr(0, p - 1) + w.substr(p);
}
inline std::string insAt(const std::string &w, std::size_t p, char x) {
  return w.substr(0, p - 1) + std::string(1, x) + w.substr(p - 1);
}
inline std::string putAt(const std::string &w, std::size_t p, char x) {
  return w.substr(0, p - 1) + std::string(1, x) + w.substr(p);
}
inline std::string swapAt(const std::string &w, std::size_t a, std::size_t b) {
  std::string s = w;
  char t = s[a - 1];
  s[a - 1] = s[b - 1];
  s[b - 1] = t;
  return s;
}

struct Candidate {
  std::string text;   // a split is "first second"
  bool recase = true; // case-of-one candidates are never re-cased
};

// Every candidate of one method, in order, before any test.
inline std::vector<Candidate> methodCandidates(int method, const std::string &w,
                                               const std::string &A) {
  std::vector<Candidate> out;
  const std::size_t n = w.size();
  switch (method) {
  case 0x01:
    for (std::size_t i = 1; i <= n; ++i) {
      char c = w[i - 1];
      if (c >= 'a' && c <= 'z')
        out.push_back({putAt(w, i, static_cast<char>(std::toupper(c))), false});
      if (c >= 'A' && c <= 'Z')
        out.push_back({putAt(w, i, static_cast<char>(std::tolower(c))), false});
    }
    break;
  case 0x02:
    for (std::size_t i = 1; i + 1 <= n; ++i)
      out.push_back({swapAt(w, i, i + 1)});
    break;
  case 0x04:
    for (std::size_t i = 1; i <= n; ++i)
      out.push_back({delAt(w, i)});
    break;
  case 0x08:
    for (std::size_t i = 2; i <= n + 1; ++i)
      for (char x : A)
        out.push_back({insAt(w, i, x)});
    break;
  case 0x10:
    for (std::size_t i = 1; i <= n; ++i)
      for (char x : A)
        out.push_back({putAt(w, i, x)});
    break;
  case 0x20:
    if (n > 2)
      for (std::size_t i = 1; i + 2 <= n; ++i)
        out.push_back({swapAt(w, i, i + 2)});
    break;
  case 0x40:
    if (n > 4)
      for (std::size_t i = 1; i <= n; ++i)
        for (std::size_t j = 1; j <= n - 1; ++j)
          out.push_back({delAt(delAt(w, i), j)});
    break;
  case 0x80:
    if (n > 3)
      for (std::size_t k = 2; k <= n - 2; ++k)
        out.push_back({w.substr(0, k) + " " + w.substr(k)});
    break;
  }
  return out;
}

inline std::vector<Candidate> allMethodCandidates(const std::string &w, const std::string &A,
                                                  int mask = 255) {
  std::vector<Candidate> out;
  for (int method = 1; method <= 0x80; method <<= 1) {
    if (mask & method) {
      auto more = methodCandidates(method, w, A);
      out.insert(out.end(), more.begin(), more.end());
    }
  }
  return out;
}

// The two-edit candidates in pass order; H is the first half of the
// letters, and the inner edits of passes b, c and e use H without its last
// letter.
inline std::vector<Candidate> twoEditCandidates(const std::string &w, const std::string &L) {
  std::vector<Candidate> out;
  const std::size_t n = w.size();
  const std::string H = L.substr(0, L.size() / 2);
  const std::string H1 = H.empty() ? H : H.substr(0, H.size() - 1);
  if (n > 2)
    for (std::size_t p = 0; p <= n; ++p)
      for (char x : H) {
        std::string u = insAt(w, p + 1, x);
        for (std::size_t j = 1; j <= u.size(); ++j)
          out.push_back({delAt(u, j)});
      }
  if (n > 1)
    for (std::size_t p = 0; p <= n; ++p)
      for (char x : H) {
        std::string u = insAt(w, p + 1, x);
        for (std::size_t j = 1; j <= u.size(); ++j)
          for (char y : H1)
            out.push_back({putAt(u, j, y)});
      }
  if (n > 1)
    for (std::size_t p = 0; p <= n; ++p)
      for (char x : H) {
        std::string u = insAt(w, p + 1, x);
        for (std::size_t q = 0; q <= u.size(); ++q)
          for (char y : H1)
            out.push_back({insAt(u, q + 1, y)});
      }
  if (n > 2)
    for (std::size_t p = 1; p <= n; ++p) {
      std::string u = delAt(w, p);
      for (std::size_t j = 1; j <= u.size(); ++j)
        for (char y : H)
          out.push_back({putAt(u, j, y)});
    }
  if (n > 2)
    for (std::size_t p = 1; p <= n; ++p)
      for (char y : H1) {
        std::string u = putAt(w, p, y);
        for (std::size_t j = 1; j <= n; ++j)
          if (j != p)
            for (char z : H1)
              out.push_back({putAt(u, j, z)});
      }
  return out;
}

inline std::string asciiLower(std::string s) {
  for (char &c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// What a list that starts as `start` holds after the candidates are
// offered in order: known ones (a split when both halves are) not yet
// present, ignoring ASCII case, re-cased when asked, until the list has
// more than limit entries.
inline std::vector<std::string>
expectedList(const std::vector<Candidate> &candidates,
             const std::function<bool(const std::string &)> &known, int limit,
             const std::function<std::string(const std::string &)> &recase = {},
             std::vector<std::string> start = {}) {
  std::vector<std::string> list = std::move(start);
  std::set<std::string> present;
  for (const auto &entry : list)
    present.insert(asciiLower(entry));
  for (const Candidate &c : candidates) {
    const std::size_t space = c.text.find(' ');
    const bool isKnown = space == std::string::npos
                             ? known(c.text)
                             : known(c.text.substr(0, space)) && known(c.text.substr(space + 1));
    if (!isKnown || !present.insert(asciiLower(c.text)).second)
      continue;
    list.push_back(c.recase && recase ? recase(c.text) : c.text);
    if (static_cast<int>(list.size()) > limit)
      break;
  }
  return list;
}

} // namespace suggestion_test

#endif
