# The spelling component: whole checks through a scripted dialog over the
# string and buffer parsers, the word tests, re-entry during yields and the
# background search, and a book checked with the English dictionary.
add_unit_test(check-loop-tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/check-loop-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/verba-spell-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/check-reentry-test.cpp
  LIBS spelling-core dct-build testing-support)

add_unit_test(book-check-tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/book-check-test.cpp
  LIBS spelling-core dct-build testing-support)
target_compile_definitions(book-check-tests PRIVATE
  ENGLISH_DCT="${ENGLISH_DCT}" ENGLISH_WORDS="${ENGLISH_WORDS}")
add_dependencies(book-check-tests english-dictionary)
