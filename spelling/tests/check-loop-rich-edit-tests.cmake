# The whole-check cases over a real rich edit, under Wine.
if(TARGET spelling-win32)
  add_unit_test(check-loop-rich-edit-tests WINDOWS_ONLY
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/check-loop-rich-edit-test.cpp
    LIBS spelling-win32 dct-build testing-support)
endif()
