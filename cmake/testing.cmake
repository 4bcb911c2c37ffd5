# Test registration shared by both builds.
#
# add_unit_test(<name> SOURCES <files...> [LIBS <targets...>] [WINDOWS_ONLY])
#   Native build: one ctest entry per GoogleTest case, discovered when the
#   tests run.  Windows build: one ctest entry per executable, run under Wine
#   through the cross-compiling emulator and tied to the wineserver fixture
#   (one Wine start per executable instead of one per case).
include(GoogleTest)

function(add_unit_test name)
  cmake_parse_arguments(T "WINDOWS_ONLY" "" "SOURCES;LIBS" ${ARGN})
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  # Every test is built on the shared test helpers (testing/).
  target_link_libraries(${name} PRIVATE ${T_LIBS} testing-support GTest::gmock GTest::gtest_main)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES
      FIXTURES_REQUIRED wine
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      ENVIRONMENT "TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR};TEST_BINARY_DIR=${CMAKE_CURRENT_BINARY_DIR}")
  else()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      PROPERTIES ENVIRONMENT "TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR};TEST_BINARY_DIR=${CMAKE_CURRENT_BINARY_DIR}")
  endif()
endfunction()
