# Shared part of the two mingw-w64 toolchains (posix thread model).
set(CMAKE_C_COMPILER ${VOSTREL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VOSTREL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VOSTREL_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${VOSTREL_TRIPLE}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${VOSTREL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test binaries run under Wine through this wrapper (environment, time limit).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
