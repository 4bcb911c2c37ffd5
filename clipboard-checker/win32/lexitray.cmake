# Lexitray.exe: the main form with its check road, the about box and the
# main block, over the shell above and the spelling engine with its
# dialogs. The shipped English dictionary is copied beside the program,
# where the program looks for its dictionaries and "VERBA.CFG".
set(lexitray_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(lexitray-shell STATIC
  ${lexitray_dir}/main-form.cpp
  ${lexitray_dir}/check-road.cpp
  ${lexitray_dir}/clipboard-text.cpp
  ${lexitray_dir}/about-box.cpp
  ${lexitray_dir}/lexitray-icon.cpp)
target_link_libraries(lexitray-shell PUBLIC clipboard-checker-win32 spelling-dialogs spelling-win32 shell32)

add_executable(Lexitray WIN32 ${lexitray_dir}/lexitray-main.cpp)
target_link_libraries(Lexitray PRIVATE lexitray-shell lexitray-strings property-pictures)
set_target_properties(Lexitray PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/clipboard-checker)
split_debug_info(Lexitray)
add_dependencies(Lexitray english-dictionary)
add_custom_command(TARGET Lexitray POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ENGLISH_DCT} $<TARGET_FILE_DIR:Lexitray>/American.dct
  VERBATIM)
