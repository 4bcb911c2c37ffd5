// The utility components' string table "BASEKIT_STRINGS_ENGLISH", opened
// on first use and kept until the program ends, and the way its texts
// become exceptions: the message is the text, the error code its number.
#ifndef CLIPBOARD_CHECKER_WIN32_UTILITY_STRINGS_H
#define CLIPBOARD_CHECKER_WIN32_UTILITY_STRINGS_H

#include "clipboard-checker/core/bk-base.h"

#include <string>

namespace lexitray {

// Numbers of the texts the utility components use.
enum BkString {
  sErrorOpeningFile = 73,
  sNoVersionInfo = 100,
  sErrorAddingTrayIcon = 119,
  sTrayIconError = 121,
  sTrayClose = 127,
  sTrayRestore = 128,
  sOneTrayIconOnly = 133,
  sVersionKeyNotFound = 134,
  sImageListNotAssigned = 135
};

// Opens the table (raising ETzmStringResourceError when the program's
// table is missing or damaged); the program's start-up calls it first so
// that such a fault stops it at once.
void openUtilityStrings();
std::string BkLoadStr(int id);

template <typename Error> Error bkError(int id) { return Error(BkLoadStr(id), id); }

} // namespace lexitray

#endif
