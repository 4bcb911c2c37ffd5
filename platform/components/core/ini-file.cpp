// INI files, parsed and rewritten the way the platform's private-profile
// functions do it, so that files shared with other programs (and files a
// user edits by hand) read the same through this class as through the
// platform.
//
// The format as those functions see it:
//   - Lines end at CR LF, LF or CR. Each line is trimmed of blanks (space,
//     tab, vertical tab, form feed); blank lines are not kept.
//   - A line that starts with '[' and holds a ']' opens a section; its name
//     is what lies between the '[' and the LAST ']', trimmed. Anything after
//     that ']' is ignored.
//   - Any other line is an entry. With an '=' (the first one), the trimmed
//     text before it is the name and the trimmed text after it the value;
//     without one, the whole line is a name that has no value.
//   - A name or value is cut at its first NUL byte (after trimming).
//   - An entry whose name is empty is dropped when the entry before it in
//     its section also has an empty name.
//   - Entries before the first section belong to a nameless leading
//     section, which always exists and which a section name "" finds;
//     "[]" opens a section that no look-up can reach.
//   - Look-ups match names without regard to the case of ASCII letters
//     (bytes >= 0x80 compare exactly) and take the first match, so a
//     repeated section or key is shadowed by the earlier one.
//   - A value read back loses one pair of matching quotes (' or ") around
//     it. A name starting with ';' is a comment: it can still be read by
//     name, but is never listed.
//   - A file that starts with a byte-order mark holds UTF-8 or UTF-16 (either
//     byte order) text: the functions hand it out as ANSI (Windows-1252)
//     text and write it back in its own encoding with its mark; malformed
//     UTF-8 becomes U+FFFD, lone UTF-16 surrogates are kept.
//
// A write rewrites the whole file from the parsed form: "[name]" lines and
// "name=value" (or "name") lines, each ending in CR LF, with the blank lines
// dropped; an ANSI file whose first line would start with the bytes of a
// byte-order mark keeps one blank line in front of it. A write that changes nothing leaves the file
// untouched. Names and values a write adds keep their trailing blanks until the file is next
// parsed, as the platform's do. Unlike the platform, the new contents go to a temporary file that
// then replaces the old one, so a failed write never leaves a half-written file behind.
#include "platform/components/core/ini-file.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/core/unicode-text.h"

#include <cstdint>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace components {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// Blanks of the arguments include line breaks: a value passed with a
// leading CR LF is stored without it.
bool isArgumentBlank(char c) { return isBlank(c) || c == '\r' || c == '\n'; }

template <typename Predicate> std::string trim(const std::string &text, Predicate blank) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && blank(text[begin]))
    ++begin;
  while (end > begin && blank(text[end - 1]))
    --end;
  return text.substr(begin, end - begin);
}

std::string cutAtNul(std::string text) {
  std::size_t nul = text.find('\0');
  if (nul != std::string::npos)
    text.resize(nul);
  return text;
}

// The platform takes its arguments as C strings and treats their blanks
// differently from call to call: reading a value and finding what a write
// replaces trim both ends; a name or value that a write stores loses only
// its leading blanks; listing a section's keys and deleting use the names
// as they are.
std::string trimmedArgument(const std::string &text) {
  return trim(cutAtNul(text), isArgumentBlank);
}

std::string storedArgument(const std::string &text) {
  std::string cut = cutAtNul(text);
  std::size_t begin = 0;
  while (begin < cut.size() && isArgumentBlank(cut[begin]))
    ++begin;
  return cut.substr(begin);
}

char foldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool sameName(const std::string &a, const std::string &b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldAscii(a[i]) != foldAscii(b[i]))
      return false;
  return true;
}

// One pair of matching quotes around the text is dropped.
std::string unquote(const std::string &text) {
  std::size_t n = text.size();
  if (n >= 2 && (text[0] == '"' || text[0] == '\'') && text[n - 1] == text[0])
    return text.substr(1, n - 2);
  return text;
}

