# One CTest test per GoogleTest test suite of a test program: one process runs every case of
# the suite (--gtest_filter=<suite>.*), so a failing test names its suite and GoogleTest's output
# names the case. The suites are listed when CTest starts (the program has to be built by then)
# and listed again only after the program changed.
#
#   skx_add_test_suites(<target>
#     WORKING_DIRECTORY <dir>
#     PROPERTIES <name> <value>...    every suite's test
#     WINDOWLESS <suite>...           suites that show no window; all others hold the screen
#     RUN_SERIAL <suite>...)          suites that run while no other test runs
function(skx_add_test_suites target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "WORKING_DIRECTORY" "PROPERTIES;WINDOWLESS;RUN_SERIAL")
  set(base ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites)
  get_property(multi_config GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
  set(content
    "set(SKX_SUITES_EXECUTABLE [==[$<TARGET_FILE:${target}>]==])\n"
    "set(SKX_SUITES_EMULATOR [==[$<TARGET_PROPERTY:${target},CROSSCOMPILING_EMULATOR>]==])\n"
    "set(SKX_SUITES_WORKING_DIRECTORY [==[${arg_WORKING_DIRECTORY}]==])\n"
    "set(SKX_SUITES_PROPERTIES [==[${arg_PROPERTIES}]==])\n"
    "set(SKX_SUITES_WINDOWLESS [==[${arg_WINDOWLESS}]==])\n"
    "set(SKX_SUITES_RUN_SERIAL [==[${arg_RUN_SERIAL}]==])\n"
    "set(SKX_SUITES_LIST [==[${base}_list$<$<BOOL:${multi_config}>:-$<CONFIG>>.txt]==])\n"
    "include([==[${CMAKE_SOURCE_DIR}/cmake/TestSuitesAtTestTime.cmake]==])\n")
  string(CONCAT content ${content})
  if(multi_config)
    foreach(config ${CMAKE_CONFIGURATION_TYPES})
      file(GENERATE OUTPUT ${base}-${config}.cmake CONTENT "${content}" CONDITION $<CONFIG:${config}>)
    endforeach()
    file(WRITE ${base}.cmake "include([==[${base}-\${CTEST_CONFIGURATION_TYPE}.cmake]==])\n")
  else()
    file(GENERATE OUTPUT ${base}-generated.cmake CONTENT "${content}")
    file(WRITE ${base}.cmake "include([==[${base}-generated.cmake]==])\n")
  endif()
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${base}.cmake)
endfunction()
