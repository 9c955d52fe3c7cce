# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads flavour).
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=packaging/windows/mingw-w64-x86_64.cmake \
#         -DORVELLA_WINDOWS_PREFIX=$(bash packaging/windows/deps.sh | tail -n1) ...
#
# The posix flavour is the one whose libstdc++ has std::thread, std::mutex and
# std::condition_variable; the win32 flavour lacks them in GCC 12.
#
# The mingw runtime (libgcc_s_seh-1, libstdc++-6, libwinpthread-1) is linked as
# DLLs, not statically: every Qt DLL and the program then share one C++ runtime,
# so exceptions, std::string and the heap cross DLL boundaries safely. The
# Windows package ships the three DLLs beside the program; under Wine,
# wine-run.sh puts their Debian folders on WINEPATH.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_orvella_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${_orvella_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_orvella_triplet}-g++-posix)
set(CMAKE_RC_COMPILER  ${_orvella_triplet}-windres)
# Named outright: CMake's guess from "...-gcc-posix" would look for "...-ar-posix".
set(CMAKE_AR      /usr/bin/${_orvella_triplet}-ar      CACHE FILEPATH "")
set(CMAKE_RANLIB  /usr/bin/${_orvella_triplet}-ranlib  CACHE FILEPATH "")
set(CMAKE_NM      /usr/bin/${_orvella_triplet}-nm      CACHE FILEPATH "")
set(CMAKE_OBJCOPY /usr/bin/${_orvella_triplet}-objcopy CACHE FILEPATH "")
set(CMAKE_STRIP   /usr/bin/${_orvella_triplet}-strip   CACHE FILEPATH "")

# The prefix that deps.sh filled. Given as -DORVELLA_WINDOWS_PREFIX=... or in the
# environment; handed on through the environment so that try_compile projects,
# which read this file again without the cache, see it too.
if(NOT ORVELLA_WINDOWS_PREFIX AND DEFINED ENV{ORVELLA_WINDOWS_PREFIX})
    set(ORVELLA_WINDOWS_PREFIX "$ENV{ORVELLA_WINDOWS_PREFIX}")
endif()
if(NOT ORVELLA_WINDOWS_PREFIX)
    message(FATAL_ERROR "Set ORVELLA_WINDOWS_PREFIX to the folder printed by packaging/windows/deps.sh")
endif()
set(ORVELLA_WINDOWS_PREFIX "${ORVELLA_WINDOWS_PREFIX}" CACHE PATH "Cross-built Windows libraries (deps.sh)")
set(ENV{ORVELLA_WINDOWS_PREFIX} "${ORVELLA_WINDOWS_PREFIX}")

# Look for libraries, headers and CMake packages only in the prefix and in
# Debian's mingw sysroot (zlib from libz-mingw-w64-dev lives there); programs
# (moc, rcc, uic, pkg-config) are the host's.
set(CMAKE_FIND_ROOT_PATH "${ORVELLA_WINDOWS_PREFIX}" /usr/${_orvella_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_PREFIX_PATH "${ORVELLA_WINDOWS_PREFIX}")

# pkg-config must read the prefix's .pc files and never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "${ORVELLA_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Qt's moc, rcc and uic come from Debian's qt6-base-dev-tools on the host.
if(NOT QT_HOST_PATH)
    set(QT_HOST_PATH /usr CACHE PATH "Host Qt for moc, rcc, uic")
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
endif()

# CTest and add_custom_command run Windows programs under Wine through this.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;--prefix=${ORVELLA_WINDOWS_PREFIX}")

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORVELLA_WINDOWS_PREFIX)
