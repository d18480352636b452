# Runs `brix banner` with arguments that cannot make a banner and checks the
# refusal: exit code 2, a message on standard error, and no picture written.
file(REMOVE ${OUT})
separate_arguments(arguments UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${BRIX} banner ${arguments} --out ${OUT}
  RESULT_VARIABLE code OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT code EQUAL 2)
  message(FATAL_ERROR "expected exit code 2, got ${code}\nstdout: ${output}\nstderr: ${errors}")
endif()
if(errors STREQUAL "")
  message(FATAL_ERROR "the refusal printed no message")
endif()
if(EXISTS ${OUT})
  message(FATAL_ERROR "a picture was written although the options were refused: ${OUT}")
endif()
message(STATUS "refused as expected: ${errors}")
