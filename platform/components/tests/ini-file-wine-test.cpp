// TIniFile beside the platform itself: for a set of tricky files, every
// section list, key list and value that TIniFile reads must equal what
// GetPrivateProfileStringA reads from the same file, and a sequence of
// writes must leave the same bytes as the same sequence of
// WritePrivateProfileStringA calls.
#include "platform/components/core/ini-file.h"

#include "platform/components/core/string-list.h"
#include "platform/components/tests/ini-file-cases.h"
#include "testing/test-paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

using components::TIniFile;
using components::TStringList;
using ini_test::Op;
using ini_test::Step;
using ini_test::toVector;

namespace {

struct TrickyFile {
  const char *name;
  std::string bytes;
};

const std::vector<TrickyFile> &trickyFiles() {
  static const std::vector<TrickyFile> files = {
      {"messy", ini_test::messyFile()},
      {"line-ends", INI_BYTES("[s]\na=1\nb=2\r\n[t]\rc=3\rd=4\n\n   \n[u]\r\ne=5")},
      {"high-bytes", INI_BYTES("[\xC9t\xC9]\r\n\xC4rger=1\r\n\xE6=2\r\n\xFF=3\r\nstra\xDF"
                               "e=4\r\n\x8A=5\r\n[s]\r\nv=\xA0x\xA0\r\n")},
      {"nul-bytes", INI_BYTES("[s]\r\na=1\0t=5\r\nb=2\r\nk\0x=5\r\na \0=1\r\nk= v \0 \r\n\0abc\r\n"
                              "=z\r\n[x\0y]\r\nc=1\r\n[ x \0]\r\nk=1\r\n")},
      {"blanks", INI_BYTES("[s]\r\na=\vv\f\r\n\vb\f=2\r\nc=\xA0v\xA0\r\nd=b=c\r\ne=v ;c\r\n[ ]\r\n"
                           "f=1\r\n")},
      {"nameless",
       INI_BYTES("=p\r\n=q\r\n[s]\r\n=a\r\n=c\r\nb=1\r\n=d\r\n[t]\r\nb=1\r\n=a\r\nc=2\r\n"
                 "=\r\nd=3\r\n[u]\r\n = \r\nb=1\r\n[v]\r\nk\r\n  \t\r\n=a\r\n=b\r\n")},
      {"brackets",
       INI_BYTES("[a]=b\r\nk=1\r\n [c] x=1\r\nm=2\r\n[d=1]\r\nn=3\r\n  ;c = x \r\n[e]\r\n"
                 ";only=1\r\n[f]g]h\r\ni=1\r\n[\r\n]\r\n[]]\r\nj=2\r\n")},
      {"repeats", INI_BYTES("[s]\r\nkey\r\nkey=2\r\nK=3\r\n[S]\r\nk=4\r\n[t]\r\n[s]\r\nx=1\r\n")},
      {"no-final-end", INI_BYTES("[s]\r\nk=1")},
      {"empty", ""},
      {"utf8-mark",
       INI_BYTES("\xEF\xBB\xBF[s]\r\na=\xC3\xA9\r\nb=\xE2\x82\xAC\r\nd=\xF0\x9F\x98\x80"
                 "\r\ne=\xE9x\r\n[\xC3\x89t\xC3\xA9]\r\nk=1\r\n")},
      {"utf8-no-mark", INI_BYTES("[s]\r\na=\xC3\xA9\r\n")},
      {"utf16-le", INI_BYTES("\xFF\xFE[\0s\0]\0\r\0\n\0a\0=\0\xE9\0\r\0\n\0b\0=\0\x3D\xD8\x00\xDE"
                             "\r\0\n\0c\0=\0\0\xD8x\0\r\0\n\0[\0\xC9\0T\0\x2D\x4E]\0\r\0\n\0"
                             "\xC4\0=\0\xAC\x20\r\0\n\0 \0=\0x\0")},
      {"utf16-be", INI_BYTES("\xFE\xFF\0[\0s\0]\0\r\0\n\0a\0=\0\xE9\0\n\0b\0=\0\"\0x\0\"")},
  };
  return files;
}

std::string folder() {
  std::string path = testing_support::scratchPath("ini-wine");
  std::replace(path.begin(), path.end(), '/', '\\');
  std::filesystem::create_directories(path);
  return path;
}

void writeBytes(const std::string &path, const std::string &bytes) {
  std::FILE *file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

bool readBytes(const std::string &path, std::string &bytes) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file)
    return false;
  bytes.clear();
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.append(buffer, n);
  std::fclose(file);
  return true;
}

