# Word parsers: the walk over buffers and strings, replacement and undo, a
# fuzz run over random text, a book's words beside a plain tokeniser, the
# walk over lines and the ignored prefixes and suffixes.
add_unit_test(parser-tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/parser-walk-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parser-undo-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parser-fuzz-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parser-lines-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parser-affixes-test.cpp
  LIBS spelling-core testing-support)
