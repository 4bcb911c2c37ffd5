# The spelling component: whole checks through a scripted dialog over the
# string and buffer parsers, the word tests, re-entry during yields and the
# background search, and a book checked with the English dictionary.
add_unit_test(check-loop-tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/check-loop-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/verba-spell-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/check-reentry-test.cpp
  LIBS spelling-core dct-build testing-support)
