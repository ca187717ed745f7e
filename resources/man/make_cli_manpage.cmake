# Writes the man page of kestrovale-cli from the program's own help, at build
# time, so that the page follows the program without being edited by hand:
# help2man turns `kestrovale-cli --help` (the list of subcommands) into the
# page, the text of man/kestrovale-cli.h2m is added, and every subcommand
# gets a section with its own help (`kestrovale-cli NAME --help`); a
# subcommand whose help does not start with its usage fails the build.
#   cmake -DHELP2MAN=help2man -DCLI=kestrovale-cli -DINCLUDE=kestrovale-cli.h2m
#         -DVERSION=0.1 -DWORK=folder -DOUTPUT=kestrovale-cli.1 -P make_cli_manpage.cmake
cmake_minimum_required(VERSION 3.25)
foreach(required HELP2MAN CLI INCLUDE VERSION WORK OUTPUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "make_cli_manpage: ${required} is not set")
  endif()
endforeach()

execute_process(COMMAND "${CLI}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "make_cli_manpage: '${CLI} --help' failed (${status})")
endif()

# Preformatted roff: backslashes and minus signs escaped, and a line that
# starts with a dot or a quote kept from being read as a request.
function(as_roff text result)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

# A subcommand is run with its --help in a scratch folder, with no input and
# a time limit, so that one that does not know the option can neither wait
# nor leave a file behind.
file(MAKE_DIRECTORY "${WORK}")
set(details "")
string(REGEX MATCHALL "\n  [a-z0-9][a-z0-9-]*" names "${help}")
foreach(name ${names})
  string(STRIP "${name}" name)
  execute_process(COMMAND "${CLI}" ${name} --help WORKING_DIRECTORY "${WORK}" TIMEOUT 10
                  INPUT_FILE /dev/null OUTPUT_VARIABLE text ERROR_QUIET RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT text MATCHES "^usage: ")
    message(FATAL_ERROR "make_cli_manpage: '${CLI} ${name} --help' gives no usage (${status})")
  endif()
  as_roff("${text}" text)
  string(APPEND details ".SS ${name}\n.nf\n${text}.fi\n")
endforeach()

file(READ "${INCLUDE}" include)
if(NOT details STREQUAL "")
  string(APPEND include "\n[COMMAND HELP]\n${details}")
endif()
get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
set(generated_include "${output_dir}/kestrovale-cli.generated.h2m")
file(WRITE "${generated_include}" "${include}")

execute_process(
  COMMAND "${HELP2MAN}" --no-info --version-string=${VERSION}
          "--name=solve, check, import, export, search and print chess problems"
          --include=${generated_include} --output=${OUTPUT} "${CLI}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "make_cli_manpage: help2man failed (${status})")
endif()
