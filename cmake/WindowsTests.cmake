# The tests of a cross build for Windows: GoogleTest built from the sources
# Debian ships, and the test programs run under Wine (the emulator of
# cmake/mingw-w64.cmake) in a prefix of the build tree's own. A fixture makes
# the prefix before the first test and stops its server after the last.
set(KELVANE_GOOGLETEST_SOURCE /usr/src/googletest/googletest CACHE PATH
    "GoogleTest sources to build for the target")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${KELVANE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(FATAL_ERROR "The Windows tests need Wine (wine64) to run.")
endif()
find_program(KELVANE_WINESERVER NAMES wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(KELVANE_WINESERVER NAMES wineserver REQUIRED)

set(kelvane_wine_prefix_script ${PROJECT_SOURCE_DIR}/cmake/WinePrefix.cmake)
add_test(NAME wine_prefix_ready
    COMMAND ${CMAKE_COMMAND} -DACTION=create -DPREFIX=${CMAKE_BINARY_DIR}/wine-prefix
        "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}" -DWINESERVER=${KELVANE_WINESERVER}
        -P ${kelvane_wine_prefix_script})
add_test(NAME wine_prefix_stopped
    COMMAND ${CMAKE_COMMAND} -DACTION=stop -DPREFIX=${CMAKE_BINARY_DIR}/wine-prefix
        -DWINESERVER=${KELVANE_WINESERVER} -P ${kelvane_wine_prefix_script})
set_tests_properties(wine_prefix_ready PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 200)
set_tests_properties(wine_prefix_stopped PROPERTIES FIXTURES_CLEANUP wine_prefix TIMEOUT 60)

# kelvane_wine_test(<target>): the whole test program as one test, so that
# Wine starts once per program rather than once per test case.
function(kelvane_wine_test target)
    add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine_prefix TIMEOUT 150)
endfunction()
