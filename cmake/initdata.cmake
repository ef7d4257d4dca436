# Creates DIR/data.dat with kesp-initdb unless it is already there:
# an existing database holds the operator's data and is never replaced.
if(NOT EXISTS "${DIR}/data.dat")
    execute_process(COMMAND "${INITDB}" "${DIR}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "kesp-initdb failed")
    endif()
endif()
