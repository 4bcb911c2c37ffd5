# Main dictionaries: the ".dct" reader and lookup, the builder, the shipped
# English dictionary, damaged files and a bounded fuzz run.
add_unit_test(dictionary-tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/dictionary-format-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dictionary-damage-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dictionary-builder-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dictionary-english-test.cpp
  LIBS spelling-core dct-build testing-support)
target_compile_definitions(dictionary-tests PRIVATE
  ENGLISH_DCT="${ENGLISH_DCT}" ENGLISH_WORDS="${ENGLISH_WORDS}")
add_dependencies(dictionary-tests english-dictionary)

# The shipped dictionary and the builder's command line, judged by iconv
# and grep -Fx on the system word list.
if(NOT CMAKE_CROSSCOMPILING)
  add_test(NAME dct-grep-check
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/dct-grep-check.sh
            $<TARGET_FILE:dct-builder> $<TARGET_FILE:dct-spell>
            ${ENGLISH_DCT} ${ENGLISH_WORDS} ${CMAKE_CURRENT_BINARY_DIR}/scratch-grep-check)
endif()
