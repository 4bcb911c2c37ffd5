// What the TIniFile tests share: byte strings with NULs, a string list as a
// vector, the file of many oddities they all read, and the writes they
// replay.
#ifndef PLATFORM_COMPONENTS_TESTS_INI_FILE_CASES_H
#define PLATFORM_COMPONENTS_TESTS_INI_FILE_CASES_H

#include "platform/components/core/ini-file.h"
#include "platform/components/core/string-list.h"

#include <string>
#include <vector>

namespace ini_test {

// A string literal's bytes, NULs included.
#define INI_BYTES(literal) std::string(literal, sizeof(literal) - 1)

inline std::vector<std::string> toVector(const components::TStringList &list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list[i]);
  return out;
}

// One file of many oddities: blanks, quotes, comments, lines without '=',
// repeated keys and sections, keys before any section, odd brackets.
inline const std::string &messyFile() {
  static const std::string messy =
      "top=1\r\n  [ Sec One ]  \r\n  key1  =  value one  \r\nKEY2=v2\r\nkey1=dup\r\n"
      "\"quoted\"=\"qv\"\r\nq1=\"hello\"\r\nq2='hello'\r\nq3=\"hello\r\nq4=  \"  spaced"
      "  \"  \r\nq5=\"a\"b\"\r\nq6=\"mixed'\r\nq7=\"\"\r\nq8=\"\r\nempty=\r\nnoequals"
      "\r\n;comment=x\r\n#hash=y\r\n =nokey\r\n=alsonokey\r\n\t tabkey\t=\ttabval\t\r\n"
      "[sec two]\r\na=1\r\n[Sec One]\r\nkey3=from-second\r\nkey1=third\r\n[]\r\n"
      "emptysec=1\r\n[unterminated\r\nu=1\r\n[brackets]] x\r\nb=2\r\n[trail] junk\r\n"
      "c=3\r\n";
  return messy;
}

enum class Op { Write, DeleteKey, EraseSection, WriteInteger, WriteBool };

// One write; value holds the integer or boolean ("1" or "0") in text.
struct Step {
  Op op;
  std::string section, ident, value;
};

inline void apply(components::TIniFile &ini, const Step &step) {
  switch (step.op) {
  case Op::Write:
    ini.WriteString(step.section, step.ident, step.value);
    break;
  case Op::DeleteKey:
    ini.DeleteKey(step.section, step.ident);
    break;
  case Op::EraseSection:
    ini.EraseSection(step.section);
    break;
  case Op::WriteInteger:
    ini.WriteInteger(step.section, step.ident, std::stoi(step.value));
    break;
  case Op::WriteBool:
    ini.WriteBool(step.section, step.ident, step.value == "1");
    break;
  }
}

} // namespace ini_test

#endif
