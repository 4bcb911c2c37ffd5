// Edits of the dictionary lists of a configuration as the options dialog
// makes them: moving and removing entries, and the choice of the user
// dictionary that receives added words. The configuration names that
// dictionary by its position in the user list (UserIndex), so every edit
// that moves entries moves the choice with the entry it named: new words
// keep going to the dictionary the user chose.
#ifndef SPELLING_CONFIG_LISTS_H
#define SPELLING_CONFIG_LISTS_H

#include "spelling/core/configuration.h"

#include <string>
#include <vector>

namespace spelling {

// Swaps an entry with its neighbour above (delta -1) or below (delta +1);
// nothing at either end or for an index out of range. Answers the entry's
// index afterwards.
int moveMainEntry(TConfiguration &config, int index, int delta);
int moveUserEntry(TConfiguration &config, int index, int delta);

// Removes an entry; answers the index that becomes current (the same
// place, else the last entry; -1 when the list is empty), or index itself
// when there is nothing to remove. Removing the chosen user dictionary
// leaves no choice (UserIndex -1) until the next refresh makes one.
int removeMainEntry(TConfiguration &config, int index);
int removeUserEntry(TConfiguration &config, int index);

// The user dictionaries that can receive words: the selected entries whose
// extension is ".udt" (any case), as user-list indices in list order.
std::vector<int> addWordsToEntries(const TConfiguration &config);

// Keeps UserIndex when its entry can still receive words, else moves it
// to the first that can (-1 when none can). Answers UserIndex's position
// among addWordsToEntries, or -1.
int refreshAddWordsTo(TConfiguration &config);

// How the dialog lists a dictionary file: its name without the folder, in
// lower case.
std::string dictionaryDisplayName(const std::string &path);

} // namespace spelling

#endif
