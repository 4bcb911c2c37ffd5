# com_idl(<target> <file.idl> [IMPORTS <idl targets...>])
# Runs widl on one IDL file for the tree's architecture and makes <target>, a
# static library of the interface identifiers whose users see the generated
# header. The type library lands beside the header; its path is the target's
# IDL_TLB property and its folder IDL_DIR. IMPORTS names earlier com_idl
# targets whose IDL and type libraries this one imports.
function(com_idl target idl)
  cmake_parse_arguments(I "" "" "IMPORTS" ${ARGN})
  get_filename_component(base ${idl} NAME_WE)
  get_filename_component(idlPath ${idl} ABSOLUTE)
  get_filename_component(idlDir ${idlPath} DIRECTORY)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/idl)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(widl x86_64-w64-mingw32-widl)
    set(arch --win64)
    set(stdole /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  else()
    set(widl i686-w64-mingw32-widl)
    set(arch --win32)
    set(stdole /usr/lib/i386-linux-gnu/wine/i386-windows)
    # Without 32-bit Wine installed, the 64-bit stdole2.tlb serves as well:
    # widl only reads the standard type names and GUIDs from it.
    if(NOT EXISTS ${stdole}/stdole2.tlb)
      set(stdole /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
    endif()
  endif()
  set(flags ${arch} -I/usr/include/wine/wine/windows -I${idlDir} -L${stdole})
  set(deps ${idlPath})
  foreach(imported IN LISTS I_IMPORTS)
    get_target_property(importedDir ${imported} IDL_DIR)
    get_target_property(importedSource ${imported} IDL_SOURCE_DIR)
    get_target_property(importedTlb ${imported} IDL_TLB)
    list(APPEND flags -I${importedSource} -L${importedDir})
    list(APPEND deps ${importedTlb} ${imported})
  endforeach()
  add_custom_command(
    OUTPUT ${out}/${base}.h ${out}/${base}_i.c ${out}/${base}.tlb
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND ${widl} ${flags} -h -H ${out}/${base}.h -u -U ${out}/${base}_i.c
            -t -T ${out}/${base}.tlb ${idlPath}
    DEPENDS ${deps}
    COMMENT "widl ${base}.idl")
  add_library(${target} STATIC ${out}/${base}_i.c ${out}/${base}.h)
  target_include_directories(${target} PUBLIC ${out})
  set_target_properties(${target} PROPERTIES
    IDL_DIR ${out} IDL_SOURCE_DIR ${idlDir} IDL_TLB ${out}/${base}.tlb)
  foreach(imported IN LISTS I_IMPORTS)
    target_link_libraries(${target} PUBLIC ${imported})
  endforeach()
endfunction()

# com_server(<target>): settings every in-process server DLL shares. The .def
# file names the four exports plainly; in the 32-bit build the compiler
# decorates them as stdcall (DllGetClassObject@12), and the fixup links the
# plain names to them without a warning per export.
function(com_server target)
  set_target_properties(${target} PROPERTIES PREFIX "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
endfunction()
