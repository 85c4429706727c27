# Run after a window test program is built: asks it for its test functions ("-list-tests") and
# writes one CTest test per function to OUTPUT, run on the offscreen platform. Called with PROGRAM,
# OUTPUT, SOURCE_DIR (the source tree, which tests read files from), CACHE_HOME (where the tests'
# record snapshots go) and TIMEOUT.
execute_process(COMMAND ${PROGRAM} -list-tests
  OUTPUT_VARIABLE listing
  RESULT_VARIABLE result
  TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} -list-tests failed: ${result}")
endif()
string(REPLACE "\n" ";" names "${listing}")
set(script "")
foreach(name IN LISTS names)
  if(name STREQUAL "")
    continue()
  endif()
  string(REGEX REPLACE "^[^.]*\\." "" function "${name}")
  string(APPEND script "add_test([=[${name}]=] [=[${PROGRAM}]=] [=[${function}]=])\n"
         "set_tests_properties([=[${name}]=] PROPERTIES ENVIRONMENT "
         "[=[QT_QPA_PLATFORM=offscreen;QTEST_DISABLE_STACK_DUMP=1;PAYLARK_SOURCE_DIR=${SOURCE_DIR};XDG_CACHE_HOME=${CACHE_HOME}]=] "
         "LABELS ui TIMEOUT ${TIMEOUT})\n")
endforeach()
file(WRITE ${OUTPUT} "${script}")
