# The program itself, included by the top-level CMakeLists.txt after every
# subsystem folder: the application object and the program-wide objects that
# connect the windows of checkwin/ and awards/ (callsigncheck_gui), and the
# executable over them.
if(CC_WINDOWS)
  add_library(callsigncheck_gui STATIC
    ${CMAKE_SOURCE_DIR}/app/CallsignCheckApp.cpp
    ${CMAKE_SOURCE_DIR}/app/ProgramObjects.cpp)
  target_include_directories(callsigncheck_gui PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(callsigncheck_gui PUBLIC framework app_settings
    $<TARGET_NAME_IF_EXISTS:checkwin_gui> $<TARGET_NAME_IF_EXISTS:awards_gui>)

  # Everything a program (or a GUI test) made of these windows links.
  add_library(callsigncheck_program INTERFACE)
  target_link_libraries(callsigncheck_program INTERFACE callsigncheck_gui comctl32)

  add_executable(CallsignCheck WIN32 ${CMAKE_SOURCE_DIR}/app/WinMain.cpp ${CMAKE_SOURCE_DIR}/res/CallsignCheck.rc)
  target_include_directories(CallsignCheck PRIVATE ${CMAKE_SOURCE_DIR}/res)
  target_link_libraries(CallsignCheck PRIVATE callsigncheck_program)
  # The resource compiler does not report the files a script takes in.
  set_source_files_properties(${CMAKE_SOURCE_DIR}/res/CallsignCheck.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/res/Program.manifest;${CMAKE_SOURCE_DIR}/res/CallsignCheck.ico")
endif()
