# Lexitray.exe end to end: a test program drives the real program under
# Wine, in a prefix made fresh for the run (lexitray-e2e.sh). The clipboard
# is shared by every program on the display, and the program's windows
# take the activation, so the run is alone on it.
if(NOT TARGET Lexitray)
  return()
endif()
set(lexitray_tests_dir ${CMAKE_CURRENT_LIST_DIR})

# The code-page test of the clipboard's text.
add_unit_test(lexitray-shell-tests WINDOWS_ONLY
  SOURCES ${lexitray_tests_dir}/clipboard-text-test.cpp
  LIBS lexitray-shell)

add_executable(lexitray-e2e-tests
  ${lexitray_tests_dir}/lexitray-e2e-test.cpp
  ${lexitray_tests_dir}/lexitray-driver.cpp)
target_link_libraries(lexitray-e2e-tests PRIVATE platform-base testing-support GTest::gtest_main)
target_compile_definitions(lexitray-e2e-tests PRIVATE LEXITRAY_DIR="$<TARGET_FILE_DIR:Lexitray>")
add_dependencies(lexitray-e2e-tests Lexitray)
set(lexitray_prefix ${CMAKE_CURRENT_BINARY_DIR}/lexitray-prefix)
add_test(NAME clipboard-checker-lexitray
  COMMAND sh ${lexitray_tests_dir}/lexitray-e2e.sh ${PROJECT_SOURCE_DIR}/scripts/wine-exec.sh
          ${WINE_BITS} ${lexitray_prefix} $<TARGET_FILE:lexitray-e2e-tests>)
set_tests_properties(clipboard-checker-lexitray PROPERTIES
  RESOURCE_LOCK clipboard RUN_SERIAL TRUE TIMEOUT 600
  ENVIRONMENT "TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR};TEST_BINARY_DIR=${CMAKE_CURRENT_BINARY_DIR}")
