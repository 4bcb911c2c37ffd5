// Edits of the dictionary lists: moving and removing entries keeps new
// words going to the user dictionary the user chose, and the add-words
// choice follows the rules of the dialog's combo box.
#include "spelling/core/config-lists.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace spelling;

std::unique_ptr<TConfiguration> emptyConfig() {
  return std::make_unique<TConfiguration>("", TSpellOptions{}, "default.udt", "english.dct",
                                          "verba");
}

// Four user dictionaries; "project.udt" receives the words.
std::unique_ptr<TConfiguration> fourUsers() {
  auto config = emptyConfig();
  config->UserEntries() = {{"C:\\Dicts\\default.udt", true},
                           {"C:\\Dicts\\words.dic", true},
                           {"C:\\Dicts\\PROJECT.UDT", true},
                           {"C:\\Dicts\\spare.udt", false}};
  config->SetUserIndex(2);
  return config;
}

std::string chosenFile(const TConfiguration &config) {
  int index = config.UserIndex();
  if (index < 0)
    return "";
  return config.UserEntries().at(static_cast<std::size_t>(index)).FileName;
}

TEST(ConfigLists, MovingUserEntriesKeepsTheChosenDictionary) {
  auto config = fourUsers();
  // The chosen entry itself moves up twice, then down past the end.
  EXPECT_EQ(moveUserEntry(*config, 2, -1), 1);
  EXPECT_EQ(chosenFile(*config), "C:\\Dicts\\PROJECT.UDT");
  EXPECT_EQ(config->UserIndex(), 1);
  EXPECT_EQ(moveUserEntry(*config, 1, -1), 0);
  EXPECT_EQ(moveUserEntry(*config, 0, -1), 0); // already first
  EXPECT_EQ(chosenFile(*config), "C:\\Dicts\\PROJECT.UDT");
  // A neighbour moves onto the chosen entry's place.
  EXPECT_EQ(moveUserEntry(*config, 1, -1), 0);
  EXPECT_EQ(chosenFile(*config), "C:\\Dicts\\PROJECT.UDT");
  EXPECT_EQ(config->UserIndex(), 1);
  // Moves that do not touch it leave it alone.
  EXPECT_EQ(moveUserEntry(*config, 2, 1), 3);
  EXPECT_EQ(moveUserEntry(*config, 3, 1), 3); // already last
  EXPECT_EQ(chosenFile(*config), "C:\\Dicts\\PROJECT.UDT");
  std::vector<std::string> order;
  for (const TUser &entry : config->UserEntries())
    order.push_back(entry.FileName);
  EXPECT_EQ(order, (std::vector<std::string>{"C:\\Dicts\\default.udt", "C:\\Dicts\\PROJECT.UDT",
                                             "C:\\Dicts\\spare.udt", "C:\\Dicts\\words.dic"}));
}

TEST(ConfigLists, RemovingUserEntriesKeepsOrDropsTheChoice) {
  auto config = fourUsers();
  // An entry before the chosen one: the choice moves up with its entry.
  EXPECT_EQ(removeUserEntry(*config, 0), 0);
  EXPECT_EQ(chosenFile(*config), "C:\\Dicts\\PROJECT.UDT");
  // An entry after it: nothing changes; the new last entry becomes current.
  EXPECT_EQ(removeUserEntry(*config, 2), 1);
  EXPECT_EQ(chosenFile(*config), "C:\\Dicts\\PROJECT.UDT");
  // The chosen one itself: no choice until the refresh, which finds no
  // other selected ".udt" (words.dic cannot receive words).
  EXPECT_EQ(removeUserEntry(*config, 1), 0);
  EXPECT_EQ(config->UserIndex(), -1);
  EXPECT_EQ(refreshAddWordsTo(*config), -1);
  EXPECT_EQ(config->UserIndex(), -1);
  EXPECT_EQ(removeUserEntry(*config, 0), -1);
  EXPECT_TRUE(config->UserEntries().empty());
  EXPECT_EQ(removeUserEntry(*config, 0), 0); // nothing to remove
}

TEST(ConfigLists, AddWordsToListsSelectedUdtFilesOnly) {
  auto config = fourUsers();
  EXPECT_EQ(addWordsToEntries(*config), (std::vector<int>{0, 2}));
  EXPECT_EQ(refreshAddWordsTo(*config), 1); // the choice is still listed
  EXPECT_EQ(config->UserIndex(), 2);
  // Deselecting the chosen dictionary moves the choice to the first listed.
  config->UserEntries()[2].Selected = false;
  EXPECT_EQ(refreshAddWordsTo(*config), 0);
  EXPECT_EQ(config->UserIndex(), 0);
  // An out-of-range choice is replaced as well.
  config->SetUserIndex(17);
  EXPECT_EQ(refreshAddWordsTo(*config), 0);
  EXPECT_EQ(config->UserIndex(), 0);
}

TEST(ConfigLists, MainEntriesMoveAndRemove) {
  auto config = emptyConfig();
  TMain english, medical;
  english.FileName = "C:\\Dicts\\english.dct";
  medical.FileName = "C:\\Dicts\\medical.dct";
  config->MainEntries() = {english, medical};
  EXPECT_EQ(moveMainEntry(*config, 1, -1), 0);
  EXPECT_EQ(config->MainEntries()[0].FileName, "C:\\Dicts\\medical.dct");
  EXPECT_EQ(moveMainEntry(*config, 5, 1), 5);
  EXPECT_EQ(removeMainEntry(*config, 1), 0);
  EXPECT_EQ(config->MainEntries().size(), 1u);
}

TEST(ConfigLists, DisplayNamesDropTheFolder) {
  EXPECT_EQ(dictionaryDisplayName("C:\\Program Files\\App\\Default.UDT"), "default.udt");
  EXPECT_EQ(dictionaryDisplayName("Z:/tmp/My.dic"), "my.dic");
  EXPECT_EQ(dictionaryDisplayName("D:plain.udt"), "plain.udt");
  EXPECT_EQ(dictionaryDisplayName("bare.udt"), "bare.udt");
}

} // namespace
