# Runs "tallivo_bench --report INPUT" and compares what it prints with EXPECTED.
execute_process(COMMAND ${BENCH} --report ${INPUT}
    OUTPUT_VARIABLE printed RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "tallivo_bench --report exited with ${status}")
endif()
file(READ ${EXPECTED} expected)
if(NOT printed STREQUAL expected)
    message(FATAL_ERROR "report differs:\n${printed}\nexpected:\n${expected}")
endif()
# A missing file is refused with a message and exit code 1.
execute_process(COMMAND ${BENCH} --report ${INPUT}.missing
    OUTPUT_VARIABLE printed ERROR_VARIABLE complaint RESULT_VARIABLE status)
if(NOT status EQUAL 1 OR NOT printed STREQUAL "" OR complaint STREQUAL "")
    message(FATAL_ERROR "a missing file gave exit ${status}, output '${printed}', error '${complaint}'")
endif()
