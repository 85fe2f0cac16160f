# Release packages, made by the target "release" of the Windows build:
#   release/CallsignCheck-<version>.zip               the program, the user guides with their
#                                                     screenshots/, licence, README
#   release/CallsignCheck-standin-kit-<version>.zip   the stand-in library, tool, logger window and their docs
#
# The project version is the one source of the version. res/version.h and the
# texts of the resources repeat it (a resource compiler cannot compute them);
# configuring stops when any of them tells another version.
#
# Included by the top-level CMakeLists.txt; also run as a script by the target
# (cmake -DCC_ZIP=... -DCC_STAGE=... -DCC_FILES=a|b|... -P Release.cmake) to
# stage the files and zip them.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_policy(VERSION 3.25)
  # Script mode: every file must be there; the zip holds them side by side
  # (a folder with its contents under its own name).
  string(REPLACE "|" ";" CC_FILES "${CC_FILES}")
  file(REMOVE_RECURSE "${CC_STAGE}")
  file(MAKE_DIRECTORY "${CC_STAGE}")
  set(names "")
  foreach(f IN LISTS CC_FILES)
    if(NOT EXISTS "${f}")
      message(FATAL_ERROR "release: ${f} is missing")
    endif()
    get_filename_component(name "${f}" NAME)
    if(name IN_LIST names)
      message(FATAL_ERROR "release: two files named ${name}")
    endif()
    list(APPEND names "${name}")
    file(COPY "${f}" DESTINATION "${CC_STAGE}")
  endforeach()
  file(REMOVE "${CC_ZIP}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${CC_ZIP}" --format=zip -- ${names}
                  WORKING_DIRECTORY "${CC_STAGE}" RESULT_VARIABLE failed)
  if(failed OR NOT EXISTS "${CC_ZIP}")
    message(FATAL_ERROR "release: could not write ${CC_ZIP}")
  endif()
  message(STATUS "release: ${CC_ZIP}")
  return()
endif()

# The version everywhere it is written.
set(CC_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
string(REPLACE "." "\\." cc_version_regex "${CC_VERSION}")
file(READ ${CMAKE_SOURCE_DIR}/res/version.h cc_version_h)
foreach(part MAJOR MINOR PATCH)
  if(NOT cc_version_h MATCHES "#define CC_VERSION_${part} +([0-9]+)")
    message(FATAL_ERROR "res/version.h: no CC_VERSION_${part}")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION_${part})
    message(FATAL_ERROR "res/version.h: CC_VERSION_${part} ${CMAKE_MATCH_1}, project version ${CC_VERSION}")
  endif()
endforeach()
foreach(macro CC_VERSION_TEXT CC_CAPTION)
  if(NOT cc_version_h MATCHES "#define ${macro} +\"([^\"]*)\"")
    message(FATAL_ERROR "res/version.h: no ${macro}")
  endif()
  if(NOT CMAKE_MATCH_1 MATCHES "(^| )${cc_version_regex}$")
    message(FATAL_ERROR "res/version.h: ${macro} \"${CMAKE_MATCH_1}\" is not version ${CC_VERSION}")
  endif()
endforeach()
# The caption and the version box line of the resources, written out there.
file(STRINGS ${CMAKE_SOURCE_DIR}/res/CallsignCheck.rc cc_rc_versions REGEX "\"CallsignCheck Ver ")
if(NOT cc_rc_versions)
  message(FATAL_ERROR "res/CallsignCheck.rc: no \"CallsignCheck Ver\" text")
endif()
foreach(line IN LISTS cc_rc_versions)
  if(NOT line MATCHES "\"CallsignCheck Ver ${cc_version_regex}\"")
    message(FATAL_ERROR "res/CallsignCheck.rc: \"${line}\" is not version ${CC_VERSION}")
  endif()
endforeach()

if(CC_WINDOWS AND TARGET CallsignCheck AND TARGET vireon50 AND TARGET vireon-tool AND TARGET loggerwin)
  set(cc_release ${CMAKE_BINARY_DIR}/release)
  set(cc_zip_program ${cc_release}/CallsignCheck-${CC_VERSION}.zip)
  set(cc_zip_kit ${cc_release}/CallsignCheck-standin-kit-${CC_VERSION}.zip)
  set(cc_program_files
    $<TARGET_FILE:CallsignCheck>
    ${CMAKE_SOURCE_DIR}/docs/user-guide.ja.md
    ${CMAKE_SOURCE_DIR}/docs/user-guide.en.md
    ${CMAKE_SOURCE_DIR}/docs/screenshots
    ${CMAKE_SOURCE_DIR}/LICENSE
    ${CMAKE_SOURCE_DIR}/README.md)
  set(cc_kit_files
    $<TARGET_FILE:vireon50>
    $<TARGET_FILE:vireon-tool>
    $<TARGET_FILE:loggerwin>
    ${CMAKE_SOURCE_DIR}/docs/stand-in.md
    ${CMAKE_SOURCE_DIR}/docs/file-formats.md
    ${CMAKE_SOURCE_DIR}/LICENSE)
  # Handed to the script as one argument, the files parted by "|".
  string(REPLACE ";" "|" cc_program_list "${cc_program_files}")
  string(REPLACE ";" "|" cc_kit_list "${cc_kit_files}")
  add_custom_target(release
    COMMAND ${CMAKE_COMMAND} -DCC_ZIP=${cc_zip_program} -DCC_STAGE=${cc_release}/stage-program
            "-DCC_FILES=${cc_program_list}" -P ${CMAKE_CURRENT_LIST_FILE}
    COMMAND ${CMAKE_COMMAND} -DCC_ZIP=${cc_zip_kit} -DCC_STAGE=${cc_release}/stage-kit
            "-DCC_FILES=${cc_kit_list}" -P ${CMAKE_CURRENT_LIST_FILE}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${cc_release}/stage-program ${cc_release}/stage-kit
    DEPENDS CallsignCheck vireon50 vireon-tool loggerwin
    COMMENT "Release packages in ${cc_release}"
    VERBATIM)
endif()
