# 32-bit Windows, the program that ships. It must run on Windows XP SP3: the win32-thread
# flavour of the compiler, whose runtime imports nothing newer than XP (the posix flavour's
# winpthread pulls in GetTickCount64), and a PE header that XP's loader accepts.
set(TELVO_MINGW_TRIPLE i686-w64-mingw32)
set(TELVO_MINGW_THREADS win32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
set(TELVO_WINDOWS_TARGET 0x0501)
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT
       " -Wl,--major-subsystem-version,5 -Wl,--minor-subsystem-version,1"
       " -Wl,--major-os-version,5 -Wl,--minor-os-version,1")
# Under 32-bit Wine (Debian's wine32); the runner refuses when that loader is missing.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh --win32
    ${CMAKE_BINARY_DIR}/wineprefix)
