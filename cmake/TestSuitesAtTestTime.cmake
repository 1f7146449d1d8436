# Run by CTest through skx_add_test_suites: lists the program's test suites (once per build of
# the program) and adds a test for each.
if(NOT EXISTS "${SKX_SUITES_EXECUTABLE}")
  message(FATAL_ERROR "${SKX_SUITES_EXECUTABLE} is not built: build it before running the tests")
endif()

if(NOT EXISTS "${SKX_SUITES_LIST}" OR "${SKX_SUITES_EXECUTABLE}" IS_NEWER_THAN "${SKX_SUITES_LIST}")
  execute_process(
    COMMAND ${SKX_SUITES_EMULATOR} "${SKX_SUITES_EXECUTABLE}" --gtest_list_tests
    WORKING_DIRECTORY "${SKX_SUITES_WORKING_DIRECTORY}"
    OUTPUT_VARIABLE listing
    RESULT_VARIABLE result
    TIMEOUT 120)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "listing the tests of ${SKX_SUITES_EXECUTABLE} failed (${result}):\n${listing}")
  endif()
  # A suite's line starts in the first column and ends with its dot (a type or value parameter
  # may follow as a comment); its cases follow indented. Windows programs end lines with CR LF.
  string(REPLACE "\r" "" listing "${listing}")
  string(REPLACE ";" "," listing "${listing}")
  string(REGEX MATCHALL "[^\n]+" lines "${listing}")
  set(suites)
  foreach(line IN LISTS lines)
    if(line MATCHES "^([^ #][^ ]*)\\.( +#.*)?$")
      list(APPEND suites "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(NOT suites)
    message(FATAL_ERROR "${SKX_SUITES_EXECUTABLE} listed no test suite:\n${listing}")
  endif()
  file(WRITE "${SKX_SUITES_LIST}" "${suites}")
endif()

file(READ "${SKX_SUITES_LIST}" suites)
foreach(suite IN LISTS suites)
  add_test("${suite}" ${SKX_SUITES_EMULATOR} "${SKX_SUITES_EXECUTABLE}" "--gtest_filter=${suite}.*")
  set_tests_properties("${suite}" PROPERTIES WORKING_DIRECTORY "${SKX_SUITES_WORKING_DIRECTORY}"
                       ${SKX_SUITES_PROPERTIES})
  # (CTest reads this file without the policies of the project: no IN_LIST.)
  list(FIND SKX_SUITES_WINDOWLESS "${suite}" windowless)
  if(windowless EQUAL -1)
    set_tests_properties("${suite}" PROPERTIES RESOURCE_LOCK screen)
  endif()
  list(FIND SKX_SUITES_RUN_SERIAL "${suite}" serial)
  if(NOT serial EQUAL -1)
    set_tests_properties("${suite}" PROPERTIES RUN_SERIAL ON)
  endif()
endforeach()
