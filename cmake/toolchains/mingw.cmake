# Cross build for Windows with Debian's MinGW-w64 compilers, for the
# processor KORVENA_MINGW_ARCH (x86_64 or i686) that the including file sets.
# The -posix variants carry std::thread and std::mutex, which the driver's
# lock needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KORVENA_MINGW_ARCH})
set(CMAKE_C_COMPILER ${KORVENA_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVENA_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${KORVENA_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_STRIP ${KORVENA_MINGW_ARCH}-w64-mingw32-strip)
set(CMAKE_FIND_ROOT_PATH /usr/${KORVENA_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Nothing beyond Windows itself and KORVENA.DLL: the C and C++ runtimes go
# into each file.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
