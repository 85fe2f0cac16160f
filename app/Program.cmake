# The program itself: every window of it in one library (the windows of the
# subsystems call each other), the executable on top with the resources.
if(CC_WINDOWS)
  add_library(callsigncheck_gui STATIC
    ${CMAKE_SOURCE_DIR}/app/CallsignCheckApp.cpp
    ${CMAKE_SOURCE_DIR}/app/ProgramObjects.cpp
    ${CMAKE_SOURCE_DIR}/checkwin/CallsignCheckDialog.cpp)
  target_include_directories(callsigncheck_gui PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(callsigncheck_gui PUBLIC framework app_settings)

  add_executable(CallsignCheck WIN32 ${CMAKE_SOURCE_DIR}/app/WinMain.cpp ${CMAKE_SOURCE_DIR}/res/CallsignCheck.rc)
  target_include_directories(CallsignCheck PRIVATE ${CMAKE_SOURCE_DIR}/res)
  # Link the whole library so the program-wide objects are always there.
  target_link_libraries(CallsignCheck PRIVATE -Wl,--whole-archive callsigncheck_gui -Wl,--no-whole-archive
                        framework app_settings app_rules comctl32)
endif()
