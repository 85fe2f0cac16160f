# Release packages, made with every Windows build (target "release"):
#   release/CallsignCheck-<version>.zip               CallsignCheck.exe, README.txt (Japanese and
#                                                     English), the user guides as HTML with their
#                                                     screenshots/, LICENSE.txt
#   release/CallsignCheck-standin-kit-<version>.zip   the stand-in library, tool and logger window,
#                                                     README.txt, their documents as HTML, LICENSE.txt
# The executables in both are stripped copies; the HTML pages are made from
# the Markdown of docs/ by pandoc (scripts/setup.sh installs it), links to
# another document's .md turned to its .html.
#
# The project version is the one source of the version. res/version.h and the
# texts of the resources repeat it (a resource compiler cannot compute them);
# configuring stops when any of them tells another version. The READMEs and
# the pages' titles are made with it.
#
# Included by the top-level CMakeLists.txt; also run as a script by the target
# (cmake -DCC_ZIP=... -DCC_DIR=... -DCC_NAMES=a|b/c|... -P Release.cmake) to
# zip exactly the files named, as paths inside the staged folder CC_DIR.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_policy(VERSION 3.25)
  string(REPLACE "|" ";" CC_NAMES "${CC_NAMES}")
  foreach(name IN LISTS CC_NAMES)
    if(NOT EXISTS "${CC_DIR}/${name}")
      message(FATAL_ERROR "release: ${CC_DIR}/${name} is missing")
    endif()
  endforeach()
  file(REMOVE "${CC_ZIP}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${CC_ZIP}" --format=zip -- ${CC_NAMES}
                  WORKING_DIRECTORY "${CC_DIR}" RESULT_VARIABLE failed)
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

# Only the 32-bit build ships: the logging program's library is 32-bit. The
# 64-bit build exists to test on machines that cannot run 32-bit programs.
if(CC_WINDOWS AND CMAKE_SIZEOF_VOID_P EQUAL 4 AND TARGET CallsignCheck AND TARGET vireon50 AND TARGET vireon-tool
   AND TARGET loggerwin)
  find_program(CC_PANDOC pandoc)
  if(NOT CC_PANDOC)
    message(WARNING "pandoc is missing (bash scripts/setup.sh installs it): no release packages")
    return()
  endif()
  set(cc_release ${CMAKE_BINARY_DIR}/release)
  set(cc_docs ${CMAKE_SOURCE_DIR}/docs)

  # cc_release_package(<zip> <stage folder> <README template> <targets to strip>
  #                    <documents as "name.md=page title"...>)
  # Stages README.txt and LICENSE.txt (CRLF line ends, for Notepad), the
  # stripped executables and the HTML pages, then zips them.
  function(cc_release_package zip stage readme targets)
    set(names README.txt LICENSE.txt)
    set(staged ${stage}/README.txt ${stage}/LICENSE.txt)
    configure_file(${readme} ${stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
    configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
    foreach(t IN LISTS targets)
      # (An output may not name a target's file by generator expression.)
      get_target_property(type ${t} TYPE)
      if(type STREQUAL "SHARED_LIBRARY")
        set(name ${t}.dll)
      else()
        set(name ${t}.exe)
      endif()
      add_custom_command(OUTPUT ${stage}/${name}
        COMMAND ${CMAKE_STRIP} --strip-all -o ${stage}/${name} $<TARGET_FILE:${t}>
        DEPENDS ${t} VERBATIM)
      list(APPEND staged ${stage}/${name})
      list(APPEND names ${name})
    endforeach()
    foreach(doc IN LISTS ARGN)
      string(REGEX MATCH "^([^=]+)\\.md=(.*)$" ignored "${doc}")
      set(base ${CMAKE_MATCH_1})
      set(title "${CMAKE_MATCH_2}")
      set(lang en)
      if(base MATCHES "\\.ja$")
        set(lang ja)
      endif()
      add_custom_command(OUTPUT ${stage}/${base}.html
        COMMAND ${CC_PANDOC} --from gfm --to html5 --standalone --quiet
                --lua-filter ${cc_docs}/release/md-links.lua
                --metadata lang=${lang} "--metadata" "pagetitle=${title}"
                -o ${stage}/${base}.html ${cc_docs}/${base}.md
        DEPENDS ${cc_docs}/${base}.md ${cc_docs}/release/md-links.lua VERBATIM)
      list(APPEND staged ${stage}/${base}.html)
      list(APPEND names ${base}.html)
    endforeach()
    # The screenshots beside the pages that show them.
    if(stage MATCHES "/program$")
      file(GLOB pictures RELATIVE ${cc_docs} CONFIGURE_DEPENDS ${cc_docs}/screenshots/*.png)
      foreach(p IN LISTS pictures)
        add_custom_command(OUTPUT ${stage}/${p}
          COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/screenshots
          COMMAND ${CMAKE_COMMAND} -E copy_if_different ${cc_docs}/${p} ${stage}/${p}
          DEPENDS ${cc_docs}/${p} VERBATIM)
        list(APPEND staged ${stage}/${p})
        list(APPEND names ${p})
      endforeach()
    endif()
    string(REPLACE ";" "|" name_list "${names}")
    add_custom_command(OUTPUT ${zip}
      COMMAND ${CMAKE_COMMAND} -DCC_ZIP=${zip} -DCC_DIR=${stage} "-DCC_NAMES=${name_list}"
              -P ${CMAKE_SOURCE_DIR}/cmake/Release.cmake
      DEPENDS ${staged} ${CMAKE_SOURCE_DIR}/cmake/Release.cmake VERBATIM)
  endfunction()

  cc_release_package(${cc_release}/CallsignCheck-${CC_VERSION}.zip ${cc_release}/program
    ${cc_docs}/release/README.txt.in "CallsignCheck"
    "user-guide.ja.md=CallsignCheck ${CC_VERSION} ユーザーガイド"
    "user-guide.en.md=CallsignCheck ${CC_VERSION} user guide")
  cc_release_package(${cc_release}/CallsignCheck-standin-kit-${CC_VERSION}.zip ${cc_release}/kit
    ${cc_docs}/release/README-kit.txt.in "vireon50;vireon-tool;loggerwin"
    "stand-in.md=CallsignCheck ${CC_VERSION} stand-in kit"
    "file-formats.md=CallsignCheck ${CC_VERSION} stand-in kit: file formats")
  add_custom_target(release ALL
    DEPENDS ${cc_release}/CallsignCheck-${CC_VERSION}.zip ${cc_release}/CallsignCheck-standin-kit-${CC_VERSION}.zip)
endif()
