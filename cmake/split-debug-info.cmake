# The shipped binaries carry no debug information. After each link it goes
# to <binary>.debug beside the binary, which names that file in its debug
# link (.gnu_debuglink) so that gdb and addr2line still find it. The symbol
# table stays: the allocation-failure test finds the runtime's call sites
# in Pixtune.dll by it.
#   i686-w64-mingw32-addr2line -f -e clipboard-checker/Lexitray.exe <address>
function(split_debug_info)
  if(NOT WIN32)
    return()
  endif()
  foreach(target IN LISTS ARGN)
    set(binary $<TARGET_FILE:${target}>)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${binary} ${binary}.debug
      COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${binary}.debug ${binary}
      VERBATIM)
  endforeach()
endfunction()