// The strings of a list of NUL-terminated strings of the given length.
std::vector<std::string> splitList(const char *buffer, DWORD length) {
  std::vector<std::string> out;
  std::string current;
  for (DWORD i = 0; i < length; ++i) {
    if (buffer[i] == '\0') {
      out.push_back(current);
      current.clear();
    } else {
      current += buffer[i];
    }
  }
  return out;
}

std::string platformString(const std::string &path, const std::string &section,
                           const std::string &key, const std::string &defaultValue) {
  static char buffer[65536];
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                     sizeof buffer, path.c_str());
  return std::string(buffer, n);
}

std::vector<std::string> platformSections(const std::string &path) {
  static char buffer[65536];
  DWORD n = GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, path.c_str());
  std::vector<std::string> names = splitList(buffer, n);
  return names;
}

// The entries of a section as GetPrivateProfileSectionA gives them
// ("name=value", or "name" for a line without '='), comments left out.
std::vector<std::string> platformEntries(const std::string &path, const std::string &section) {
  static char buffer[65536];
  DWORD n = GetPrivateProfileSectionA(section.c_str(), buffer, sizeof buffer, path.c_str());
  return splitList(buffer, n);
}

// The keys the platform lists for a section. Its list is NUL-separated, so
// a nameless key shows as an empty string, and one at the head of the list
// makes the whole answer the default (the sentinel below). TIniFile lists
// named keys only; the expected list therefore drops empty names, and when
// the sentinel comes back it is rebuilt from the section's entries.
std::vector<std::string> platformKeys(const std::string &path, const std::string &section) {
  static char buffer[65536];
  const char sentinel[] = "\x01sentinel";
  DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, sentinel, buffer, sizeof buffer,
                                     path.c_str());
  std::vector<std::string> keys;
  if (std::string(buffer, n) != sentinel + 0) {
    for (const std::string &key : splitList(buffer, n))
      if (!key.empty())
        keys.push_back(key);
    return keys;
  }
  for (const std::string &entry : platformEntries(path, section)) {
    std::size_t equals = entry.find('=');
    if (equals != std::string::npos && equals > 0)
      keys.push_back(entry.substr(0, equals));
  }
  return keys;
}

std::string asciiUpper(std::string text) {
  for (char &c : text)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 32);
  return text;
}

std::string asciiLower(std::string text) {
  for (char &c : text)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  return text;
}

// Spellings of a name to look up: as listed, in other cases, with blanks.
std::set<std::string> variants(const std::string &name) {
  return {name, asciiUpper(name), asciiLower(name), " " + name + "\t"};
}

} // namespace

TEST(IniFileAgainstPlatform, ReadsTrickyFilesAsGetPrivateProfileStringDoes) {
  std::string dir = folder();
  for (const TrickyFile &file : trickyFiles()) {
    std::string path = dir + "\\read-" + file.name + ".ini";
    writeBytes(path, file.bytes);
    TIniFile ini(path);
    SCOPED_TRACE(file.name);

    std::vector<std::string> listed = platformSections(path);

    std::set<std::string> sectionNames = {"", "nosuch", "unterminated", "x", "\xE9t\xE9"};
    for (const std::string &name : listed)
      for (const std::string &variant : variants(name))
        sectionNames.insert(variant);

    for (const std::string &section : sectionNames) {
      SCOPED_TRACE("[" + section + "]");
      TStringList keys;
      ini.ReadSection(section, keys);
      EXPECT_EQ(toVector(keys), platformKeys(path, section));

      std::set<std::string> keyNames = {"", "nosuch", "k", "a", ";c", ";comment"};
      for (const std::string &entry : platformEntries(path, section))
        for (const std::string &variant : variants(entry.substr(0, entry.find('='))))
          keyNames.insert(variant);
      for (const std::string &key : keyNames) {
        for (const char *defaultValue : {"dflt", "  \"q\"  ", "'q'"})
          EXPECT_EQ(ini.ReadString(section, key, defaultValue),
                    platformString(path, section, key, defaultValue))
              << "key '" << key << "' default '" << defaultValue << "'";
      }
    }
  }
}

