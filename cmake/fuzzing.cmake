# Coverage-guided fuzzing with clang's libFuzzer, in a tree of its own
# (scripts/fuzz-coverage.sh configures it with clang and -DFUZZING=ON).
# Every library of the tree is instrumented for coverage; each harness
# <area>/tests/fuzz/<name>.cpp links libFuzzer's main and starts from the
# inputs in <area>/tests/fuzz/seeds/<name>/. The tree lists its harnesses in
# <tree>/fuzzers.txt (name, program, seed folder; one a line) for the script.
option(FUZZING "Build the libFuzzer harnesses (clang only) rather than the tests" OFF)

if(FUZZING)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "FUZZING needs clang (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
  add_custom_target(fuzzers)
endif()

# add_fuzzer(<name> LIBS <targets...>): the harness <name>.cpp of this folder.
function(add_fuzzer name)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  add_executable(${name} ${name}.cpp)
  target_link_libraries(${name} PRIVATE ${F_LIBS} testing-support)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${name})
  set_property(GLOBAL APPEND_STRING PROPERTY FUZZER_LISTING
    "${name}\t$<TARGET_FILE:${name}>\t${CMAKE_CURRENT_SOURCE_DIR}/seeds/${name}\n")
endfunction()

# The harness folders of the parts this tree builds (after the parts, whose
# libraries the harnesses link).
function(add_fuzzer_folders)
  if(NOT FUZZING)
    return()
  endif()
  foreach(part IN LISTS ARGN)
    if(BUILD_PARTS AND NOT part IN_LIST BUILD_PARTS)
      continue()
    endif()
    if(EXISTS ${PROJECT_SOURCE_DIR}/${part}/tests/fuzz/CMakeLists.txt)
      add_subdirectory(${PROJECT_SOURCE_DIR}/${part}/tests/fuzz ${CMAKE_BINARY_DIR}/${part}/tests/fuzz)
    endif()
  endforeach()
  get_property(listing GLOBAL PROPERTY FUZZER_LISTING)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzzers.txt CONTENT "${listing}")
endfunction()