struct Entry {
  std::string name;
  bool hasValue = false;
  std::string value;
};

struct Section {
  std::string name; // empty for the part before the first "[...]" line
  std::vector<Entry> entries;
};

// How the file stores its text, told by its byte-order mark.
enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

constexpr char utf8Mark[] = "\xEF\xBB\xBF";
constexpr char utf16LeMark[] = "\xFF\xFE";
constexpr char utf16BeMark[] = "\xFE\xFF";

Encoding encodingOf(const std::string &bytes) {
  if (bytes.compare(0, 3, utf8Mark) == 0)
    return Encoding::Utf8;
  if (bytes.compare(0, 2, utf16LeMark) == 0)
    return Encoding::Utf16Le;
  if (bytes.compare(0, 2, utf16BeMark) == 0)
    return Encoding::Utf16Be;
  return Encoding::Ansi;
}

// The parsed form of one INI file.
class IniModel {
public:
  void parse(const std::string &bytes);
  std::string serialize() const;

  // The first section of that name (already trimmed), or null.
  Section *findSection(const std::string &name);
  const Section *findSection(const std::string &name) const {
    return const_cast<IniModel *>(this)->findSection(name);
  }
  static Entry *findEntry(Section &section, const std::string &name);
  static const Entry *findEntry(const Section &section, const std::string &name) {
    return findEntry(const_cast<Section &>(section), name);
  }
  Section &addSection(const std::string &name);
  void removeSection(const Section *section);

  const std::vector<Section> &sections() const { return sections_; }

  // A Unicode file keeps its text in UTF-8, so that characters the ANSI
  // code page lacks survive a rewrite; callers speak ANSI.
  std::string fromAnsi(const std::string &text) const {
    return encoding_ == Encoding::Ansi ? text : ansiToUtf8(text);
  }
  std::string toAnsi(const std::string &text) const {
    return encoding_ == Encoding::Ansi ? text : unicodeTextToAnsi(text);
  }

private:
  void parseLine(const std::string &line);

  std::vector<Section> sections_;
  Encoding encoding_ = Encoding::Ansi;
};

void IniModel::parse(const std::string &bytes) {
  sections_.clear();
  sections_.push_back(Section()); // entries before the first section

  std::string text;
  encoding_ = encodingOf(bytes);
  switch (encoding_) {
  case Encoding::Ansi:
    text = bytes;
    break;
  case Encoding::Utf8:
    text = cleanUtf8(bytes.substr(3));
    break;
  case Encoding::Utf16Le:
  case Encoding::Utf16Be:
    text = utf16ToText(bytes.substr(2), encoding_ == Encoding::Utf16Be);
    break;
  }

  std::size_t begin = 0, n = text.size();
  while (begin < n) {
    std::size_t end = begin;
    while (end < n && text[end] != '\r' && text[end] != '\n')
      ++end;
    parseLine(text.substr(begin, end - begin));
    if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n')
      ++end;
    begin = end + 1;
  }
}

void IniModel::parseLine(const std::string &raw) {
  std::string line = trim(raw, isBlank);
  if (line.empty())
    return;
  if (line[0] == '[') {
    std::size_t close = line.rfind(']');
    if (close != std::string::npos && close > 0) {
      Section section;
      section.name = cutAtNul(trim(line.substr(1, close - 1), isBlank));
      sections_.push_back(std::move(section));
      return;
    }
  }
  Entry entry;
  std::size_t equals = line.find('=');
  if (equals == std::string::npos) {
    entry.name = cutAtNul(line);
  } else {
    entry.name = cutAtNul(trim(line.substr(0, equals), isBlank));
    entry.value = cutAtNul(trim(line.substr(equals + 1), isBlank));
    entry.hasValue = true;
  }
  std::vector<Entry> &entries = sections_.back().entries;
  if (entry.name.empty() && !entries.empty() && entries.back().name.empty())
    return;
  entries.push_back(std::move(entry));
}

