# The file-name check against small trees: a tree that follows the rule
# passes, and each kind of misnamed file fails the check with the file named
# in the message. Run as
#   cmake -DCHECK=<tools/check_file_names.cmake> -DWORK_DIR=<scratch> -P check_file_names_test.cmake
cmake_minimum_required(VERSION 3.25)

function(write_good_tree root)
  file(REMOVE_RECURSE "${root}")
  file(WRITE "${root}/app/CMakeLists.txt" "")
  file(WRITE "${root}/app/twins_dialog.h" "class TwinsDialog : public QDialog {\n};\n")
  file(WRITE "${root}/app/twins_dialog.cpp" "")
  file(WRITE "${root}/app/twins_logic.h" "")
  file(WRITE "${root}/app/choose_file.h" "")
  file(WRITE "${root}/app/choose_file_logic.cpp" "")
  file(WRITE "${root}/app/main_window.h" "class MainWindow : public QMainWindow {\n};\n")
  file(WRITE "${root}/app/search_commands.cpp" "")
  file(WRITE "${root}/app/board_widget.h" "class BoardWidget : public QWidget {\n};\n")
  file(WRITE "${root}/print/print_preview_dialog.h"
       "class PreviewView : public QWidget {};\nclass PrintPreviewDialog\n    : public QDialog {};\n")
  file(WRITE "${root}/print/print_cli.cpp" "")
endfunction()

function(run_check root result output)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -P ${CHECK}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result} "${code}" PARENT_SCOPE)
  set(${output} "${out}${err}" PARENT_SCOPE)
endfunction()

set(root "${WORK_DIR}/tree")
write_good_tree("${root}")
run_check("${root}" code out)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "a tree that follows the rule was refused:\n${out}")
endif()

# Each case: the file added to the good tree, then its content.
set(cases
    "app/jumeaux_dlg.cpp|"
    "app/TwinsDialog.cpp|"
    "app/twins-editor.cpp|"
    "app/twins.hpp|"
    "print/print_cmd.cpp|"
    "app/liste_probleme.h|"
    "app/orphan_logic.cpp|"
    "app/about_dialog.h|class AboutBox : public QDialog {}"
    "app/help_window.h|struct HelpWindowState {}"
    "app/problem_view.h|class ProblemView : public QDialog {}"
    "print/print_frame.h|class PrintFrame\n    : public QMainWindow {}")
set(ran 0)
foreach(case ${cases})
  string(FIND "${case}" "|" bar)
  string(SUBSTRING "${case}" 0 ${bar} name)
  math(EXPR after "${bar} + 1")
  string(SUBSTRING "${case}" ${after} -1 content)
  string(REPLACE "\\n" "\n" content "${content}")
  write_good_tree("${root}")
  file(WRITE "${root}/${name}" "${content}")
  run_check("${root}" code out)
  if(code EQUAL 0)
    message(SEND_ERROR "${name} passed the check")
  elseif(NOT out MATCHES "${name}:")
    message(SEND_ERROR "${name} failed the check without being named:\n${out}")
  endif()
  math(EXPR ran "${ran} + 1")
endforeach()

# An empty tree is a wrong path, not a clean one.
file(REMOVE_RECURSE "${root}")
file(MAKE_DIRECTORY "${root}")
run_check("${root}" code out)
if(code EQUAL 0)
  message(SEND_ERROR "a tree without app/ or print/ passed the check")
endif()

if(NOT ran EQUAL 11)
  message(FATAL_ERROR "ran ${ran} misnamed cases, expected 11")
endif()
message(STATUS "file-name check: a clean tree passes, ${ran} misnamed files fail")
