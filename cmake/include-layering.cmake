# A target includes only what it links.
#
# Sources include headers by their path from the source root
# ("platform/base/win32/handle.h"), but no target sees the whole root. Once
# every folder has been read, each target of the tree gets one include
# directory per source folder it may use: the folders of its own sources and
# those of every target it links, directly or through other targets. Each such
# directory, <build>/include-of/<folder-id>/, holds only a link
# <folder path> -> the source folder, so that the root-relative paths stay
# valid while the folders of unlinked targets stay out of reach.
#
# A new target needs nothing for this: it sees its own folder, and another
# folder's headers once it links a target built from that folder. A target
# given the source root itself (${PROJECT_SOURCE_DIR}) as an include
# directory fails the configuration: it would see every folder.
# Generated headers (widl output and the like, in build folders) are left to
# the include directories their targets set.

# Every target defined in <dir> and the folders below it.
function(_layering_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _layering_targets_below(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# <path> relative to the source root when it is a source folder (not the root
# itself, not a build tree inside it, not outside it); empty otherwise.
function(_layering_source_folder path out)
  set(${out} "" PARENT_SCOPE)
  string(FIND "${path}/" "${CMAKE_BINARY_DIR}/" inBuild)
  string(FIND "${path}/" "${PROJECT_SOURCE_DIR}/" inSource)
  if(inBuild EQUAL 0 OR NOT inSource EQUAL 0 OR path STREQUAL PROJECT_SOURCE_DIR)
    return()
  endif()
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${path})
  if(rel MATCHES "^build(/|$)")
    return()
  endif()
  set(${out} ${rel} PARENT_SCOPE)
endfunction()

# The source folders of <target>'s own sources; the folder that defines it
# when it lists none (an interface library of headers).
function(_layering_own_folders target out)
  get_target_property(sources ${target} SOURCES)
  get_target_property(sourceDir ${target} SOURCE_DIR)
  set(folders "")
  foreach(source IN LISTS sources)
    if(source MATCHES "^\\$<" OR source STREQUAL "sources-NOTFOUND")
      continue()
    endif()
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${sourceDir})
    get_filename_component(dir ${path} DIRECTORY)
    _layering_source_folder(${dir} folder)
    if(folder)
      list(APPEND folders ${folder})
    endif()
  endforeach()
  if(NOT folders)
    _layering_source_folder(${sourceDir} folders)
  endif()
  list(REMOVE_DUPLICATES folders)
  set(${out} ${folders} PARENT_SCOPE)
endfunction()

# <target> and every target of the tree it links, directly or not.
function(_layering_linked_targets target out)
  set(seen ${target})
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    get_target_property(direct ${current} LINK_LIBRARIES)
    get_target_property(usage ${current} INTERFACE_LINK_LIBRARIES)
    foreach(item IN LISTS direct usage)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
      if(item MATCHES "^::@" OR item MATCHES "^\\$<" OR NOT TARGET "${item}")
        continue()
      endif()
      get_target_property(aliased ${item} ALIASED_TARGET)
      if(aliased)
        set(item ${aliased})
      endif()
      get_target_property(imported ${item} IMPORTED)
      if(imported OR item IN_LIST seen)
        continue()
      endif()
      list(APPEND seen ${item})
      list(APPEND queue ${item})
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# The include directory that shows <folder> and nothing else.
function(_layering_folder_root folder out)
  string(REPLACE "/" "+" id ${folder})
  set(root ${CMAKE_BINARY_DIR}/include-of/${id})
  if(NOT IS_SYMLINK ${root}/${folder})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

function(_layering_refuse_source_root target property)
  get_target_property(dirs ${target} ${property})
  if(dirs AND (PROJECT_SOURCE_DIR IN_LIST dirs OR "${PROJECT_SOURCE_DIR}/" IN_LIST dirs))
    message(SEND_ERROR "${target} includes the whole source root (${property}): "
                       "link the targets whose headers it uses instead")
  endif()
endfunction()

function(give_targets_their_includes)
  _layering_targets_below(${PROJECT_SOURCE_DIR} targets)
  # The folders of each target, read once.
  foreach(target IN LISTS targets)
    _layering_own_folders(${target} folders)
    set(folders_of_${target} ${folders})
  endforeach()
  foreach(target IN LISTS targets)
    get_target_property(sourceDir ${target} SOURCE_DIR)
    _layering_source_folder(${sourceDir} inTree)
    if(NOT inTree)
      continue() # GoogleTest's sources and the like keep their own settings
    endif()
    _layering_refuse_source_root(${target} INTERFACE_INCLUDE_DIRECTORIES)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
      continue()
    endif()
    _layering_refuse_source_root(${target} INCLUDE_DIRECTORIES)
    _layering_linked_targets(${target} linked)
    set(roots "")
    foreach(used IN LISTS linked)
      foreach(folder IN LISTS folders_of_${used})
        _layering_folder_root(${folder} root)
        list(APPEND roots ${root})
      endforeach()
    endforeach()
    list(REMOVE_DUPLICATES roots)
    if(roots)
      set_property(TARGET ${target} APPEND PROPERTY INCLUDE_DIRECTORIES ${roots})
    endif()
  endforeach()
endfunction()

cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL give_targets_their_includes)
