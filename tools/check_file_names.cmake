# Checks the names of the files of the window program and of printing, so
# that a module is found by the English words of what the user sees and its
# suffix says what kind of module it is. Run as
#   cmake -DSOURCE_DIR=<source tree> -P tools/check_file_names.cmake
# Fails, naming each offending file, when a file of app/ or print/:
# - is not lower-case English words joined by underscores, ending in .h or
#   .cpp (CMakeLists.txt aside);
# - uses an abbreviation (dlg, cmd, wnd, proc) or a French word of the old
#   procedure names (jumeaux, forcage, rechercher ...);
# - is a NAME_dialog.h or NAME_window.h without the class it is named after
#   (twins_dialog.h declares TwinsDialog);
# - declares a QDialog or a QMainWindow outside a _dialog.h or _window.h;
# - is a NAME_logic file with no NAME_dialog.h, NAME_window.h or NAME.h
#   beside it, whose decisions it holds.
# DEVELOPERS.md states the same rule.
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

set(folders app print)
# Whole words of a file name that the rule refuses.
set(refused_words
    dlg cmd wnd proc
    jumeaux forcage rechercher recherche ouvrir liste probleme enregistrer sous tester coup
    affiche apropos informations)

# "twins_dialog" -> "TwinsDialog".
function(camel_case name result)
  string(REPLACE "_" ";" words "${name}")
  set(camel "")
  foreach(word ${words})
    string(SUBSTRING "${word}" 0 1 first)
    string(SUBSTRING "${word}" 1 -1 rest)
    string(TOUPPER "${first}" first)
    string(APPEND camel "${first}${rest}")
  endforeach()
  set(${result} "${camel}" PARENT_SCOPE)
endfunction()

set(violations 0)
macro(refuse file reason)
  message(SEND_ERROR "${file}: ${reason}")
  math(EXPR violations "${violations} + 1")
endmacro()

set(checked 0)
foreach(folder ${folders})
  file(GLOB entries RELATIVE "${SOURCE_DIR}/${folder}" "${SOURCE_DIR}/${folder}/*")
  foreach(entry ${entries})
    set(file "${folder}/${entry}")
    if(entry STREQUAL "CMakeLists.txt")
      continue()
    endif()
    math(EXPR checked "${checked} + 1")
    if(IS_DIRECTORY "${SOURCE_DIR}/${file}")
      refuse("${file}" "a folder inside ${folder}/ (its modules sit side by side)")
      continue()
    endif()
    if(NOT entry MATCHES "^([a-z][a-z0-9]*(_[a-z0-9]+)*)\\.(h|cpp)$")
      refuse("${file}" "not lower-case words joined by underscores with .h or .cpp")
      continue()
    endif()
    set(stem "${CMAKE_MATCH_1}")
    set(extension "${CMAKE_MATCH_3}")

    string(REPLACE "_" ";" words "${stem}")
    foreach(word ${words})
      if(word IN_LIST refused_words)
        refuse("${file}" "'${word}' is an abbreviation or an old French name; use the English words")
      endif()
    endforeach()

    if(stem MATCHES "^(.+)_logic$")
      set(owner "${CMAKE_MATCH_1}")
      if(NOT EXISTS "${SOURCE_DIR}/${folder}/${owner}_dialog.h"
         AND NOT EXISTS "${SOURCE_DIR}/${folder}/${owner}_window.h"
         AND NOT EXISTS "${SOURCE_DIR}/${folder}/${owner}.h")
        refuse("${file}" "no ${owner}_dialog.h, ${owner}_window.h or ${owner}.h whose decisions it holds")
      endif()
    endif()

    if(NOT extension STREQUAL "h")
      continue()
    endif()
    file(READ "${SOURCE_DIR}/${file}" text)
    if(stem MATCHES "_(dialog|window)$")
      camel_case("${stem}" class)
      if(NOT text MATCHES "(class|struct)[ \t\r\n]+${class}[ \t\r\n]*[:{]")
        refuse("${file}" "declares no class ${class}, which its name promises")
      endif()
    elseif(text MATCHES "class[ \t\r\n]+([A-Za-z0-9_]+)[ \t\r\n]*:[ \t\r\n]*public[ \t\r\n]+(QDialog|QMainWindow)")
      refuse("${file}" "declares the ${CMAKE_MATCH_2} ${CMAKE_MATCH_1}; name the file NAME_dialog.h or NAME_window.h")
    endif()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no file found under ${SOURCE_DIR}/app or ${SOURCE_DIR}/print")
endif()
if(violations GREATER 0)
  message(FATAL_ERROR "${violations} file name(s) outside the naming rule of DEVELOPERS.md")
endif()
message(STATUS "file names: the ${checked} files of app/ and print/ follow the naming rule")