namespace {

// The platform's counterpart of a step; integers and booleans are written
// as the text they are given in.
void applyPlatform(const std::string &path, const Step &step) {
  switch (step.op) {
  case Op::Write:
  case Op::WriteInteger:
  case Op::WriteBool:
    WritePrivateProfileStringA(step.section.c_str(), step.ident.c_str(), step.value.c_str(),
                               path.c_str());
    break;
  case Op::DeleteKey:
    WritePrivateProfileStringA(step.section.c_str(), step.ident.c_str(), nullptr, path.c_str());
    break;
  case Op::EraseSection:
    WritePrivateProfileStringA(step.section.c_str(), nullptr, nullptr, path.c_str());
    break;
  }
}

// Writes that every tricky file gets, one after another: changing a value,
// writing an equal one, new keys and sections, names in other cases and
// with blanks, the nameless section, deletions of present and absent keys
// and sections.
const std::vector<Step> &writeSteps() {
  static const std::vector<Step> steps = {
      {Op::Write, "s", "a", "changed"},
      {Op::Write, "S", "A", "changed"},
      {Op::Write, " s ", " new ", "  spaced value  "},
      {Op::Write, "s", "quoted", "\"q\""},
      {Op::Write, "s", "empty", ""},
      {Op::Write, "fresh", "k", "1"},
      {Op::Write, "", "top", "2"},
      {Op::Write, "sec one", "KEY1", "x"},
      {Op::Write, "\xC9T\xC9", "\xE4rger", "\xE9"},
      {Op::Write, "s", "crlf", "a\r\nb=c"},
      {Op::DeleteKey, "s", "b", ""},
      {Op::DeleteKey, "s", "nosuch", ""},
      {Op::DeleteKey, "nosuch", "k", ""},
      {Op::DeleteKey, "s", "", ""},
      {Op::EraseSection, "t", "", ""},
      {Op::EraseSection, "nosuch", "", ""},
      {Op::EraseSection, "", "", ""},
      {Op::Write, "t", "k", "back"},
      {Op::EraseSection, "fresh", "", ""},
  };
  return steps;
}

} // namespace

TEST(IniFileAgainstPlatform, WritesTheBytesWritePrivateProfileStringWrites) {
  std::string dir = folder();
  std::vector<TrickyFile> files = trickyFiles();
  files.push_back({"missing", std::string()});
  for (const TrickyFile &file : files) {
    bool missing = std::string(file.name) == "missing";
    std::string ours = dir + "\\write-ours-" + file.name + ".ini";
    std::string theirs = dir + "\\write-platform-" + file.name + ".ini";
    std::remove(ours.c_str());
    std::remove(theirs.c_str());
    if (!missing) {
      writeBytes(ours, file.bytes);
      writeBytes(theirs, file.bytes);
    }
    TIniFile ini(ours);
    int index = 0;
    for (const Step &step : writeSteps()) {
      ini_test::apply(ini, step);
      applyPlatform(theirs, step);
      std::string ourBytes, theirBytes;
      bool ourExists = readBytes(ours, ourBytes);
      bool theirExists = readBytes(theirs, theirBytes);
      ASSERT_EQ(ourExists, theirExists) << file.name << " step " << index;
      EXPECT_EQ(ourBytes, theirBytes) << file.name << " after step " << index;
      ++index;
    }
  }
}

// Deletions on a missing file create nothing, on either side.
TEST(IniFileAgainstPlatform, DeletionsInAMissingFileCreateNothing) {
  std::string dir = folder();
  std::string ours = dir + "\\absent-ours.ini", theirs = dir + "\\absent-platform.ini";
  std::remove(ours.c_str());
  std::remove(theirs.c_str());
  TIniFile ini(ours);
  for (const Step &step :
       {Step{Op::DeleteKey, "s", "k", ""}, Step{Op::EraseSection, "s", "", ""}}) {
    ini_test::apply(ini, step);
    applyPlatform(theirs, step);
  }
  std::string bytes;
  EXPECT_FALSE(readBytes(theirs, bytes));
  EXPECT_FALSE(readBytes(ours, bytes));
}
