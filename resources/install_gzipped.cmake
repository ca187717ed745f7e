# Installs one file compressed with gzip -9n (as Debian wants man pages and
# changelogs), with @KV_INSTALL_DATADIR@ replaced by the data folder of the
# prefix it is installed under: cpack installs under /usr whatever prefix the
# build was configured with, so the path can only be known now. Run from
# install(CODE) with KV_SOURCE (the file as built), KV_DESTINATION (a folder
# below the prefix), KV_NAME (the installed name), KV_DATADIR (the data
# folder below the prefix) and KV_WORK (a scratch folder of the build).
cmake_minimum_required(VERSION 3.25)
if(NOT EXISTS "${KV_SOURCE}")
  message(FATAL_ERROR "${KV_SOURCE} is missing: build the project before installing it")
endif()
if(IS_ABSOLUTE "${KV_DATADIR}")
  set(datadir "${KV_DATADIR}")
else()
  set(datadir "${CMAKE_INSTALL_PREFIX}/${KV_DATADIR}")
endif()
file(READ "${KV_SOURCE}" text)
string(REPLACE "@KV_INSTALL_DATADIR@" "${datadir}" text "${text}")
file(MAKE_DIRECTORY "${KV_WORK}")
file(WRITE "${KV_WORK}/${KV_NAME}" "${text}")
find_program(KV_GZIP gzip REQUIRED)
execute_process(COMMAND "${KV_GZIP}" -9nf "${KV_WORK}/${KV_NAME}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip ${KV_WORK}/${KV_NAME} failed (${status})")
endif()
file(INSTALL "${KV_WORK}/${KV_NAME}.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${KV_DESTINATION}")
