# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (posix threads). Libraries are found
# in the MinGW sysroot and in VEXMORO_WINDOWS_PREFIX (the libraries built from Debian's sources),
# which holds static archives only, so that the program needs no DLL of theirs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VEXMORO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VEXMORO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEXMORO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VEXMORO_MINGW}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# Passed on to try_compile projects, which read the toolchain file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VEXMORO_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${VEXMORO_MINGW} ${VEXMORO_WINDOWS_PREFIX})
set(CMAKE_PREFIX_PATH ${VEXMORO_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Debian's MinGW zlib comes with a DLL and its import library beside the static archive.
set(ZLIB_LIBRARY /usr/${VEXMORO_MINGW}/lib/libz.a CACHE FILEPATH "zlib, static")

# pkg-config reads the cross-built libraries' files and nothing of the build machine.
set(ENV{PKG_CONFIG_LIBDIR} ${VEXMORO_WINDOWS_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
