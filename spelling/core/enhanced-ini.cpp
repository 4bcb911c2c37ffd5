// Numbered lists in INI files.
#include "spelling/core/enhanced-ini.h"

#include "platform/components/core/exception.h"

#include <cstddef>

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
  long number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9')
      return -1;
    number = number * 10 + (c - '0');
    if (number >= count)
      return -1;
  }
  return number;
}

} // namespace

TEnhancedINI::TEnhancedINI(std::string fileName, components::FileSystem &fileSystem)
    : components::TIniFile(std::move(fileName), fileSystem), fileSystem_(fileSystem) {}

std::map<long, std::string> TEnhancedINI::readIndexedList(const std::string &section,
                                                          const std::string &name) const {
  std::map<long, std::string> items;
  long count = ReadInteger(section, name + CountSuffix, 0);
  if (count <= 0)
    return items;
  // One pass over the section's keys instead of one look-up per number up
  // to the stored count, which may be anything a damaged file says.
  components::TStringList values;
  ReadSectionValues(section, values);
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
  for (const auto &item : readIndexedList(section, name))
    list.Add(item.second);
}

void TEnhancedINI::WriteList(const std::string &section, const std::string &name,
                             const components::TStringList &list) {
  WriteInteger(section, name + CountSuffix, list.Count());
  for (int i = 0; i < list.Count(); ++i)
    WriteString(section, name + "_" + std::to_string(i), list[i]);
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
