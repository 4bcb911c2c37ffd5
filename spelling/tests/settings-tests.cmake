# User dictionaries, tries, numbered INI lists, the configuration file and
# the language tables.
add_unit_test(spelling-settings-tests
  SOURCES settings-tests.cpp trie-tests.cpp user-dictionary-tests.cpp
          configuration-tests.cpp languages-tests.cpp
          unicode-lists-test.cpp
  LIBS spelling-core testing-support)

# The golden settings files checked against the platform's profile functions.
add_unit_test(spelling-settings-profile-tests
  SOURCES settings-profile-tests.cpp
  LIBS spelling-core testing-support
  WINDOWS_ONLY)
