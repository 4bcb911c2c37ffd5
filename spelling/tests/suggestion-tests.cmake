# Suggestions: the edit methods of a main dictionary, re-casing, the
# whole-lexicon search with its yields, and the English dictionary judged
# beside hunspell.
add_unit_test(suggestion-tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/suggestion-methods-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/suggestion-search-test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/suggestion-english-test.cpp
  LIBS spelling-core dct-build testing-support)
target_compile_definitions(suggestion-tests PRIVATE
  ENGLISH_DCT="${ENGLISH_DCT}" ENGLISH_WORDS="${ENGLISH_WORDS}")
add_dependencies(suggestion-tests english-dictionary)

# The suggestion benchmark's program (scripts/bench-spelling.sh).
if(NOT CMAKE_CROSSCOMPILING)
  add_executable(suggestion-bench ${CMAKE_CURRENT_LIST_DIR}/suggestion-bench.cpp)
  target_link_libraries(suggestion-bench PRIVATE spelling-core)
endif()
