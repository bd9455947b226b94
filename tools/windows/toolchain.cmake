# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the *-posix
# compilers: std::thread and std::mutex need winpthreads), against the
# libraries tools/windows/build-deps.sh built into ZELBUN_WIN_PREFIX.
# Programs that run during the build or the tests (the data generator,
# gtest's test discovery, the suite) run under Wine through wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# The prefix reaches try_compile projects, which read this file again,
# through the environment as well as the cache.
if(NOT ZELBUN_WIN_PREFIX AND DEFINED ENV{ZELBUN_WIN_PREFIX})
  set(ZELBUN_WIN_PREFIX $ENV{ZELBUN_WIN_PREFIX})
endif()
if(NOT ZELBUN_WIN_PREFIX)
  message(FATAL_ERROR "ZELBUN_WIN_PREFIX must name the cross prefix (tools/windows/build-deps.sh prints it)")
endif()
set(ZELBUN_WIN_PREFIX ${ZELBUN_WIN_PREFIX} CACHE PATH "Prefix of the Windows libraries")
set(ENV{ZELBUN_WIN_PREFIX} ${ZELBUN_WIN_PREFIX})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZELBUN_WIN_PREFIX)

# Headers and libraries only from the mingw sysroot and the prefix, never
# the host's: glibc's headers would shadow mingw's. Programs (cmake, ca65)
# are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${ZELBUN_WIN_PREFIX})
set(CMAKE_PREFIX_PATH ${ZELBUN_WIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(PKG_CONFIG_EXECUTABLE pkg-config CACHE FILEPATH "pkg-config, reading only the prefix's .pc files")
set(ENV{PKG_CONFIG_LIBDIR} ${ZELBUN_WIN_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Only the SDL libraries travel as DLLs: programs link everything else
# statically, the compiler's runtime and winpthreads included (SDL comes
# in through its import libraries, named by full path). Only -static keeps
# the driver's own -lpthread from reaching for libwinpthread-1.dll without
# pulling all of winpthreads in, whose version resource would clash with
# the program's own. The DLLs carry their runtime inside as well.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