std::string IniModel::serialize() const {
  std::string out;
  for (const Section &section : sections_) {
    // A nameless section gets no header line, so its entries join the
    // section before it when the file is next read.
    if (!section.name.empty())
      out += "[" + section.name + "]\r\n";
    for (const Entry &entry : section.entries) {
      out += entry.name;
      if (entry.hasValue)
        out += "=" + entry.value;
      out += "\r\n";
    }
  }
  switch (encoding_) {
  case Encoding::Ansi:
    // The first entry may start with the bytes of a byte-order mark; a
    // blank line in front keeps the next read from taking the file as
    // Unicode (blank lines are dropped when the file is parsed).
    if (encodingOf(out) != Encoding::Ansi)
      return "\r\n" + out;
    break;
  case Encoding::Utf8:
    return std::string(utf8Mark) + out;
  case Encoding::Utf16Le:
    return std::string(utf16LeMark) + textToUtf16(out, false);
  case Encoding::Utf16Be:
    return std::string(utf16BeMark) + textToUtf16(out, true);
  }
  return out;
}

Section *IniModel::findSection(const std::string &name) {
  for (Section &section : sections_)
    if (sameName(section.name, name))
      return &section;
  return nullptr;
}

Entry *IniModel::findEntry(Section &section, const std::string &name) {
  for (Entry &entry : section.entries)
    if (sameName(entry.name, name))
      return &entry;
  return nullptr;
}

Section &IniModel::addSection(const std::string &name) {
  Section section;
  section.name = name;
  sections_.push_back(std::move(section));
  return sections_.back();
}

void IniModel::removeSection(const Section *section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (&*it == section) {
      sections_.erase(it);
      return;
    }
  }
}

// Names as the platform lists them: comments and entries without a value
// are left out. The platform's list is a run of NUL-terminated strings, so
// a nameless entry would end it early and hide every key after it; such
// entries are skipped here instead.
bool isListed(const Entry &entry) {
  return entry.hasValue && !entry.name.empty() && entry.name[0] != ';';
}

// Parses "123", "-45" or "0x1F"; false for anything else, including a value
// that does not fit. Hexadecimal takes all 32 bits, so "0xFFFFFFFF" is -1,
// as the platform's conversion gives.
bool parseInteger(const std::string &text, int &result) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint32_t value = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
      char c = text[i];
      unsigned digit;
      if (c >= '0' && c <= '9')
        digit = static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        digit = static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        digit = static_cast<unsigned>(c - 'A' + 10);
      else
        return false;
      if (value > 0x0FFFFFFFu)
        return false;
      value = value << 4 | digit;
    }
    result = static_cast<int>(static_cast<std::int32_t>(value));
    return true;
  }
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  if (i == text.size())
    return false;
  std::int64_t value = 0;
  const std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9')
      return false;
    value = value * 10 + (text[i] - '0');
    if (value > limit)
      return false;
  }
  if (negative)
    value = -value;
  if (value > std::numeric_limits<int>::max())
    return false;
  result = static_cast<int>(value);
  return true;
}

// The parsed file for one operation. A file that cannot be read counts as
// empty, as it does for the platform.
struct LoadedFile {
  IniModel model;
  bool exists = false;
};

LoadedFile load(FileSystem &fileSystem, const std::string &fileName) {
  LoadedFile loaded;
  std::string bytes;
  loaded.exists = fileSystem.readFile(fileName, bytes);
  loaded.model.parse(loaded.exists ? bytes : std::string());
  return loaded;
}

std::string writeError(const std::string &fileName) { return "Unable to write to " + fileName; }

// A name as the look-ups compare it: equal folded names are the same name.
std::string foldedName(const std::string &name) {
  std::string folded = name;
  for (char &c : folded)
    c = foldAscii(c);
  return folded;
}

