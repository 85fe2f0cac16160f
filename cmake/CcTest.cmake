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
