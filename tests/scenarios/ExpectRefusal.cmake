# Plays an invalid scenario and checks that the tool refused it: exit code 2,
# a message on standard error, and nothing run (no trace written).
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${BRIX} run ${SCENARIO} --out ${OUT}
  RESULT_VARIABLE code OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT code EQUAL 2)
  message(FATAL_ERROR "expected exit code 2, got ${code}\nstdout: ${output}\nstderr: ${errors}")
endif()
if(errors STREQUAL "")
  message(FATAL_ERROR "the refusal printed no message")
endif()
if(EXISTS ${OUT}/trace.jsonl)
  message(FATAL_ERROR "the refused scenario was run: ${OUT}/trace.jsonl exists")
endif()
message(STATUS "refused as expected: ${errors}")