// What ReadString answers for the entry found (null: none).
std::string valueOf(const IniModel &model, const Entry *entry, const std::string &defaultValue) {
  if (entry && entry->hasValue)
    return unquote(model.toAnsi(entry->value));
  // The platform drops trailing spaces (only spaces) and quotes from the
  // default too.
  std::string fallback = cutAtNul(defaultValue);
  while (!fallback.empty() && fallback.back() == ' ')
    fallback.pop_back();
  return unquote(fallback);
}

LoadedFile loadForWrite(FileSystem &fileSystem, const std::string &fileName) {
  LoadedFile loaded = load(fileSystem, fileName);
  // Rewriting a file we could not read would throw its contents away.
  if (!loaded.exists && fileSystem.fileExists(fileName))
    throw EIniFileException(writeError(fileName));
  return loaded;
}

// Writes the new contents beside the file and then puts them in its place,
// so that the old file survives any failure whole.
void store(FileSystem &fileSystem, const std::string &fileName, const LoadedFile &loaded) {
  std::string temporary = fileName + ".tmp";
  if (fileSystem.writeFile(temporary, loaded.model.serialize()) &&
      fileSystem.replaceFile(temporary, fileName))
    return;
  fileSystem.removeFile(temporary);
  throw EIniFileException(writeError(fileName));
}

} // namespace

TIniFile::TIniFile(std::string fileName, FileSystem &fileSystem)
    : fileName_(std::move(fileName)), fileSystem_(&fileSystem) {}

std::string TIniFile::ReadString(const std::string &section, const std::string &ident,
                                 const std::string &defaultValue) const {
  LoadedFile loaded = load(*fileSystem_, fileName_);
  const IniModel &model = loaded.model;
  const Section *found = model.findSection(model.fromAnsi(trimmedArgument(section)));
  const Entry *entry =
      found ? IniModel::findEntry(*found, model.fromAnsi(trimmedArgument(ident))) : nullptr;
  return valueOf(model, entry, defaultValue);
}

int TIniFile::ReadInteger(const std::string &section, const std::string &ident,
                          int defaultValue) const {
  int value;
  if (parseInteger(ReadString(section, ident, ""), value))
    return value;
  return defaultValue;
}

bool TIniFile::ReadBool(const std::string &section, const std::string &ident,
                        bool defaultValue) const {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string &section, const std::string &ident,
                           const std::string &value) {
  LoadedFile loaded = loadForWrite(*fileSystem_, fileName_);
  IniModel &model = loaded.model;
  std::string text = model.fromAnsi(storedArgument(value));
  Section *found = model.findSection(model.fromAnsi(trimmedArgument(section)));
  if (!found)
    found = &model.addSection(model.fromAnsi(storedArgument(section)));
  Entry *entry = IniModel::findEntry(*found, model.fromAnsi(trimmedArgument(ident)));
  if (entry && entry->hasValue && entry->value == text)
    return;
  if (!entry) {
    found->entries.push_back(Entry());
    entry = &found->entries.back();
    entry->name = model.fromAnsi(storedArgument(ident));
  }
  entry->hasValue = true;
  entry->value = text;
  store(*fileSystem_, fileName_, loaded);
}

