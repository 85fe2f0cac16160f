# GUI tests of the award windows under Wine.
if(CC_WINDOWS)
  add_library(award_window_fixture STATIC AwardWindowFixture.cpp)
  target_link_libraries(award_window_fixture PUBLIC gui_driver cc_test_support awards_rules logstore)

  foreach(t award_list_window_tests award_check_dialog_tests)
    if(t STREQUAL award_list_window_tests)
      set(src AwardListWindowFixture.cpp AwardListWindowTests.cpp AwardListFileTests.cpp AwardMapWindowTests.cpp)
    else()
      set(src AjdWajaDialogTests.cpp JccJcgDialogTests.cpp)
    endif()
    cc_add_gtest(NAME ${t} SOURCES ${src} ${CMAKE_SOURCE_DIR}/res/CallsignCheck.rc
      LIBS award_window_fixture gui_driver callsigncheck_program)
    target_include_directories(${t} PRIVATE ${CMAKE_SOURCE_DIR}/res)
    foreach(dep vireon50 vireon-tool)
      if(TARGET ${dep})
        add_dependencies(${t} ${dep})
      endif()
    endforeach()
  endforeach()
  # Sizes, places and column widths at other DPIs.
  cc_add_dpi_tests(award_list_window_tests)
  cc_add_dpi_tests(award_check_dialog_tests FILTER
    "AjdWajaDialogTest.BandsAndModeChooseTheQsosTheListCounts:AjdWajaDialogTest.TheListOpensAtTheMainWindowsPosition")
endif()
