# CMake toolchain file: 32-bit Windows (i686-w64-mingw32) cross build with Debian 12's MinGW-w64 GCC.
#
# Compiler variant: i686-w64-mingw32-g++-posix (the unsuffixed alternative on Debian points to -win32).
#   - The posix thread model gives std::thread / std::mutex / std::condition_variable; GCC 12's win32
#     model has none of them (only Win32 API threads).
#   - Its libgcc/libstdc++ depend on winpthread, so everything is linked statically (-static): the
#     DLL/EXE then import only system DLLs (KERNEL32, msvcrt, plus USER32/WS2_32 when used), never
#     libgcc_s_dw2-1.dll / libstdc++-6.dll / libwinpthread-1.dll (missing DLL = exit code 53 in Wine).
#   - Override with -DMINGW_THREAD_MODEL=win32 (same imports, no std::thread/std::mutex).
#
# Usage: cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake -B build-win32
# ctest runs the test programs under Wine through scripts/wine/run.sh (CMAKE_CROSSCOMPILING_EMULATOR).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_THREAD_MODEL posix CACHE STRING "MinGW-w64 GCC thread model variant: posix or win32")
set_property(CACHE MINGW_THREAD_MODEL PROPERTY STRINGS posix win32)

set(CMAKE_C_COMPILER   ${MINGW_TRIPLE}-gcc-${MINGW_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-${MINGW_THREAD_MODEL})
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLE}-windres)
set(CMAKE_AR           ${MINGW_TRIPLE}-ar     CACHE FILEPATH "")
set(CMAKE_RANLIB       ${MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

# Look for headers/libraries only in the MinGW sysroot, for programs only on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The oldest Windows the release supports is Vista (6.0): the statically linked
# thread library imports GetTickCount64, which older systems lack. The headers
# hide every later API, so a call that Vista lacks fails to compile, and the PE
# headers say 6.0, so an older system refuses the binaries at once instead of
# failing later on a missing entry point (tests/windows/check_imports.sh).
set(CALLERID_WINDOWS_FLOOR 0x0600)
set(CMAKE_C_FLAGS_INIT   "-D_WIN32_WINNT=${CALLERID_WINDOWS_FLOOR} -DWINVER=${CALLERID_WINDOWS_FLOOR}")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=${CALLERID_WINDOWS_FLOOR} -DWINVER=${CALLERID_WINDOWS_FLOOR}")
set(_floor "-Wl,--major-os-version,6,--minor-os-version,0,--major-subsystem-version,6,--minor-subsystem-version,0")

# Static runtime (libgcc, libstdc++, winpthread). --exclude-all-symbols stops ld's auto-export of
# every global when a DLL has neither a .def file nor a dllexport attribute.
set(_static "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT    "${_static} ${_floor}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_static} ${_floor} -Wl,--exclude-all-symbols")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_static} ${_floor} -Wl,--exclude-all-symbols")

# Let ctest / add_test / gtest_discover_tests run .exe files under Wine.
get_filename_component(_wine_run "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine/run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_wine_run}")