// What WriteString does for each pair in turn, on one reading of the file
// and with one write at the end: a list of n keys written key by key would
// read and write the whole file n times. The keys of the section are
// found through an index instead of a walk along the section for each.
void TIniFile::writeStrings(const std::string &section,
                            const std::vector<std::pair<std::string, std::string>> &values) {
  if (values.empty())
    return;
  LoadedFile loaded = loadForWrite(*fileSystem_, fileName_);
  IniModel &model = loaded.model;
  Section *found = model.findSection(model.fromAnsi(trimmedArgument(section)));
  if (!found)
    found = &model.addSection(model.fromAnsi(storedArgument(section)));
  // The first of equal names is the one a look-up finds.
  std::unordered_map<std::string, std::size_t> firstEntry;
  for (std::size_t i = 0; i < found->entries.size(); ++i)
    firstEntry.emplace(foldedName(found->entries[i].name), i);
  bool changed = false;
  for (const auto &value : values) {
    std::string text = model.fromAnsi(storedArgument(value.second));
    auto at = firstEntry.find(foldedName(model.fromAnsi(trimmedArgument(value.first))));
    std::size_t index = at == firstEntry.end() ? found->entries.size() : at->second;
    if (at == firstEntry.end()) {
      found->entries.push_back(Entry());
      found->entries.back().name = model.fromAnsi(storedArgument(value.first));
      firstEntry.emplace(foldedName(found->entries.back().name), index);
    }
    Entry &entry = found->entries[index];
    if (entry.hasValue && entry.value == text)
      continue;
    entry.hasValue = true;
    entry.value = std::move(text);
    changed = true;
  }
  if (changed)
    store(*fileSystem_, fileName_, loaded);
}

void TIniFile::WriteInteger(const std::string &section, const std::string &ident, int value) {
  WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteBool(const std::string &section, const std::string &ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

void TIniFile::ReadSection(const std::string &section, TStringList &idents) const {
  idents.Clear();
  LoadedFile loaded = load(*fileSystem_, fileName_);
  const IniModel &model = loaded.model;
  const Section *found = model.findSection(model.fromAnsi(cutAtNul(section)));
  if (!found)
    return;
  for (const Entry &entry : found->entries)
    if (isListed(entry))
      idents.Add(model.toAnsi(entry.name));
}

// ReadString of each listed key, on one reading of the file and with the
// keys found through an index: read key by key, a section of n keys would
// cost n readings of the file and n walks along the section.
void TIniFile::ReadSectionValues(const std::string &section, TStringList &values) const {
  values.Clear();
  TStringList idents;
  ReadSection(section, idents);
  if (idents.Count() == 0)
    return;
  LoadedFile loaded = load(*fileSystem_, fileName_);
  const IniModel &model = loaded.model;
  const Section *found = model.findSection(model.fromAnsi(trimmedArgument(section)));
  std::unordered_map<std::string, const Entry *> firstEntry;
  for (std::size_t i = 0; found && i < found->entries.size(); ++i)
    firstEntry.emplace(foldedName(found->entries[i].name), &found->entries[i]);
  for (int i = 0; i < idents.Count(); ++i) {
    auto entry = firstEntry.find(foldedName(model.fromAnsi(trimmedArgument(idents[i]))));
    values.Add(idents[i] + "=" +
               valueOf(model, entry == firstEntry.end() ? nullptr : entry->second, ""));
  }
}

bool TIniFile::ValueExists(const std::string &section, const std::string &ident) const {
  TStringList idents;
  ReadSection(section, idents);
  return idents.IndexOf(ident) >= 0;
}

void TIniFile::EraseSection(const std::string &section) {
  LoadedFile loaded = loadForWrite(*fileSystem_, fileName_);
  const Section *found = loaded.model.findSection(loaded.model.fromAnsi(cutAtNul(section)));
  if (!found)
    return;
  loaded.model.removeSection(found);
  store(*fileSystem_, fileName_, loaded);
}

void TIniFile::DeleteKey(const std::string &section, const std::string &ident) {
  LoadedFile loaded = loadForWrite(*fileSystem_, fileName_);
  Section *found = loaded.model.findSection(loaded.model.fromAnsi(cutAtNul(section)));
  if (!found)
    return;
  std::string name = loaded.model.fromAnsi(cutAtNul(ident));
  for (auto it = found->entries.begin(); it != found->entries.end(); ++it) {
    if (sameName(it->name, name)) {
      found->entries.erase(it);
      store(*fileSystem_, fileName_, loaded);
      return;
    }
  }
}

} // namespace components
