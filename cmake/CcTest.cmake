# cc_add_gtest(NAME <name> SOURCES <files...> [LIBS <libs...>] [TIMEOUT <s>])
# One GoogleTest executable, registered as one CTest test (starting a program
# under Wine costs a second or two, so test cases are not split per CTest test).
# Test executables go to tests/ so that vireon50.dll beside them in bin/ is
# never found by accident: each test copies what it needs into its own folder.
function(cc_add_gtest)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE cc_test_support ${T_LIBS} gtest gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()

# cc_add_dpi_tests(<test> [FILTER <gtest filter>])
# Runs the GUI test executable <test> (or the cases FILTER picks: those that
# check sizes and places) once more at each DPI of CC_TEST_DPIS, as the CTest
# tests <test>_<dpi>dpi, each DPI in a Wine prefix of its own. The base run
# stays at 96 DPI.
set(CC_TEST_DPIS 144 192)
function(cc_add_dpi_tests name)
  cmake_parse_arguments(T "" "FILTER" "" ${ARGN})
  set(args --gtest_brief=1)
  if(T_FILTER)
    list(APPEND args --gtest_filter=${T_FILTER})
  endif()
  foreach(dpi IN LISTS CC_TEST_DPIS)
    add_test(NAME ${name}_${dpi}dpi
      COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh --dpi ${dpi} ${CMAKE_BINARY_DIR}/wineprefix-dpi${dpi}
              $<TARGET_FILE:${name}> ${args})
    # The first test of a fresh prefix makes it (about a minute).
    set_tests_properties(${name}_${dpi}dpi PROPERTIES TIMEOUT 600 LABELS dpi)
  endforeach()
endfunction()
