# Read by CTest before it runs anything: one test per GoogleTest suite of the unit test binary,
# each running its suite's cases in one process (gtest names a failing case in the output).
# The suite list is asked of the binary and kept beside it until the binary changes.
# Expects: KELVARINE_UNIT_BINARY, KELVARINE_UNIT_LIST, KELVARINE_UNIT_TIMEOUT, KELVARINE_CMAKE,
# KELVARINE_UNIT_LABEL, KELVARINE_UNIT_ENVIRONMENT.

if(NOT EXISTS "${KELVARINE_UNIT_BINARY}")
    add_test(unit_tests_NOT_BUILT "${KELVARINE_UNIT_BINARY}")
    return()
endif()

if(NOT EXISTS "${KELVARINE_UNIT_LIST}" OR
   "${KELVARINE_UNIT_BINARY}" IS_NEWER_THAN "${KELVARINE_UNIT_LIST}")
    execute_process(
        COMMAND "${KELVARINE_CMAKE}" -E env ${KELVARINE_UNIT_ENVIRONMENT}
                "${KELVARINE_UNIT_BINARY}" --gtest_list_tests
        OUTPUT_VARIABLE listing
        ERROR_VARIABLE errors
        RESULT_VARIABLE status
        TIMEOUT 60)
    if(NOT status EQUAL 0)
        message(WARNING "${KELVARINE_UNIT_BINARY} --gtest_list_tests failed: ${status}\n${errors}")
        add_test(unit_tests_LIST_FAILED "${KELVARINE_UNIT_BINARY}" --gtest_list_tests)
        return()
    endif()
    # Suites start in the first column ("Suite." or "Prefix/Suite.  # TypeParam = ..."); their
    # cases are indented.
    string(REPLACE ";" "\\;" listing "${listing}")
    string(REPLACE "\n" ";" lines "${listing}")
    set(suites "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^([^ #][^ ]*)\\.")
            list(APPEND suites "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    file(WRITE "${KELVARINE_UNIT_LIST}" "${suites}")
endif()

file(READ "${KELVARINE_UNIT_LIST}" suites)
foreach(suite IN LISTS suites)
    add_test("${suite}" "${KELVARINE_UNIT_BINARY}" "--gtest_filter=${suite}.*")
    set_tests_properties("${suite}" PROPERTIES
        ENVIRONMENT "${KELVARINE_UNIT_ENVIRONMENT}"
        LABELS ${KELVARINE_UNIT_LABEL}
        TIMEOUT ${KELVARINE_UNIT_TIMEOUT})
endforeach()
