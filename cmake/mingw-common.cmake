# Cross-building for Windows with mingw-w64; the including toolchain file sets
# CMAKE_SYSTEM_PROCESSOR (i686 or x86_64), which names the compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(kalmor_mingw ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
# The posix thread model: std::thread and friends need it.
set(CMAKE_C_COMPILER ${kalmor_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${kalmor_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${kalmor_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${kalmor_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
# The programs carry their C++ runtime, so they need no DLL beyond the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
