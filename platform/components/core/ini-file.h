// INI files, read and written exactly as the platform's private-profile
// functions do: sections and keys are matched without regard to case,
// blanks around names and values are dropped, a value in matching quotes
// loses them, the first of two equal keys wins, and every write goes
// straight to the file (which is created on the first write).
#ifndef COMPONENTS_INI_FILE_H
#define COMPONENTS_INI_FILE_H

#include "platform/components/core/event.h"
#include "platform/components/core/file-system.h"

#include <string>
#include <utility>
#include <vector>

namespace components {

class TStringList;

class TIniFile : public TObject {
public:
  explicit TIniFile(std::string fileName, FileSystem &fileSystem = defaultFileSystem());

  const std::string &FileName() const { return fileName_; }

  std::string ReadString(const std::string &section, const std::string &ident,
                         const std::string &defaultValue) const;
  // Integers as decimal text, or hexadecimal after "0x"; anything else
  // gives the default.
  int ReadInteger(const std::string &section, const std::string &ident, int defaultValue) const;
  // A Boolean is an integer: 0 false, anything else true.
  bool ReadBool(const std::string &section, const std::string &ident, bool defaultValue) const;

  // Writes throw EIniFileException when the file cannot be written.
  void WriteString(const std::string &section, const std::string &ident, const std::string &value);
  void WriteInteger(const std::string &section, const std::string &ident, int value);
  void WriteBool(const std::string &section, const std::string &ident, bool value); // "1" or "0"
  // WriteString of each (ident, value) pair in order, in time linear in
  // the file's size and the pairs' number; the file is written once, and
  // not at all when it fails.
  void writeStrings(const std::string &section,
                    const std::vector<std::pair<std::string, std::string>> &values);

  void ReadSection(const std::string &section, TStringList &idents) const;
  void ReadSectionValues(const std::string &section, TStringList &values) const; // Name=Value
  bool ValueExists(const std::string &section, const std::string &ident) const;

  void EraseSection(const std::string &section);
  void DeleteKey(const std::string &section, const std::string &ident);

private:
  std::string fileName_;
  FileSystem *fileSystem_;
};

} // namespace components

#endif
