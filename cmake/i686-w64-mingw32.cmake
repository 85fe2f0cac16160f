# 32-bit Windows: the program and the stand-in kit as they ship.
set(CC_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
