# 64-bit Windows, for testing only: on a machine that cannot run 32-bit
# programs, 64-bit Wine runs this build's tests. Nothing of it ships (the
# logging library is 32-bit).
set(CC_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
