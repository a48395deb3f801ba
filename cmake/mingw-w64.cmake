# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Debian has no Qt for mingw, so such a build has the engine, kelvane-cli and
# their tests only. The test programs run under Wine, in a prefix of the build
# tree's own (see cmake/WindowsTests.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVANE_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${KELVANE_MINGW_TRIPLET}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KELVANE_MINGW_TRIPLET}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KELVANE_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELVANE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs must start on a machine without the mingw runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libstdc++ -static-libgcc -static")

# Debian installs the 64-bit loader outside PATH.
find_program(KELVANE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(KELVANE_WINE64 NAMES wine64 wine)
if(KELVANE_WINE64)
    # Quiet, no Mono or Gecko installer, no menu entries in the home folder,
    # text in UTF-8 both ways, and a prefix that belongs to this build alone.
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_COMMAND} -E env
            WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix
            WINEDEBUG=-all
            WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d
            LC_ALL=C.UTF-8
            ${KELVANE_WINE64})
endif()
