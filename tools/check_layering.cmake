# Checks the direction of use between the folders at the level of #include:
# every target sees the whole source tree as its include path, so the
# linker alone would let a file of a lower folder include a header of a
# higher one as long as it only used inline code. Run as
#   cmake -DSOURCE_DIR=<source tree> -P tools/check_layering.cmake
# Fails, naming each offending file and line, when a file includes a header
# of a folder its target may not use.
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

# Which folders the files of each folder may include, itself included.
# A test folder may include what its test target links, and the helpers of
# the test folders of those libraries.
set(uses_strings strings)
set(uses_config config)
set(uses_core core strings)
set(uses_solver solver core strings)
set(uses_collections collections solver core strings)
set(uses_cli cli collections solver core strings config)
set(uses_print print collections solver core strings config)
set(uses_app app print collections solver core strings config)
set(uses_bench bench collections solver core strings)
set(uses_tests/fuzz tests/fuzz cli collections solver core strings config)
set(uses_tests/cli tests/cli cli collections solver core strings config)
set(uses_tests/print tests/print print collections solver core strings config)
set(uses_tests/app tests/app app print collections solver core strings config)
set(layers strings config core solver collections cli print app bench)
foreach(layer strings config core solver collections)
  set(uses_tests/${layer} tests/${layer})
  foreach(used ${uses_${layer}})
    list(APPEND uses_tests/${layer} ${used} tests/${used})
  endforeach()
  list(APPEND layers tests/${layer})
endforeach()
list(APPEND layers tests/fuzz tests/cli tests/print tests/app)
# tests/common holds what every test folder may use (standard library only).
set(uses_tests/common tests/common)
foreach(layer ${layers})
  if(layer MATCHES "^tests/")
    list(APPEND uses_${layer} tests/common)
  endif()
endforeach()
list(APPEND layers tests/common)

# The folder of the tree that a path inside it belongs to: tests/X for the
# test folders, else the first component; empty for anything else.
function(folder_of relative result)
  set(${result} "" PARENT_SCOPE)
  if(relative MATCHES "^tests/([^/]+)/")
    set(${result} "tests/${CMAKE_MATCH_1}" PARENT_SCOPE)
  elseif(relative MATCHES "^([^/]+)/")
    set(${result} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  endif()
endfunction()

set(known_folders strings config core solver collections cli print app bench tests)
set(violations 0)
foreach(layer ${layers})
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.hpp"
       "${SOURCE_DIR}/${layer}/*.cpp" "${SOURCE_DIR}/${layer}/*.cc")
  foreach(file ${files})
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    file(RELATIVE_PATH file_relative "${SOURCE_DIR}" "${file}")
    get_filename_component(file_dir "${file}" DIRECTORY)
    foreach(line ${lines})
      if(NOT line MATCHES "include[ \t]*[\"<]([^\">]+)[\">]")
        continue()
      endif()
      set(header "${CMAKE_MATCH_1}")
      # A header named relative to the file (../core/x.h) is resolved first.
      if(header MATCHES "^\\.")
        get_filename_component(resolved "${file_dir}/${header}" ABSOLUTE)
        file(RELATIVE_PATH header "${SOURCE_DIR}" "${resolved}")
      endif()
      if(NOT header MATCHES "^([^/]+)/")
        continue()  # a header of the same folder or of a library outside the tree
      endif()
      if(NOT CMAKE_MATCH_1 IN_LIST known_folders)
        continue()
      endif()
      folder_of("${header}" used)
      if(NOT used IN_LIST uses_${layer})
        message(SEND_ERROR "${file_relative}: ${layer} may not include ${header} (${used})")
        math(EXPR violations "${violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) against the direction of use")
endif()
message(STATUS "layering: every include follows the direction of use")
