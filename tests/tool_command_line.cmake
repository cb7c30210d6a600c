# Runs a tool with --help and with an unknown option, in an empty folder:
# the help goes to stdout with status 0; the unknown option gets its name and
# the usage line on stderr, nothing on stdout, and status 2. Neither run may
# write a file.
# Usage: cmake -DTOOL=<program> -DFOLDER=<scratch folder> -P tool_command_line.cmake
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})

execute_process(COMMAND ${TOOL} --help WORKING_DIRECTORY ${FOLDER}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "^Usage: [^\n]*\n" OR NOT out MATCHES "--help")
  message(FATAL_ERROR "--help: status ${status}\nstdout: ${out}\nstderr: ${err}")
endif()

execute_process(COMMAND ${TOOL} --bogus WORKING_DIRECTORY ${FOLDER}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "bogus" OR NOT err MATCHES "\nUsage: ")
  message(FATAL_ERROR "--bogus: status ${status}\nstdout: ${out}\nstderr: ${err}")
endif()

file(GLOB written ${FOLDER}/*)
if(written)
  message(FATAL_ERROR "files written: ${written}")
endif()
