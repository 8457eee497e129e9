# Shared part of the two mingw-w64 toolchains. The includer sets TELVO_MINGW_TRIPLE first, and
# TELVO_MINGW_THREADS (posix or win32: the compiler flavour) when not posix.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT TELVO_MINGW_THREADS)
  set(TELVO_MINGW_THREADS posix)
endif()
set(CMAKE_C_COMPILER ${TELVO_MINGW_TRIPLE}-gcc-${TELVO_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${TELVO_MINGW_TRIPLE}-g++-${TELVO_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${TELVO_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TELVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs must start on a bare Windows: no libgcc, libstdc++ or winpthread DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
