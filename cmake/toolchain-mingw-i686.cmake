# 32-bit Windows, the shipped program. This machine cannot run 32-bit Windows programs, so the
# build has no emulator and its tests are only compiled.
set(TELVO_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
