# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads
# variant, which C++ std::thread needs) against the libraries that
# scripts/windows.sh builds into build-win/deps.
#   cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -S . -B build-w64
# WIN_DEPS_PREFIX (cache variable or environment) points elsewhere if wanted.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
# The -posix names are used rather than the alternatives so that the machine's
# default mingw compilers stay as they are.
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_AR ${MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT DEFINED WIN_DEPS_PREFIX)
  if(DEFINED ENV{WIN_DEPS_PREFIX})
    set(WIN_DEPS_PREFIX "$ENV{WIN_DEPS_PREFIX}")
  else()
    get_filename_component(WIN_DEPS_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build-win/deps" ABSOLUTE)
  endif()
endif()
set(WIN_DEPS_PREFIX "${WIN_DEPS_PREFIX}" CACHE PATH "Prefix of the cross-built libraries")
# try_compile projects re-read this file; pass the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES WIN_DEPS_PREFIX)

set(CMAKE_FIND_ROOT_PATH "${WIN_DEPS_PREFIX}" /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libz-mingw-w64-dev also ships an import library, which find_library prefers
# (the Windows platform file puts .dll.a first after this file is read); a
# found libz.dll.a would make the program need zlib1.dll beside it.
set(ZLIB_USE_STATIC_LIBS ON)
set(ZLIB_INCLUDE_DIR /usr/${MINGW_TRIPLE}/include CACHE PATH "")
set(ZLIB_LIBRARY /usr/${MINGW_TRIPLE}/lib/libz.a CACHE FILEPATH "")
set(BUILD_SHARED_LIBS OFF CACHE BOOL "")

# pkg-config must see only the Windows .pc files, never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${WIN_DEPS_PREFIX}/lib/pkgconfig:/usr/${MINGW_TRIPLE}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_EXECUTABLE pkg-config CACHE FILEPATH "")

# One .exe with no runtime DLLs beside it: libgcc, libstdc++ and winpthread
# are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

