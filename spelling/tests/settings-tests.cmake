# User dictionaries, tries, numbered INI lists, the configuration file and
# the language tables.
add_unit_test(spelling-settings-tests
  SOURCES settings-tests.cpp trie-tests.cpp user-dictionary-tests.cpp
          configuration-tests.cpp languages-tests.cpp
  LIBS spelling-core testing-support)
