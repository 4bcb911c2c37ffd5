// Numbered lists in INI files.
#include "spelling/core/enhanced-ini.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/unicode-text.h"

#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

namespace spelling {

namespace {

const char CountSuffix[] = "_ListCount";

// The number that key carries after prefix (compared without regard to
// case, as INI keys are), or -1 when key is not an item key of that list.
// Only the decimal form that WriteList produces counts: "IGN_01" or
// "IGN_+1" are different keys to the platform, so they are not item 1.
long itemNumber(const std::string &key, const std::string &prefix, long count) {
  if (key.size() <= prefix.size() || !components::SameText(key.substr(0, prefix.size()), prefix))
    return -1;
  std::string digits = key.substr(prefix.size());
  if (digits.size() > 1 && digits[0] == '0')
    return -1;
  long long number = 0; // wider than count, so that a step cannot overflow
  for (char c : digits) {
    if (c < '0' || c > '9')
      return -1;
    number = number * 10 + (c - '0');
    if (number >= count)
      return -1;
  }
  return static_cast<long>(number);
}

// The most items a list can hold in memory.
const long MaxListItems = std::numeric_limits<int>::max();

// ReadSectionValues costs one parse of the whole file per key, which makes
// reading a list of n words cost n times the file. The section is therefore
// cut into pieces of this many lines, each read as a small file of its own.
const std::size_t LinesPerPiece = 64;
// A key that marks where a probed line leaves the lines after it.
const char ProbeKey[] = "EnhancedINIProbe";
const char Utf8Mark[] = "\xEF\xBB\xBF";

// One read-only file in memory, for asking the INI class about a few lines.
class TextFile : public components::FileSystem {
public:
  explicit TextFile(std::string text) : text_(std::move(text)) {}
  bool readFile(const std::string &, std::string &contents) override {
    contents = text_;
    return true;
  }
  bool writeFile(const std::string &, const std::string &) override { return false; }
  bool replaceFile(const std::string &, const std::string &) override { return false; }
  bool removeFile(const std::string &) override { return false; }
  bool fileExists(const std::string &) override { return true; }
  std::vector<std::string> listFiles(const std::string &, const std::string &) override {
    return {};
  }

private:
  std::string text_;
};

// The value of the probe key in section of a small file.
std::string probe(const std::string &text, const std::string &section) {
  TextFile file(text);
  components::TIniFile ini("probe", file);
  return ini.ReadString(section, ProbeKey, "");
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// The lines of text that are not blank; line breaks are CR, LF or both.
std::vector<std::string> nonBlankLines(const std::string &text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(begin, end - begin);
    for (char c : line) {
      if (!isBlank(c)) {
        lines.push_back(std::move(line));
        break;
      }
    }
    begin = end + 1;
  }
  return lines;
}

// Only a line whose first non-blank character is '[' can open a section;
// whether it does, and which, is left to the INI class.
bool mayOpenSection(const std::string &line) {
  for (char c : line)
    if (!isBlank(c))
      return c == '[';
  return false;
}

} // namespace

TEnhancedINI::TEnhancedINI(std::string fileName, components::FileSystem &fileSystem)
    : components::TIniFile(std::move(fileName), fileSystem), fileSystem_(fileSystem) {}

void TEnhancedINI::readSectionValues(const std::string &section,
                                     components::TStringList &values) const {
  values.Clear();
  std::string text;
  if (!fileSystem_.readFile(FileName(), text))
    return;
  // A byte-order mark changes how every line is decoded, so each piece
  // carries it too. UTF-16 text is cut into lines once decoded (its bytes
  // hold line breaks of their own), so its pieces are the UTF-8 it reads as.
  std::string mark;
  if (text.compare(0, 3, Utf8Mark) == 0) {
    mark = Utf8Mark;
    text.erase(0, 3);
  } else if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0) {
    mark = Utf8Mark;
    text = components::utf16ToText(text.substr(2), text[0] == '\xFE');
  }
  std::string probeLine = std::string(ProbeKey) + "=1\r\n";
  // Lines before the first section header belong to a nameless section.
  bool collecting = probe(mark + probeLine, section) == "1";
  std::string header;
  std::vector<std::string> lines;
  for (std::string &line : nonBlankLines(text)) {
    if (mayOpenSection(line)) {
      std::string probed = mark + line + "\r\n" + probeLine;
      bool opensSection = probe(probed, "") != "1";
      if (opensSection) {
        // The first section of the name is the one every look-up finds.
        if (collecting)
          break;
        if (probe(probed, section) == "1") {
          header = line;
          collecting = true;
        }
        continue;
      }
    }
    if (!collecting)
      continue;
    // A key without '=' has no value but still hides a later key of the
    // same name. Given an empty value it stays listed and keeps doing so
    // when the later key falls into another piece.
    if (line.find('=') == std::string::npos)
      line += '=';
    lines.push_back(std::move(line));
  }
  // Without a mark of its own, a piece starts with a line break so that a
  // first line beginning with the mark's bytes is not taken for one.
  std::string opening = mark.empty() ? std::string("\r\n") : mark;
  if (!header.empty())
    opening += header + "\r\n";
  for (std::size_t first = 0; first < lines.size(); first += LinesPerPiece) {
    std::string piece = opening;
    for (std::size_t i = first; i < lines.size() && i < first + LinesPerPiece; ++i)
      piece += lines[i] + "\r\n";
    TextFile file(piece);
    components::TIniFile ini("piece", file);
    components::TStringList pieceValues;
    ini.ReadSectionValues(section, pieceValues);
    values.AddStrings(pieceValues);
  }
}

