// TIniFile against the platform's private-profile rules. The expected
// strings and bytes of the read, list and write tables were taken from
// GetPrivateProfileStringA and WritePrivateProfileStringA under Wine on the
// same files; the Windows-only comparison test checks such files against the
// platform directly. Integers follow the platform class library's rule:
// decimal, or hexadecimal after "0x", else the default.
#include "platform/components/core/ini-file.h"

#include "platform/components/core/exception.h"
#include "platform/components/core/string-list.h"
#include "platform/components/tests/ini-file-cases.h"
#include "testing/memory-file-system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using components::EIniFileException;
using components::TIniFile;
using components::TStringList;
using ini_test::apply;
using ini_test::Op;
using ini_test::Step;
using ini_test::toVector;
using testing_support::MemoryFileSystem;

namespace {

const char *const fileName = "C:\\data\\test.ini";

struct ReadCase {
  std::string file;
  std::string section, ident, defaultValue;
  std::string expected;
};

const std::string &messy = ini_test::messyFile();

const char *const lineEnds = "[s]\na=1\nb=2\r\n[t]\rc=3\rd=4\n\n   \n[u]\r\ne=5";

const std::vector<ReadCase> &readCases() {
  static const std::vector<ReadCase> cases = {
      {messy, "", "top", "def", "1"}, // before any section
      {messy, "sec one", "key1", "def", "value one"},
      {messy, "SEC ONE", "KEY1", "def", "value one"},
      {messy, " sec one ", " key1 ", "def", "value one"}, // arguments are trimmed
      {messy, "sec one", "key2", "def", "v2"},
      {messy, "\r\nsec one\v", "\nkey2\r", "def", "v2"}, // line breaks are blanks too
      {messy, "sec one", "key3", "def", "def"},          // the repeated section is shadowed
      {messy, "sec one", "\"quoted\"", "def", "qv"},
      {messy, "sec one", "quoted", "def", "def"},
      {messy, "sec one", "q1", "def", "hello"},
      {messy, "sec one", "q2", "def", "hello"},
      {messy, "sec one", "q3", "def", "\"hello"},
      {messy, "sec one", "q4", "def", "  spaced  "},
      {messy, "sec one", "q5", "def", "a\"b"},
      {messy, "sec one", "q6", "def", "\"mixed'"},
      {messy, "sec one", "q7", "def", ""},
      {messy, "sec one", "q8", "def", "\""},
      {messy, "sec one", "empty", "def", ""},
      {messy, "sec one", "noequals", "def", "def"},
      {messy, "sec one", ";comment", "def", "x"},
      {messy, "sec one", "#hash", "def", "y"},
      {messy, "sec one", "", "def", "nokey"},
      {messy, "sec one", "tabkey", "def", "tabval"},
      {messy, "sec one", "missing", "  def with spaces  ", "  def with spaces"},
      {messy, "sec one", "missing", "\"qdef\"", "qdef"},
      {messy, "sec two", "a", "def", "1"},
      {messy, "", "emptysec", "def", "def"}, // "[]" cannot be reached
      {messy, "unterminated", "u", "def", "def"},
      {messy, "brackets]", "b", "def", "2"}, // the name ends at the last ']'
      {messy, "brackets", "b", "def", "def"},
      {messy, "trail", "c", "def", "3"},
      {messy, "nosuch", "x", "def", "def"},
      // "[unterminated" is a line without '=' in the section before it.
      {"[s]\r\nx=1\r\n[unterminated\r\nu=1\r\n[t]\r\nw=2\r\n", "s", "u", "d", "1"},
      // Bytes >= 0x80 compare exactly; only ASCII letters fold.
      {"[\xC9t\xC9]\r\n\xC4rger=1\r\nstra\xDF"
       "e=4\r\n",
       "\xE9t\xE9", "\xE4rger", "d", "d"},
      {"[\xC9t\xC9]\r\n\xC4rger=1\r\nstra\xDF"
       "e=4\r\n",
       "\xC9T\xC9", "\xC4RGER", "d", "1"},
      {"[\xC9t\xC9]\r\n\xC4rger=1\r\nstra\xDF"
       "e=4\r\n",
       "\xC9t\xC9",
       "STRA\xDF"
       "E",
       "d", "4"},
      {"[\xC9t\xC9]\r\n\xC4rger=1\r\nstra\xDF"
       "e=4\r\n",
       "\xC9t\xC9", "STRASSE", "d", "d"},
      // CR LF, LF and CR all end lines; a last line needs no end.
      {lineEnds, "s", "b", "d", "2"},
      {lineEnds, "t", "d", "d", "4"},
      {lineEnds, "u", "e", "d", "5"},
      // A NUL cuts a name or value short after trimming; the '=' is found
      // in the whole line.
      {INI_BYTES("[s]\r\na=1\0t=5\r\nb=2\r\n[x\0y]\r\nc=1\r\n"), "s", "a", "d", "1"},
      {INI_BYTES("[s]\r\na=1\0t=5\r\nb=2\r\n[x\0y]\r\nc=1\r\n"), "s", "t", "d", "d"},
      {INI_BYTES("[s]\r\na=1\0t=5\r\nb=2\r\n[x\0y]\r\nc=1\r\n"), "s", "b", "d", "2"},
      {INI_BYTES("[s]\r\na=1\0t=5\r\nb=2\r\n[x\0y]\r\nc=1\r\n"), "x", "c", "d", "1"},
      {INI_BYTES("[s]\r\nk\0x=5\r\n"), "s", "k", "d", "5"},
      {INI_BYTES("[s]\r\na \0=1\r\nk= v \0 \r\n"), "s", "a", "d", "d"},
      {INI_BYTES("[s]\r\na \0=1\r\nk= v \0 \r\n"), "s", "k", "d", "v "},
      // Vertical tab and form feed are blanks; a no-break space is not.
      {"[s]\r\na=\vv\f\r\n\vb\f=2\r\nc=\xA0v\xA0\r\n", "s", "a", "d", "v"},
      {"[s]\r\na=\vv\f\r\n\vb\f=2\r\nc=\xA0v\xA0\r\n", "s", "b", "d", "2"},
      {"[s]\r\na=\vv\f\r\n\vb\f=2\r\nc=\xA0v\xA0\r\n", "s", "c", "d", "\xA0v\xA0"},
      // No inline comments; only the first '=' splits.
      {"[s]\r\nd=b=c\r\ne=v ;c\r\n", "s", "d", "x", "b=c"},
      {"[s]\r\nd=b=c\r\ne=v ;c\r\n", "s", "e", "x", "v ;c"},
      {"[ ]\r\nf=1\r\n", "", "f", "d", "d"},
      // The first entry wins even when it has no value.
      {"[s]\r\nkey\r\nkey=2\r\n", "s", "key", "d", "d"},
      // A nameless entry right after another nameless one is dropped.
      {"[s]\r\n=a\r\n=c\r\nb=1\r\n=d\r\n", "s", "", "d", "a"},
      {"[s]\r\n = \r\nb=1\r\n", "s", "", "d", ""},
      // Text after the closing bracket is ignored.
      {"[a]=b\r\nk=1\r\n [c] x=1\r\nm=2\r\n", "a", "k", "d", "1"},
      {"[a]=b\r\nk=1\r\n [c] x=1\r\nm=2\r\n", "c", "m", "d", "2"},
      {"[d=1]\r\nn=3\r\n  ;c = x \r\n", "d=1", ";c", "d", "x"},
      // Defaults lose trailing spaces (spaces only) and then quotes.
      {"k=1\r\n", "s", "k", "\"a'", "\"a'"},
      {"k=1\r\n", "s", "k", "\"", "\""},
      {"k=1\r\n", "s", "k", "\"\"", ""},
      {"k=1\r\n", "s", "k", "  \"x\"  ", "  \"x\""},
      {"k=1\r\n", "s", "k", "\t\"x\" \t", "\t\"x\" \t"},
      {"k=1\r\n", "s", "k", " 'x' ", " 'x'"},
      // A UTF-8 byte-order mark: the text is handed out in ANSI.
      {"\xEF\xBB\xBF[s]\r\na=1\r\n", "s", "a", "d", "1"},
      {"\xEF\xBB\xBF[s]\r\na=\xC3\xA9\r\n", "s", "a", "d", "\xE9"},
      {"\xEF\xBB\xBF[s]\r\na=\xE9x\r\nb=\xE2\x82\xAC\r\nd=\xF0\x9F\x98\x80\r\n", "s", "a", "d",
       "?x"},
      {"\xEF\xBB\xBF[s]\r\na=\xE9x\r\nb=\xE2\x82\xAC\r\nd=\xF0\x9F\x98\x80\r\n", "s", "b", "d",
       "\x80"},
      {"\xEF\xBB\xBF[s]\r\na=\xE9x\r\nb=\xE2\x82\xAC\r\nd=\xF0\x9F\x98\x80\r\n", "s", "d", "d",
       "??"},
      // UTF-16 with its mark, either byte order; a character outside the
      // basic plane reads as "??", a lone surrogate as '?'.
      {INI_BYTES("\xFF\xFE[\0s\0]\0\r\0\n\0a\0=\0\xE9\0\r\0\n\0b\0=\0\x3D\xD8\x00\xDE\r\0\n\0"
                 "c\0=\0\0\xD8x\0"),
       "s", "a", "d", "\xE9"},
      {INI_BYTES("\xFF\xFE[\0s\0]\0\r\0\n\0a\0=\0\xE9\0\r\0\n\0b\0=\0\x3D\xD8\x00\xDE\r\0\n\0"
                 "c\0=\0\0\xD8x\0"),
       "s", "b", "d", "??"},
      {INI_BYTES("\xFF\xFE[\0s\0]\0\r\0\n\0a\0=\0\xE9\0\r\0\n\0b\0=\0\x3D\xD8\x00\xDE\r\0\n\0"
                 "c\0=\0\0\xD8x\0"),
       "s", "c", "d", "?x"},
      {INI_BYTES("\xFE\xFF\0[\0s\0]\0\r\0\n\0a\0=\0\xE9"), "s", "a", "d", "\xE9"},
      // Without the mark, bytes pass unchanged.
      {"[s]\r\na=\xC3\xA9\r\n", "s", "a", "d", "\xC3\xA9"},
  };
  return cases;
}

} // namespace

