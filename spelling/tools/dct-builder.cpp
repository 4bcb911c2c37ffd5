// dct-builder: makes a ".dct" main dictionary from a word list, one word a
// line, then reads the result back with the engine's own reader and checks
// that every word is found.
//
//   dct-builder [--utf8] [--title TEXT] [--max-nodes N] [--words-out FILE]
//               -o OUTPUT.dct LIST
//
// --utf8       the list is UTF-8; words are converted to the ANSI code page
//              (Windows-1252), and words that do not convert are reported
//              and left out
// --title      the title shown for the dictionary (25 characters at most)
// --max-nodes  node limit per sub-dictionary (to force a split in tests)
// --words-out  also writes the words that were stored, as ANSI text sorted
//              by byte, one a line: the list the dictionary must agree with
//
// Words that cannot be stored (too long, control characters) are reported
// and left out. The exit status is 0 only when the file was written and
// verified.
#include "spelling/core/dictionary.h"
#include "spelling/tools/dct-build.h"

#include "platform/components/core/exception.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Arguments {
  bool utf8 = false;
  std::string title;
  std::size_t maxNodes = 1u << 20;
  std::string wordsOut;
  std::string output;
  std::string list;
};

[[noreturn]] void usage(const std::string &problem) {
  std::cerr << "dct-builder: " << problem << "\n"
            << "usage: dct-builder [--utf8] [--title TEXT] [--max-nodes N] "
               "[--words-out FILE] -o OUTPUT.dct LIST\n";
  std::exit(2);
}

Arguments parseArguments(int argc, char **argv) {
  Arguments arguments;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc)
        usage(option + " needs a value");
      return argv[++i];
    };
    if (option == "--utf8") {
      arguments.utf8 = true;
    } else if (option == "--title") {
      arguments.title = value();
    } else if (option == "--max-nodes") {
      const std::string text = value();
      char *end = nullptr;
      const unsigned long nodes = std::strtoul(text.c_str(), &end, 10);
      if (text.empty() || *end || nodes == 0)
        usage("--max-nodes needs a positive number");
      arguments.maxNodes = nodes;
    } else if (option == "--words-out") {
      arguments.wordsOut = value();
    } else if (option == "-o") {
      arguments.output = value();
    } else if (!option.empty() && option[0] == '-') {
      usage("unknown option " + option);
    } else if (arguments.list.empty()) {
      arguments.list = option;
    } else {
      usage("more than one word list");
    }
  }
  if (arguments.output.empty() || arguments.list.empty())
    usage("an output file and a word list are needed");
  return arguments;
}

bool readLines(const std::string &path, std::vector<std::string> &lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return !in.bad();
}

bool writeBytes(const std::string &path, const std::vector<std::uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// The words the list gives, converted and filtered; problems go to stderr.
std::vector<std::string> acceptedWords(const Arguments &arguments,
                                       const std::vector<std::string> &lines) {
  std::vector<std::string> words;
  std::size_t lineNumber = 0;
  for (const std::string &line : lines) {
    ++lineNumber;
    if (line.empty())
      continue;
    std::string word = line;
    if (arguments.utf8 && !spelling::dct::utf8ToAnsi(line, word)) {
      std::cerr << arguments.list << ":" << lineNumber << ": \"" << line
                << "\" left out: not convertible to the ANSI code page\n";
      continue;
    }
    const std::string reason = spelling::dct::rejectionReason(word);
    if (!reason.empty()) {
      std::cerr << arguments.list << ":" << lineNumber << ": \"" << line
                << "\" left out: " << reason << "\n";
      continue;
    }
    words.push_back(word);
  }
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

// Reads the file back through the engine's reader: every word must be found
// and the alphabet must be the letters used.
bool verify(const std::string &path, const std::vector<std::string> &words,
            std::size_t blockCount) {
  spelling::TDictionary dictionary(path);
  if (!dictionary.Open()) {
    std::cerr << "dct-builder: " << path << " cannot be read back\n";
    return false;
  }
  if (dictionary.SubDictionaries().size() != blockCount ||
      dictionary.Alphabet() != spelling::dct::alphabetOf(words)) {
    std::cerr << "dct-builder: " << path << " reads back with a different layout\n";
    return false;
  }
  for (const std::string &word : words) {
    if (!dictionary.Contains(word)) {
      std::cerr << "dct-builder: " << path << " does not find \"" << word << "\"\n";
      return false;
    }
  }
  return true;
}

int run(const Arguments &arguments) {
  std::vector<std::string> lines;
  if (!readLines(arguments.list, lines)) {
    std::cerr << "dct-builder: cannot read " << arguments.list << "\n";
    return 1;
  }
  const std::vector<std::string> words = acceptedWords(arguments, lines);
  spelling::dct::BuildOptions options;
  options.title = arguments.title;
  options.maxNodes = arguments.maxNodes;
  const spelling::dct::BuildResult result = spelling::dct::buildDictionary(words, options);

  // Written aside and renamed only once verified, so a failed run never
  // leaves a dictionary behind that a build would take for finished.
  const std::string temporary = arguments.output + ".part";
  if (!writeBytes(temporary, result.file)) {
    std::cerr << "dct-builder: cannot write " << temporary << "\n";
    return 1;
  }
  if (!verify(temporary, words, result.nodesPerBlock.size())) {
    std::remove(temporary.c_str());
    return 1;
  }
  std::remove(arguments.output.c_str());
  if (std::rename(temporary.c_str(), arguments.output.c_str()) != 0) {
    std::cerr << "dct-builder: cannot rename " << temporary << " to " << arguments.output << "\n";
    return 1;
  }
  if (!arguments.wordsOut.empty()) {
    std::vector<std::uint8_t> text;
    for (const std::string &word : words) {
      text.insert(text.end(), word.begin(), word.end());
      text.push_back('\n');
    }
    if (!writeBytes(arguments.wordsOut, text)) {
      std::cerr << "dct-builder: cannot write " << arguments.wordsOut << "\n";
      return 1;
    }
  }
  std::cout << arguments.output << ": " << result.wordCount << " words, "
            << result.nodesPerBlock.size() << " sub-dictionaries (nodes:";
  for (std::size_t nodes : result.nodesPerBlock)
    std::cout << " " << nodes;
  std::cout << "), " << result.file.size() << " bytes\n";
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  const Arguments arguments = parseArguments(argc, argv);
  try {
    return run(arguments);
  } catch (const spelling::dct::BuildError &error) {
    std::cerr << "dct-builder: " << error.what() << "\n";
  } catch (const components::Exception &error) {
    std::cerr << "dct-builder: " << error.Message() << "\n";
  }
  return 1;
}
