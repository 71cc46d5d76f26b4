# find_package(Pagefold): the program Pagefold::pagefold-cli and
#
#   pagefold_add_site(<target> SOURCE_DIR <folder> [START <page>] [GROUP <type>]
#                     [KEEP_ALL] [FOLLOW_LINKS] [OUTPUT <file.res>])
#
# which packs the folder into a .res at build time and links it into the
# target. START names the start page (without it the generated file list is
# the start page); GROUP gives every file one resource type. OUTPUT defaults
# to <target>-site.res in the current binary folder. pagefold-cli writes a
# depfile of every file it read and folder it listed, so that a changed page
# or a file added to the folder packs again and nothing else does.
# MSVC and lld-link take the .res as it is; MinGW's ld gets it through
# windres -O coff.
include(${CMAKE_CURRENT_LIST_DIR}/PagefoldTargets.cmake)

function(pagefold_add_site target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "KEEP_ALL;FOLLOW_LINKS" "SOURCE_DIR;START;GROUP;OUTPUT" "")
  if(NOT arg_SOURCE_DIR)
    message(FATAL_ERROR "pagefold_add_site(${target}): SOURCE_DIR is required")
  endif()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "pagefold_add_site(${target}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  get_filename_component(source "${arg_SOURCE_DIR}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  if(NOT arg_OUTPUT)
    set(arg_OUTPUT ${target}-site.res)
  endif()
  get_filename_component(res "${arg_OUTPUT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  string(REGEX REPLACE "\\.[^./]*$" "" stem "${res}")
  get_filename_component(res_dir "${res}" DIRECTORY)

  set(options --depfile ${res}.d)
  if(arg_START)
    list(APPEND options --start ${arg_START})
  else()
    list(APPEND options --yes)
  endif()
  if(arg_GROUP)
    list(APPEND options --group ${arg_GROUP})
  endif()
  if(arg_KEEP_ALL)
    list(APPEND options --keep-all)
  endif()
  if(arg_FOLLOW_LINKS)
    list(APPEND options --follow-links)
  endif()
  add_custom_command(
    OUTPUT ${res}
    BYPRODUCTS ${stem}.rc
    COMMAND ${CMAKE_COMMAND} -E make_directory ${res_dir}
    COMMAND Pagefold::pagefold-cli ${options} ${source} ${res}
    DEPENDS Pagefold::pagefold-cli
    DEPFILE ${res}.d
    COMMENT "Packing ${arg_SOURCE_DIR} into ${arg_OUTPUT}"
    VERBATIM)

  set(linked ${res})
  if(MINGW)
    if(NOT CMAKE_RC_COMPILER)
      message(FATAL_ERROR "pagefold_add_site(${target}): MinGW links a .res through windres: set CMAKE_RC_COMPILER")
    endif()
    set(linked ${res}.o)
    add_custom_command(
      OUTPUT ${linked}
      COMMAND ${CMAKE_RC_COMPILER} -J res -O coff -i ${res} -o ${linked}
      DEPENDS ${res}
      VERBATIM)
  endif()
  set_source_files_properties(${linked} PROPERTIES EXTERNAL_OBJECT ON GENERATED ON)
  target_sources(${target} PRIVATE ${linked})
endfunction()