std::map<long, std::string> TEnhancedINI::readIndexedList(const std::string &section,
                                                          const std::string &name) const {
  std::map<long, std::string> items;
  // A count that no writer gives (negative, not a number, or missing)
  // says nothing of the list: every item the file holds is read, and the
  // next write puts the true count. A count of 0 or more is kept, since a
  // shorter list written over a longer one leaves items past its count.
  long count = ReadInteger(section, name + CountSuffix, -1);
  if (count < 0)
    count = MaxListItems;
  if (count == 0)
    return items;
  // One pass over the section's keys instead of one look-up per number up
  // to the stored count, which may be anything a damaged file says.
  components::TStringList values;
  readSectionValues(section, values);
  std::string prefix = name + "_";
  for (int i = 0; i < values.Count(); ++i) {
    const std::string &line = values[i];
    std::size_t equals = line.find('=');
    if (equals == std::string::npos)
      continue;
    long number = itemNumber(line.substr(0, equals), prefix, count);
    if (number < 0 || items.count(number))
      continue; // the first of two equal keys wins
    std::string value = line.substr(equals + 1);
    items.emplace(number, std::move(value));
  }
  for (auto it = items.begin(); it != items.end();) {
    if (it->second.empty())
      it = items.erase(it);
    else
      ++it;
  }
  return items;
}

void TEnhancedINI::ReadList(const std::string &section, const std::string &name,
                            components::TStringList &list) const {
  components::TStringList items;
  for (auto &item : readIndexedList(section, name))
    items.Add(std::move(item.second));
  list.AddStrings(items);
}

void TEnhancedINI::WriteList(const std::string &section, const std::string &name,
                             const components::TStringList &list) {
  std::vector<std::pair<std::string, std::string>> values;
  values.emplace_back(name + CountSuffix, std::to_string(list.Count()));
  for (int i = 0; i < list.Count(); ++i)
    values.emplace_back(name + "_" + std::to_string(i), list[i]);
  writeStrings(section, values);
}

std::vector<std::pair<long, TUser>>
TEnhancedINI::userEntries(const std::map<long, std::string> &items) {
  std::vector<std::pair<long, TUser>> entries;
  for (const auto &item : items) {
    TUser entry;
    entry.Selected = item.second[0] == 'T';
    entry.FileName = item.second.substr(1);
    entries.emplace_back(item.first, std::move(entry));
  }
  return entries;
}

void TEnhancedINI::ReadUserList(const std::string &section, const std::string &name,
                                std::vector<TUser> &entries) const {
  for (auto &entry : userEntries(readIndexedList(section, "U_" + name)))
    entries.push_back(std::move(entry.second));
}

void TEnhancedINI::WriteUserList(const std::string &section, const std::string &name,
                                 const std::vector<TUser> &entries) {
  components::TStringList items;
  for (const TUser &entry : entries)
    items.Add((entry.Selected ? "T" : "F") + entry.FileName);
  WriteList(section, "U_" + name, items);
}

void TEnhancedINI::ReadMainList(const std::string &section, const std::string &name,
                                std::vector<TMain> &entries) const {
  // Titles are matched to entries by their key number, not by position:
  // an empty title (or an empty entry) must not move the following titles
  // onto the wrong dictionaries.
  std::map<long, std::string> titles = readIndexedList(section, "M_" + name);
  for (auto &user : userEntries(readIndexedList(section, "U_MU_" + name))) {
    TMain entry;
    static_cast<TUser &>(entry) = std::move(user.second);
    bool exists = fileSystem_.fileExists(entry.FileName);
    if (!exists)
      entry.Selected = false;
    auto title = titles.find(user.first);
    if (title != titles.end()) {
      entry.Title = title->second;
    } else if (exists) {
      // A damaged dictionary keeps its place in the list with an empty
      // title; opening it reports the damage when it is used.
      try {
        entry.ReadTitle(fileSystem_);
      } catch (const components::EStreamError &) {
        entry.Title.clear();
      }
    }
    entries.push_back(std::move(entry));
  }
}

void TEnhancedINI::WriteMainList(const std::string &section, const std::string &name,
                                 const std::vector<TMain> &entries) {
  WriteBool(section, "ID", true);
  std::vector<TUser> users(entries.begin(), entries.end());
  WriteUserList(section, "MU_" + name, users);
  components::TStringList titles;
  for (const TMain &entry : entries)
    titles.Add(entry.Title);
  WriteList(section, "M_" + name, titles);
}

bool TEnhancedINI::SectionPresent(const std::string &section) const {
  return ReadBool(section, "ID", false);
}

} // namespace spelling
