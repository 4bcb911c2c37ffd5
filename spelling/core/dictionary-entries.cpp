// Configuration entries for dictionary files.
#include "spelling/core/dictionary-entries.h"

#include "platform/components/core/exception.h"

namespace spelling {

void TMain::ReadTitle(components::FileSystem &fileSystem) {
  std::string contents;
  if (!fileSystem.readFile(FileName, contents))
    throw components::EFOpenError("Cannot open file \"" + FileName + "\".");
  if (contents.size() < DictionaryTitleOffset + DictionaryTitleLength)
    throw components::EReadError("Dictionary file \"" + FileName + "\" is " +
                                 std::to_string(contents.size()) +
                                 " bytes long; its title needs 113.");
  Title = contents.substr(DictionaryTitleOffset, DictionaryTitleLength);
}

} // namespace spelling
