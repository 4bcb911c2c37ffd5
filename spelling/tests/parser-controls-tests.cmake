# The word parsers over real controls, under Wine: edit, memo, rich edit
# and any edit window.
if(TARGET spelling-win32)
  add_unit_test(parser-controls-tests WINDOWS_ONLY
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/parser-controls-test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/parser-edit-window-test.cpp
    LIBS spelling-win32 testing-support)
endif()