TEST(IniFileRead, ReadsEachValueAsThePlatformDoes) {
  int row = 0;
  for (const ReadCase &c : readCases()) {
    MemoryFileSystem fs;
    fs.put(fileName, c.file);
    TIniFile ini(fileName, fs);
    EXPECT_EQ(ini.ReadString(c.section, c.ident, c.defaultValue), c.expected)
        << "row " << row << ": [" << c.section << "] " << c.ident;
    ++row;
  }
}

TEST(IniFileRead, MissingFileGivesDefaultsAndNoKeys) {
  MemoryFileSystem fs;
  TIniFile ini(fileName, fs);
  EXPECT_EQ(ini.ReadString("s", "k", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("s", "k", 7), 7);
  TStringList keys;
  keys.Add("stale");
  ini.ReadSection("s", keys);
  EXPECT_EQ(keys.Count(), 0);
  EXPECT_TRUE(fs.paths().empty()) << "reading must not create the file";
}

TEST(IniFileRead, ListsKeysAsThePlatformDoes) {
  struct ListCase {
    std::string file, section;
    std::vector<std::string> expected;
  };
  // Comments and entries without a value are never listed; repeats are.
  // The platform's list also holds the nameless key of "Sec One" (between
  // "#hash" and "tabkey"), where it ends the list early for its readers;
  // ReadSection leaves it out and lists the keys after it.
  const std::vector<ListCase> cases = {
      {messy,
       "Sec One",
       {"key1", "KEY2", "key1", "\"quoted\"", "q1", "q2", "q3", "q4", "q5", "q6", "q7", "q8",
        "empty", "#hash", "tabkey"}},
      {messy, " Sec One ", {}}, // listing takes the section name as it is
      {messy, "", {"top"}},
      {messy, "brackets]", {"b"}},
      {"[s]\r\nx=1\r\n[unterminated\r\nu=1\r\n", "s", {"x", "u"}},
      {"[s]\r\nkey\r\nkey=2\r\n", "s", {"key"}},
      {"[s]\r\nb=1\r\n=a\r\nc=2\r\n=\r\nd=3\r\n", "s", {"b", "c", "d"}},
      {"[s]\r\n", "s", {}},
      {"[s]\r\nnoeq\r\n;c=1\r\n", "s", {}},
      {"[d=1]\r\nn=3\r\n  ;c = x \r\n[e]\r\n;only=1\r\n", "d=1", {"n"}},
      {"[s]\r\nk=1\r\n", "nosuch", {}},
  };
  for (const ListCase &c : cases) {
    MemoryFileSystem fs;
    fs.put(fileName, c.file);
    TIniFile ini(fileName, fs);
    TStringList keys;
    ini.ReadSection(c.section, keys);
    EXPECT_EQ(toVector(keys), c.expected) << "[" << c.section << "] of " << c.file;
  }
}

TEST(IniFileRead, SectionValuesAndKeyExistence) {
  MemoryFileSystem fs;
  fs.put(fileName, "[s]\r\nA=1\r\nb=\"two\"\r\nA=3\r\nnoeq\r\n;c=4\r\n[empty]\r\n[e2]\r\n;c=1\r\n");
  TIniFile ini(fileName, fs);
  TStringList values;
  ini.ReadSectionValues("s", values);
  // Each key's value is what ReadString finds: the first of a repeated key.
  EXPECT_EQ(toVector(values), (std::vector<std::string>{"A=1", "b=two", "A=1"}));
  EXPECT_TRUE(ini.ValueExists("s", "a"));
  EXPECT_FALSE(ini.ValueExists("s", "noeq"));
  EXPECT_FALSE(ini.ValueExists("s", ";c"));
  EXPECT_FALSE(ini.ValueExists("nosuch", "a"));
}

TEST(IniFileRead, IntegersAndBooleans) {
  struct NumberCase {
    const char *value; // null: key absent
    int expected;      // with default -99
  };
  const std::vector<NumberCase> cases = {
      {"12", 12},
      {"-7", -7},
      {"+5", 5},
      {"0x1F", 31},
      {"0X1f", 31},
      {"0xFFFFFFFF", -1},
      {"0x7fffffff", 2147483647},
      {"0x100000000", -99},
      {"0x", -99},
      {"0x1G", -99},
      {"12abc", -99},
      {"", -99},
      {"-", -99},
      {"2147483647", 2147483647},
      {"2147483648", -99},
      {"-2147483648", -2147483647 - 1},
      {"-2147483649", -99},
      {"\" 5\"", -99},
      {"1.5", -99},
      {"\"42\"", 42},
      {"  8  ", 8},
      {nullptr, -99},
  };
  for (const NumberCase &c : cases) {
    MemoryFileSystem fs;
    fs.put(fileName, c.value ? std::string("[n]\r\nv=") + c.value + "\r\n" : "[n]\r\n");
    TIniFile ini(fileName, fs);
    EXPECT_EQ(ini.ReadInteger("n", "v", -99), c.expected) << (c.value ? c.value : "(absent)");
  }

  struct BoolCase {
    const char *value;
    bool defaultValue, expected;
  };
  const std::vector<BoolCase> bools = {
      {"1", false, true},    {"0", true, false},    {"2", false, true},
      {"-1", false, true},   {"0x0", true, false},  {"yes", true, true},
      {"yes", false, false}, {nullptr, true, true}, {nullptr, false, false},
  };
  for (const BoolCase &c : bools) {
    MemoryFileSystem fs;
    fs.put(fileName, c.value ? std::string("[n]\r\nv=") + c.value + "\r\n" : "");
    TIniFile ini(fileName, fs);
    EXPECT_EQ(ini.ReadBool("n", "v", c.defaultValue), c.expected)
        << (c.value ? c.value : "(absent)") << " default " << c.defaultValue;
  }
}

namespace {

struct WriteCase {
  const char *name;
  bool exists;
  std::string initial;
  std::vector<Step> steps;
  bool existsAfter;
  std::string expected; // when it exists after
};

const std::vector<WriteCase> &writeCases() {
  static const std::vector<WriteCase> cases = {
      {"new file", false, "", {{Op::Write, "s", "k", "v"}}, true, "[s]\r\nk=v\r\n"},
      {"keys and sections appended, value replaced in place",
       false,
       "",
       {{Op::Write, "s", "k", "v"},
        {Op::Write, "s", "k2", "v2"},
        {Op::Write, "t", "a", "b"},
        {Op::Write, "s", "k", "v3"}},
       true,
       "[s]\r\nk=v3\r\nk2=v2\r\n[t]\r\na=b\r\n"},
      {"rewritten from the parsed form",
       true,
       "top=1\r\n  [ Sec One ]  \r\n  key1  =  value one  \r\n; a comment\r\n\r\nnoequals\r\n  "
       "\r\nq=\"x\"\r\n[two]\r\na=1\r\n\r\n\r\n[Sec One]\r\nkey1=second\r\n",
       {{Op::Write, "sec one", "KEY1", "new"}, {Op::Write, "two", "b", "2"}},
       true,
       "top=1\r\n[Sec One]\r\nkey1=new\r\n; a comment\r\nnoequals\r\nq=\"x\"\r\n[two]\r\na=1\r\nb="
       "2\r\n[Sec One]\r\nkey1=second\r\n"},
      {"arguments trimmed, values stored as given",
       false,
       "",
       {{Op::Write, " s ", " k ", "  v  "},
        {Op::Write, "s", "q", "\"quoted\""},
        {Op::Write, "s", "e", ""},
        {Op::Write, "s", "crlf", "a\r\nb=c"}},
       true,
       "[s]\r\nk=v\r\nq=\"quoted\"\r\ne=\r\ncrlf=a\r\nb=c\r\n"},
      {"a write stores names and value without their leading blanks only",
       false,
       "",
       {{Op::Write, " s ", " k ", "  v  "}},
       true,
       "[s ]\r\nk =v  \r\n"},
      {"leading line breaks are blanks",
       false,
       "",
       {{Op::Write, "s", "k", "\r\n\v v"}},
       true,
       "[s]\r\nk=v\r\n"},
      {"a write finds section and key by their trimmed names",
       true,
       "[s]\r\nk=1\r\n",
       {{Op::Write, " s ", " k2 ", "  v2  "}, {Op::Write, "s", " k ", " 9 "}},
       true,
       "[s]\r\nk=9 \r\nk2=v2\r\n"},
      {"new section from a blank-edged name",
       true,
       "[s]\r\nk=1\r\n",
       {{Op::Write, " new ", " x ", " y "}},
       true,
       "[s]\r\nk=1\r\n[new ]\r\nx =y \r\n"},
      {"trailing blanks make a different value",
       true,
       "[s]\r\nk=1\r\n",
       {{Op::Write, "s", "k", "1  "}},
       true,
       "[s]\r\nk=1  \r\n"},
      {"deletion takes names as they are",
       true,
       "[s]\r\nk=1\r\n",
       {{Op::EraseSection, " s ", "", ""}, {Op::DeleteKey, "s", " k ", ""}},
       true,
       "[s]\r\nk=1\r\n"},
      {"delete key and erase section",
       true,
       "[s]\r\nk=1\r\n[t]\r\nj=1\r\n",
       {{Op::DeleteKey, "s", "nosuch", ""},
        {Op::DeleteKey, "s", "K", ""},
        {Op::EraseSection, "T", "", ""},
        {Op::EraseSection, "nosuch", "", ""}},
       true,
       "[s]\r\n"},
      {"erasing the last section leaves an empty file",
       true,
       "[t]\r\nj=1\r\n",
       {{Op::EraseSection, "t", "", ""}},
       true,
       ""},
      {"deleting in a missing file creates nothing",
       false,
       "",
       {{Op::DeleteKey, "s", "k", ""}, {Op::EraseSection, "s", "", ""}},
       false,
       ""},
      {"only the first of repeated sections is erased",
       true,
       "[s]\r\nk=1\r\n[t]\r\nj=1\r\n[s]\r\nk=2\r\n",
       {{Op::EraseSection, "s", "", ""}},
       true,
       "[t]\r\nj=1\r\n[s]\r\nk=2\r\n"},
      {"nameless section goes before the first section",
       true,
       "[s]\r\nk=1\r\n",
       {{Op::Write, "", "n", "v"}},
       true,
       "n=v\r\n[s]\r\nk=1\r\n"},
      {"nameless section grows at its end",
       true,
       "x=0\r\n[s]\r\nk=1\r\n",
       {{Op::Write, "", "n", "v"}},
       true,
       "x=0\r\nn=v\r\n[s]\r\nk=1\r\n"},
      {"nameless section in a new file", false, "", {{Op::Write, "", "n", "v"}}, true, "n=v\r\n"},
      {"LF lines come back as CR LF",
       true,
       "[s]\nk=1\nj=2\n",
       {{Op::Write, "s", "k", "9"}},
       true,
       "[s]\r\nk=9\r\nj=2\r\n"},
      {"last line without an end",
       true,
       "[s]\r\nk=1",
       {{Op::Write, "s", "j", "2"}, {Op::Write, "t", "j", "2"}},
       true,
       "[s]\r\nk=1\r\nj=2\r\n[t]\r\nj=2\r\n"},
      {"first of repeated keys and sections is written, its case kept",
       true,
       "[s]\r\nk=1\r\nK=2\r\n[S]\r\nk=3\r\n",
       {{Op::Write, "S", "K", "9"}},
       true,
       "[s]\r\nk=9\r\nK=2\r\n[S]\r\nk=3\r\n"},
      {"a name without value gets one",
       true,
       "[s]\r\nk\r\nj=1\r\n",
       {{Op::Write, "s", "k", "5"}},
       true,
       "[s]\r\nk=5\r\nj=1\r\n"},
      {"value compared case-sensitively",
       true,
       "[s]\r\nk=a\r\n",
       {{Op::Write, "s", "k", "A"}},
       true,
       "[s]\r\nk=A\r\n"},
      {"dropped nameless entry and blank lines vanish",
       true,
       "[s]\r\n=a\r\n\r\n=b\r\nk=1\r\n\r\n",
       {{Op::Write, "s", "k", "2"}},
       true,
       "[s]\r\n=a\r\nk=2\r\n"},
      {"comment keeps its place, new key after it",
       true,
       "[a]=b\r\nk=1\r\n [c] x=1\r\nm=2\r\n[d=1]\r\nn=3\r\n  ;c = x \r\n[e]\r\n;only=1\r\n",
       {{Op::Write, "d=1", "z", "1"}},
       true,
       "[a]\r\nk=1\r\n[c]\r\nm=2\r\n[d=1]\r\nn=3\r\n;c=x\r\nz=1\r\n[e]\r\n;only=1\r\n"},
      {"NUL-cut names come back as cut",
       true,
       INI_BYTES("[s]\r\na \0=1\r\nk= v \0 \r\n\0abc\r\n=z\r\n[ x \0]\r\nk=1\r\n"),
       {{Op::Write, "s", "q", "1"}},
       true,
       "[s]\r\na =1\r\nk=v \r\n\r\nq=1\r\n[x ]\r\nk=1\r\n"},
      {"UTF-8 file stays UTF-8 with its mark",
       true,
       "\xEF\xBB\xBF[s]\r\na=\xC3\xA9\r\n",
       {{Op::Write, "s", "b", "\xE9"}},
       true,
       "\xEF\xBB\xBF[s]\r\na=\xC3\xA9\r\nb=\xC3\xA9\r\n"},
      {"UTF-8 file keeps what ANSI lacks; malformed bytes become U+FFFD",
       true,
       "\xEF\xBB\xBF[s]\r\nd=\xF0\x9F\x98\x80\r\ne=\xE9x\r\n",
       {{Op::Write, "s", "a", "1"}},
       true,
       "\xEF\xBB\xBF[s]\r\nd=\xF0\x9F\x98\x80\r\ne=\xEF\xBF\xBDx\r\na=1\r\n"},
      {"UTF-16 file stays UTF-16, surrogates and all",
       true,
       INI_BYTES("\xFF\xFE[\0s\0]\0\r\0\n\0a\0=\0\xE9\0\r\0\n\0b\0=\0\x3D\xD8\x00\xDE\r\0\n\0"
                 "c\0=\0\0\xD8x\0"),
       {{Op::Write, "s", "k", "\x80"}},
       true,
       INI_BYTES("\xFF\xFE[\0s\0]\0\r\0\n\0a\0=\0\xE9\0\r\0\n\0b\0=\0\x3D\xD8\x00\xDE\r\0\n\0"
                 "c\0=\0\0\xD8x\0\r\0\n\0k\0=\0\xAC\x20\r\0\n\0")},
      {"big-endian UTF-16 file",
       true,
       INI_BYTES("\xFE\xFF\0[\0s\0]\0\r\0\n\0a\0=\0\xE9"),
       {{Op::Write, "s", "k", "\x80"}},
       true,
       INI_BYTES("\xFE\xFF\0[\0s\0]\0\r\0\n\0a\0=\0\xE9\0\r\0\n\0k\0=\x20\xAC\0\r\0\n")},
      {"integers and booleans",
       false,
       "",
       {{Op::WriteInteger, "n", "i", "-12"},
        {Op::WriteBool, "n", "t", "1"},
        {Op::WriteBool, "n", "f", "0"}},
       true,
       "[n]\r\ni=-12\r\nt=1\r\nf=0\r\n"},
  };
  return cases;
}

} // namespace

TEST(IniFileWrite, WritesTheBytesThePlatformWrites) {
  for (const WriteCase &c : writeCases()) {
    MemoryFileSystem fs;
    if (c.exists)
      fs.put(fileName, c.initial);
    TIniFile ini(fileName, fs);
    for (const Step &step : c.steps)
      apply(ini, step);
    ASSERT_EQ(fs.has(fileName), c.existsAfter) << c.name;
    if (c.existsAfter) {
      EXPECT_EQ(fs.get(fileName), c.expected) << c.name;
    }
    EXPECT_EQ(fs.paths().size(), c.existsAfter ? 1u : 0u) << c.name << ": temporary file left";
  }
}

TEST(IniFileWrite, WriteThatChangesNothingLeavesTheFileAlone) {
  const std::vector<std::pair<std::string, Step>> cases = {
      {"[s]\r\n  k = 1 \r\n\r\n", {Op::Write, "s", "k", "1"}},
      {"[s]\r\nk=  \"1\"  \r\n", {Op::Write, "s", "k", "\"1\""}},
      {"[s]\r\n  k = 1 \r\n\r\n", {Op::DeleteKey, "s", "nosuch", ""}},
      {"[s]\r\n  k = 1 \r\n\r\n", {Op::DeleteKey, "nosuch", "k", ""}},
      {"[s]\r\n  k = 1 \r\n\r\n", {Op::EraseSection, "nosuch", "", ""}},
  };
  for (const auto &c : cases) {
    MemoryFileSystem fs;
    fs.put(fileName, c.first);
    TIniFile ini(fileName, fs);
    apply(ini, c.second);
    EXPECT_EQ(fs.writes, 0u) << c.first;
    EXPECT_EQ(fs.get(fileName), c.first);
  }
}

// Every file operation of a write may fail; each failure must be reported
// naming the file and leave the old file whole, with no temporary behind.
TEST(IniFileWrite, FailedWritesThrowAndKeepTheOldFile) {
  const std::string original = "[Added]\r\nIGN_ListCount=1\r\nIGN_0=word\r\n";
  bool completed = false;
  for (unsigned failAt = 1; failAt < 20 && !completed; ++failAt) {
    MemoryFileSystem fs;
    fs.put(fileName, original);
    fs.failAt = failAt;
    TIniFile ini(fileName, fs);
    try {
      ini.WriteString("Added", "IGN_0", "other");
      completed = true;
      EXPECT_EQ(fs.get(fileName), "[Added]\r\nIGN_ListCount=1\r\nIGN_0=other\r\n");
    } catch (const EIniFileException &e) {
      EXPECT_EQ(e.Message(), std::string("Unable to write to ") + fileName);
      EXPECT_EQ(fs.get(fileName), original) << "failure at call " << failAt;
    }
    EXPECT_EQ(fs.paths().size(), 1u) << "failure at call " << failAt;
  }
  EXPECT_TRUE(completed);
}

TEST(IniFileWrite, EraseAndDeleteFailuresAreReported) {
  for (int which = 0; which < 2; ++which) {
    MemoryFileSystem fs;
    fs.put(fileName, "[s]\r\nk=1\r\n");
    fs.failAt = 2; // the write of the new contents
    TIniFile ini(fileName, fs);
    if (which == 0)
      EXPECT_THROW(ini.EraseSection("s"), EIniFileException);
    else
      EXPECT_THROW(ini.DeleteKey("s", "k"), EIniFileException);
    EXPECT_EQ(fs.get(fileName), "[s]\r\nk=1\r\n");
  }
}

// A rewrite drops blank lines and writes no header for a nameless section,
// so an entry whose name starts with the bytes of a byte-order mark could
// become the first bytes of the file. The next read would then take the
// whole file as UTF-8 or UTF-16. A file read without a mark must come back
// without one, and a file read with one keeps it.
TEST(IniFileWrite, ARewriteNeverGivesTheFileAByteOrderMarkItDidNotHave) {
  const std::vector<std::string> marks = {INI_BYTES("\xFF\xFE"), INI_BYTES("\xFE\xFF"),
                                          INI_BYTES("\xEF\xBB\xBF")};
  for (const std::string &mark : marks) {
    for (const std::string &prefix : {std::string("\r\n"), std::string("[\t]\r")}) {
      MemoryFileSystem fs;
      fs.put(fileName, prefix + mark + "=x\r\n[s]\r\nold=caf\xE9\r\n");
      TIniFile ini(fileName, fs);
      ini.WriteString("s", "new", "caf\xE9");
      EXPECT_NE(fs.get(fileName).compare(0, mark.size(), mark), 0)
          << "a rewrite started with a byte-order mark";
      TIniFile again(fileName, fs);
      EXPECT_EQ(again.ReadString("s", "new", "default"), "caf\xE9");
      EXPECT_EQ(again.ReadString("s", "old", "default"), "caf\xE9");
      EXPECT_EQ(again.ReadString("", mark, "default"), "x");
    }
  }
}

TEST(IniFileWrite, AFileReadWithAByteOrderMarkKeepsIt) {
  const std::vector<std::string> files = {
      INI_BYTES("\xEF\xBB\xBF[s]\r\nold=caf\xC3\xA9\r\n"),
      INI_BYTES("\xFF\xFE[\0s\0]\0\r\0\n\0o\0l\0d\0=\0c\0a\0f\0\xE9\0\r\0\n\0"),
      INI_BYTES("\xFE\xFF\0[\0s\0]\0\r\0\n\0o\0l\0d\0=\0c\0a\0f\0\xE9\0\r\0\n"),
  };
  for (const std::string &file : files) {
    MemoryFileSystem fs;
    fs.put(fileName, file);
    TIniFile ini(fileName, fs);
    ini.WriteString("s", "new", "caf\xE9");
    const std::string mark = file.substr(0, file[0] == '\xEF' ? 3 : 2);
    EXPECT_EQ(fs.get(fileName).compare(0, mark.size(), mark), 0) << "the mark was lost";
    TIniFile again(fileName, fs);
    EXPECT_EQ(again.ReadString("s", "new", "default"), "caf\xE9");
    EXPECT_EQ(again.ReadString("s", "old", "default"), "caf\xE9");
  }
}
