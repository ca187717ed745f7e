# Runs `kestrovale-cli print` on the sample collection: a sheet and a report
# as PDF, a bad argument refused with the usage exit code.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
foreach(kind diagrams report)
  execute_process(COMMAND "${CLI}" print --format pdf --kind ${kind} "${SAMPLE}" "${OUT}/${kind}.pdf"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "print ${kind} failed (${rc}): ${err}")
  endif()
  file(READ "${OUT}/${kind}.pdf" head LIMIT 5)
  if(NOT head MATCHES "^%PDF-")
    message(FATAL_ERROR "${kind}.pdf is not a PDF file")
  endif()
endforeach()
execute_process(COMMAND "${CLI}" print --format pdf --kind sheets "${SAMPLE}" "${OUT}/x.pdf"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "an unknown kind gave exit code ${rc}, not 2")
endif()
if(EXISTS "${OUT}/x.pdf")
  message(FATAL_ERROR "a refused command wrote a file")
endif()
